// A bench card: its EEPROM kept in the bench state, unplugging, the video status and several
// threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "support/BenchFixture.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/chips/PllTuner.h"
#include "platform/TestThread.h"
#include "platform/durablefile.h"

namespace hwsim {
namespace {

constexpr const char* kTwoCards = R"({"cards": [
    {"kind": "713x BDA Analog Capture", "tuner": 95, "eeprom": {"hex": "11 22 33"}},
    {"kind": "713x_4 TV Card Capture", "tuner": 5}],
  "stations": [{"kHz": 49750}]})";

class CardTest : public BenchFixture {
protected:
    static I2CResult WriteByte(Card& card, BYTE offset, BYTE value) { return card.Bus().WriteSub(0xA0, offset, &value, 1); }
};

TEST_F(CardTest, EepromWrittenInOneRunIsThereAtTheNext) {
    std::string stateFile;
    {
        auto bench = Bench::FromText(kTwoCards);
        Card& card = *bench->Cards()[0];
        stateFile = card.StateFile();
        EXPECT_EQ((dir / "state" / "eeprom" / "713x_BDA_Analog_Capture-0.bin").string(), stateFile);
        EXPECT_FALSE(std::filesystem::exists(stateFile));  // nothing written yet
        std::mutex lock;
        std::vector<std::string> calls;
        platform::RecordFileCalls([&](const std::string& call) {
            std::lock_guard<std::mutex> guard(lock);
            calls.push_back(call);
        });
        ASSERT_EQ(I2CResult::Ack, WriteByte(card, 0x41, 0x5A));
        ASSERT_EQ(I2CResult::Ack, WriteByte(card, 0x42, 0x5B));
        EXPECT_TRUE(card.StateKept());
        platform::RecordFileCalls(nullptr);
        // Made whole beside its place, synced, renamed in; each later store synced in its place.
        ASSERT_EQ(calls.size(), 5u);
        const std::string made = calls[0].substr(6);
        EXPECT_EQ(made.rfind(stateFile + ".", 0), 0u) << made;
        EXPECT_EQ(calls, (std::vector<std::string>{"write " + made, "sync " + made, "rename " + made + " " + stateFile,
                                                   "sync-folder " + (dir / "state" / "eeprom").string(),
                                                   "sync " + stateFile}));
        // Written through: the file has the whole chip at once.
        auto bytes = ReadBytes(stateFile);
        ASSERT_EQ(256u, bytes.size());
        EXPECT_EQ(0x11, bytes[0]);
        EXPECT_EQ(0x5A, bytes[0x41]);
        ASSERT_EQ(I2CResult::Ack, WriteByte(card, 0xFF, 0x01));
        EXPECT_EQ(0x01, ReadBytes(stateFile)[0xFF]);
        EXPECT_FALSE(std::filesystem::exists(Bench::StateFileFor(bench->Cards()[1]->Kind(), 0)));
    }
    auto bench = Bench::FromText(kTwoCards);
    Card& card = *bench->Cards()[0];
    BYTE value = 0;
    ASSERT_EQ(I2CResult::Ack, card.Bus().ReadSub(0xA0, 0x41, &value, 1));
    EXPECT_EQ(0x5A, value);
    EXPECT_EQ(0x01, card.Eeprom().Peek(0xFF));
    EXPECT_EQ(0x11, card.Eeprom().Peek(0));
    // The other card still starts from the bench.
    EXPECT_EQ(std::vector<BYTE>(256, 0xFF), bench->Cards()[1]->Eeprom().Contents());
}

TEST_F(CardTest, StateFileThatIsNoImageIsRefused) {
    const auto* kind = FindCardKind("713x BDA Analog Capture");
    std::filesystem::create_directories(dir / "state" / "eeprom");
    std::ofstream(Bench::StateFileFor(*kind, 0), std::ios::binary) << "short";
    try {
        Bench::FromText(kTwoCards);
        FAIL() << "a 5-byte state file was taken for an EEPROM";
    } catch (const BenchError& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("holds 5 bytes")) << error.what();
    }
}

