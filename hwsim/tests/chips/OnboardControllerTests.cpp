// The on-board controller on the SAA713x GPIO lines: timer word frames, answers, remote keys,
// the audio lines, both pin layouts, and the frames it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BenchFixture.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/chips/OnboardController.h"
#include "platform/runtime.h"
#include "platform/winbase.h"

namespace hwsim {
namespace {

// The register sequences of the SAA713x drivers' GPIO requests: a read raises the sampling
// strobe with the audio lines driven (lines 12-13, or 12-14 on the property-set driver); a write
// drives the masked lines, strobes, sets the levels, holds, and lets go of all but lines 12-13.
class Host {
public:
    Host(Saa713x& bridge, DWORD readLines) : m_bridge(bridge), m_readLines(readLines) {}

    DWORD Read() {
        m_bridge.Write(Saa713x::kGpioMode, 0x3000);
        m_bridge.Write(Saa713x::kGpioMode, Saa713x::kGpioStrobe | m_readLines);
        return m_bridge.Read(Saa713x::kGpioStatus);
    }
    void Write(DWORD value, DWORD mask, DWORD waitMs = 0) {
        m_bridge.Write(Saa713x::kGpioMode, mask);
        m_bridge.Write(Saa713x::kGpioMode, mask | Saa713x::kGpioStrobe);
        m_bridge.Write(Saa713x::kGpioStatus, value);
        if (waitMs) Sleep(waitMs);
        m_bridge.Write(Saa713x::kGpioMode, 0x80003000);
    }
    // Standard layout: idle word, command word (audio lines kept), idle word.
    void StandardFrame(DWORD word, DWORD waitMs = 10) {
        const DWORD keep = Read() & 0x7000;
        Write(keep | 0x180100, 0x187100);
        Write((word & ~0x7000u) | keep, 0x1801FF | 0x7000, waitMs);
        Write(keep | 0x180100, 0x187100);
    }
    // IO layout: idle word, command word, idle word.
    void IoFrame(DWORD word, DWORD waitMs = 10) {
        Write(0x8600, 0x8600);
        Write(word, 0xEF88600, waitMs);
        Write(0x8600, 0x8600);
    }

private:
    Saa713x& m_bridge;
    DWORD m_readLines;
};

constexpr DWORD kStandardState = 0x1C0000;
constexpr DWORD kIoState = 0xE00;

class ControllerTest : public testing::Test {
protected:
    Saa713x bridge;
    OnboardController controller{bridge, StandardPinLayout()};
    Host host{bridge, 0x7000};
};

TEST_F(ControllerTest, TakesTheTimerWordFromAHighAndALowByteFrame) {
    host.StandardFrame(0x80012, 10);
    host.StandardFrame(0x100034, 5);
    EXPECT_EQ(0x1234, controller.TimerWord());
    EXPECT_EQ((std::vector<std::string>{"write high 0x12", "write low 0x34"}), controller.Log());
    EXPECT_EQ(0, controller.Refusals());
}

TEST_F(ControllerTest, AnswersAReadInItsPhaseWithTheStrobeLowForTwoSamples) {
    controller.SetTimerWord(0xABCD);
    host.StandardFrame(0x180001);
    for (int i = 0; i < OnboardController::kAnswerSamples; ++i) {
        const DWORD word = host.Read();
        EXPECT_EQ(0x80000u, word & kStandardState) << "sample " << i;
        EXPECT_EQ(0xABu, word & 0xFF);
    }
    EXPECT_EQ(kStandardState, host.Read() & kStandardState);  // strobe up again, idle

    host.StandardFrame(0x180010);
    const DWORD low = host.Read();
    EXPECT_EQ(0x100000u, low & kStandardState);
    EXPECT_EQ(0xCDu, low & 0xFF);
}

TEST_F(ControllerTest, AnswersOnAndOffWithPhaseAndStrobeLinesLow) {
    host.StandardFrame(0x180033);
    EXPECT_EQ(0xCAu, host.Read() & 0x1C00FF);
    EXPECT_TRUE(controller.TimerOn());
    host.Read();
    host.Read();
    host.StandardFrame(0x180011);
    EXPECT_EQ(0xBAu, host.Read() & 0x1C00FF);
    EXPECT_FALSE(controller.TimerOn());
}

TEST_F(ControllerTest, RefusesFramesThatBreakTheProtocolAndAnswersNone) {
    struct Case {
        const char* what;
        void (*send)(Host& host);
    };
    const Case cases[] = {
        {"no idle word before the command",
         [](Host& h) {
             h.Write(0x180001, 0x1871FF, 10);
             h.Write(0x180100, 0x187100);
         }},
        {"command held 0 ms", [](Host& h) { h.StandardFrame(0x180001, 0); }},
        {"audio lines changed by the command",
         [](Host& h) {
             h.Write(0x180100, 0x187100);
             h.Write(0x182001, 0x1871FF, 10);
             h.Write(0x180100, 0x187100);
         }},
        {"unknown command", [](Host& h) { h.StandardFrame(0x180055); }},
        {"low byte without high byte", [](Host& h) { h.StandardFrame(0x100034); }},
        {"no phase", [](Host& h) { h.StandardFrame(0x000001); }},
    };
    for (const Case& c : cases) {
        Saa713x lines;
        OnboardController fresh(lines, StandardPinLayout());
        fresh.SetTimerWord(0x5555);
        Host h(lines, 0x7000);
        c.send(h);
        EXPECT_GE(fresh.Refusals(), 1) << c.what;
        EXPECT_EQ(kStandardState, h.Read() & kStandardState) << c.what << ": answered";
        EXPECT_EQ(0x5555, fresh.TimerWord()) << c.what;
    }
}

TEST_F(ControllerTest, PresentsEachKeyInvertedInTheCommandPhaseForThreeSamples) {
    controller.PressKey(0x01);
    controller.PressKey(0x42);
    EXPECT_EQ(2u, controller.PendingKeys());
    for (BYTE key : {BYTE(0x01), BYTE(0x42)}) {
        for (int i = 0; i < OnboardController::kKeySamples; ++i) {
            const DWORD word = host.Read();
            EXPECT_EQ(0x180000u, word & kStandardState);
            EXPECT_EQ(static_cast<BYTE>(~key), word & 0xFF);
        }
        EXPECT_EQ(kStandardState, host.Read() & kStandardState);  // the key ends
    }
    EXPECT_EQ(0u, controller.PendingKeys());
    EXPECT_EQ(kStandardState, host.Read() & kStandardState);
}

TEST_F(ControllerTest, ACommandTakesTheLinesFromAKeyWhichComesBackAfterTheAnswer) {
    controller.SetTimerWord(0x7700);
    controller.PressKey(0x09);
    EXPECT_EQ(0x180000u, host.Read() & kStandardState);  // the key is showing
    host.StandardFrame(0x180001);
    const DWORD answer = host.Read();
    EXPECT_EQ(0x80000u, answer & kStandardState);
    EXPECT_EQ(0x77u, answer & 0xFF);
    host.Read();
    EXPECT_EQ(kStandardState, host.Read() & kStandardState);
    const DWORD key = host.Read();
    EXPECT_EQ(0x180000u, key & kStandardState);
    EXPECT_EQ(0xF6u, key & 0xFF);
}

TEST_F(ControllerTest, AudioLinesFollowWhatTheHostDrives) {
    host.Write(0x2000, 0x3000);
    EXPECT_EQ(2u, controller.AudioLines());
    host.Write(0x3000, 0x3000);
    EXPECT_EQ(3u, controller.AudioLines());
    // A frame keeps them.
    host.StandardFrame(0x180033);
    EXPECT_EQ(3u, controller.AudioLines());
    EXPECT_EQ(0, controller.Refusals());
}

TEST_F(ControllerTest, SilentControllerTakesAndShowsNothing) {
    controller.SetSilent(true);
    controller.PressKey(0x01);
    host.StandardFrame(0x180033);
    EXPECT_FALSE(controller.TimerOn());
    EXPECT_EQ(kStandardState, host.Read() & kStandardState);
    EXPECT_TRUE(controller.Log().empty());
}

TEST(ControllerIoLayout, MapsTheDataBitsAroundLine24) {
    const ControllerPinLayout& io = IoPinLayout();
    EXPECT_EQ(0xEF80000u, io.ToLines(0xFF));
    EXPECT_EQ(0xFF, io.FromLines(0xEF80000));
    EXPECT_EQ(0x80000u, io.ToLines(0x01));
    EXPECT_EQ(0x800000u, io.ToLines(0x10));
    EXPECT_EQ(0x2980000u, io.ToLines(0x33));
    EXPECT_EQ(0x880000u, io.ToLines(0x11));
    for (int b = 0; b < 256; ++b) EXPECT_EQ(b, io.FromLines(io.ToLines(static_cast<BYTE>(b))));
    EXPECT_EQ(0, io.FromLines(0x1000000));  // line 24 carries nothing
}

TEST(ControllerIoLayout, TakesWordsAnswersAndShowsKeysOnTheIoLines) {
    Saa713x bridge;
    OnboardController controller(bridge, IoPinLayout());
    Host host(bridge, 0x7000);
    const ControllerPinLayout& io = IoPinLayout();

    host.IoFrame(io.ToLines(0x12) | 0x400);
    host.IoFrame(io.ToLines(0x34) | 0x200);
    EXPECT_EQ(0x1234, controller.TimerWord());

    host.IoFrame(0x80600);  // read high
    DWORD word = host.Read();
    EXPECT_EQ(0x400u, word & kIoState);
    EXPECT_EQ(0x12, io.FromLines(word));
    host.Read();
    EXPECT_EQ(kIoState, host.Read() & kIoState);

    host.IoFrame(0x2980600);  // on
    EXPECT_EQ(0xCA, io.FromLines(host.Read() & 0xEF80600));
    EXPECT_TRUE(controller.TimerOn());
    host.Read();
    host.Read();

    controller.PressKey(0x05);
    word = host.Read();
    EXPECT_EQ(0x600u, word & kIoState);
    EXPECT_EQ(0x05, static_cast<BYTE>(~io.FromLines(word)));
    EXPECT_EQ(0, controller.Refusals());
    EXPECT_EQ(0u, controller.AudioLines());
}

class ControllerBenchTest : public BenchFixture {};

TEST_F(ControllerBenchTest, BenchPressesItsKeysWhenTheCardIsPlugged) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "keys": [1, 2, 3]}]})");
    Card& card = *bench->Cards()[0];
    EXPECT_EQ(3u, card.Controller().PendingKeys());
    EXPECT_STREQ("standard", card.Controller().Layout().name);
    card.RefitController(IoPinLayout());
    EXPECT_STREQ("IO", card.Controller().Layout().name);
    EXPECT_EQ(0u, card.Controller().PendingKeys());

    auto deaf = Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "keys": [1], "remoteFault": "noKeys"}]})");
    EXPECT_EQ(0u, deaf->Cards()[0]->Controller().PendingKeys()) << "a deaf receiver";
    EXPECT_THROW(Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "remoteFault": "x"}]})"), BenchError);
    EXPECT_THROW(Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "keys": [256]}]})"), BenchError);
    EXPECT_THROW(Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "keys": 1}]})"), BenchError);
}