TEST_F(CardTest, UnplugRunsEveryHookOnceAndTellsLateComersAtOnce) {
    auto bench = Bench::FromText(kTwoCards);
    Card& card = *bench->Cards()[0];
    int first = 0, removed = 0, late = 0;
    card.OnUnplug([&] { ++first; });
    const int id = card.OnUnplug([&] { ++removed; });
    card.RemoveUnplugHook(id);
    card.Unplug();
    card.Unplug();
    EXPECT_FALSE(card.IsPlugged());
    EXPECT_TRUE(bench->Cards()[1]->IsPlugged());
    EXPECT_EQ(1, first);
    EXPECT_EQ(0, removed);
    card.OnUnplug([&] { ++late; });
    EXPECT_EQ(1, late);
}

TEST_F(CardTest, VideoStatusFollowsTheTunerOntoAStation) {
    auto bench = Bench::FromText(kTwoCards);
    Card& card = *bench->Cards()[1];  // tuner 5: PLL at 0xC0
    EXPECT_EQ(0u, card.Bridge().Read(Saa713x::kVideoStatus) & 1);
    const WORD n = WORD((38900 + 49750) * 16 / 1000);
    const BYTE program[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x01};
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC0, program, 4));
    EXPECT_EQ(1u, card.Bridge().Read(Saa713x::kVideoStatus) & 1);
    bench->Rf().RemoveStation(49750);
    EXPECT_EQ(0u, card.Bridge().Read(Saa713x::kVideoStatus) & 1);
}

TEST_F(CardTest, ChipsOfARoleCanBeRefitted) {
    auto bench = Bench::FromText(kTwoCards);
    Card& card = *bench->Cards()[0];
    PllTuner::Options options;
    options.address7 = 0x63;
    card.AddChip("tuner", std::make_unique<PllTuner>(card.Rf(), options));
    EXPECT_EQ(nullptr, card.Bus().DeviceAt(0x61));
    EXPECT_EQ(card.Chip("tuner"), card.Bus().DeviceAt(0x63));
    card.RemoveChip("tuner");
    EXPECT_EQ(nullptr, card.Chip("tuner"));
    EXPECT_EQ(nullptr, card.Bus().DeviceAt(0x63));
}

TEST_F(CardTest, SeveralThreadsUseOneCardAtOnce) {
    auto bench = Bench::FromText(kTwoCards);
    Card& card = *bench->Cards()[0];
    std::atomic<bool> writing{true};
    platform::test::TestThread writer([&] {
        for (int offset = 0; offset < 256; ++offset) ASSERT_EQ(I2CResult::Ack, WriteByte(card, BYTE(offset), BYTE(255 - offset)));
        writing = false;
    });
    platform::test::TestThread reader([&] {
        while (writing) {
            BYTE block[8];
            ASSERT_EQ(I2CResult::Ack, card.Bus().ReadSub(0xA0, 0x80, block, 8));
        }
    });
    platform::test::TestThread tuner([&] {
        const BYTE program[4] = {0x05, 0x8A, 0xCE, 0x01};
        const BYTE openGate[2] = {0x21, 0xC0};  // the model-95 tuner sits behind the TDA8290's gate
        ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0x96, openGate, 2));
        while (writing) {
            ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC2, program, 4));
            BYTE status = 0;
            ASSERT_EQ(I2CResult::Ack, card.Bus().ReadRaw(0xC3, &status, 1));
            card.Bridge().Read(Saa713x::kVideoStatus);
        }
    });
    platform::test::TestThread gpio([&] {
        for (DWORD i = 0; writing; ++i) {
            card.Bridge().Write(Saa713x::kGpioMode, 0x3000);
            card.Bridge().Write(Saa713x::kGpioMode, 0x80003000);
            card.Bridge().Write(Saa713x::kGpioStatus, (i & 3) << 12);
            card.Bridge().Read(Saa713x::kGpioStatus);
        }
    });
    platform::test::TestThread unplugWatcher([&] { card.OnUnplug([] {}); });
    writer.Join();
    reader.Join();
    tuner.Join();
    gpio.Join();
    unplugWatcher.Join();
    for (int offset = 0; offset < 256; ++offset) ASSERT_EQ(BYTE(255 - offset), card.Eeprom().Peek(offset));
    auto bytes = ReadBytes(card.StateFile());
    ASSERT_EQ(256u, bytes.size());
    for (int offset = 0; offset < 256; ++offset) ASSERT_EQ(BYTE(255 - offset), bytes[offset]);
}

}  // namespace
}  // namespace hwsim