// Nobody presses the remote of a simulated bench: with "keysRepeatMs" the keys come round again
// once the last was taken and the pause has passed, so a host that listens late hears them all.
TEST_F(ControllerBenchTest, RepeatedKeysComeRoundAgainAfterThePause) {
    auto bench = Bench::FromText(
        R"({"cards": [{"kind": "713x_4 TV Card Capture", "keys": [1, 2], "keysRepeatMs": 1000}]})");
    Card& card = *bench->Cards()[0];
    Host host{card.Bridge(), 0x7000};
    Host* listening = &host;
    // The keys each host sample shows (0 for none), until `samples` samples have passed.
    auto keysSeen = [&listening](int samples) {
        std::vector<BYTE> seen;
        for (int i = 0; i < samples; ++i) {
            const DWORD word = listening->Read();
            const BYTE key = (word & kStandardState) == kStandardState ? 0 : static_cast<BYTE>(~word & 0xFF);
            if (seen.empty() || seen.back() != key) seen.push_back(key);
        }
        return seen;
    };
    EXPECT_EQ(keysSeen(9), (std::vector<BYTE>{1, 0, 2, 0}));
    platform::AdvanceClock(999);
    EXPECT_EQ(keysSeen(3), (std::vector<BYTE>{0})) << "not before the pause has passed";
    platform::AdvanceClock(1);
    EXPECT_EQ(keysSeen(9), (std::vector<BYTE>{1, 0, 2, 0}));

    card.RepeatKeys({}, 0);
    platform::AdvanceClock(5000);
    EXPECT_EQ(keysSeen(3), (std::vector<BYTE>{0})) << "the rounds stopped";

    EXPECT_THROW(Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "keysRepeatMs": 500}]})"),
                 BenchError);
    // A stuck receiver hears every key as the first one it heard.
    auto stuck = Bench::FromText(
        R"({"cards": [{"kind": "713x_4 TV Card Capture", "keys": [1, 2], "keysRepeatMs": 1000, "remoteFault": "stuckKey"}]})");
    Host stuckHost{stuck->Cards()[0]->Bridge(), 0x7000};
    listening = &stuckHost;
    EXPECT_EQ(keysSeen(9), (std::vector<BYTE>{1, 0, 1, 0}));
}

}  // namespace
}  // namespace hwsim
