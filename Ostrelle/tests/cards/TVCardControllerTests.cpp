// The base protocol with the on-board controller: remote keys read by each card class from the
// simulated controller, the key frame's edge cases, the remote thread posting keys to a window,
// and the audio-source switches.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/CardBench.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "platform/runtime.h"

namespace {

using ControllerBench = CardBench;

bool WireHas(hwsim::KsDriver& driver, const std::string& text) {
    const auto lines = driver.Log().Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

TEST_F(ControllerBench, EachCardClassReadsAKeyPressedOnItsBoard) {
    struct Case {
        CTVCardFilter* card;
        hwsim::Card* board;
        BYTE key;
    };
    for (const Case& c : {Case{OpenCard(KeshBoard()), &KeshBoard(), 0x01}, Case{OpenCard(QelBoard()), &QelBoard(), 0x5C}}) {
        ASSERT_NE(nullptr, c.card);
        BYTE key = 0xEE;
        EXPECT_FALSE(c.card->GetRemoteData(&key)) << c.board->FriendlyName();
        EXPECT_EQ(0xEE, key);
        c.board->Controller().PressKey(c.key);
        ASSERT_TRUE(c.card->GetRemoteData(&key)) << c.board->FriendlyName();
        EXPECT_EQ(c.key, key);
        EXPECT_EQ(0u, c.board->Controller().PendingKeys());
        EXPECT_FALSE(c.card->GetRemoteData(&key));
    }
    // The Kesh card latches the inputs with lines 12 to 17 driven.
    EXPECT_TRUE(WireHas(Driver(KeshBoard()), "reg 1B0 write 8003F000"));
}

TEST(CardRemoteKey, KeyIsTheInverseOfTheLastWordInTheKeyState) {
    FakeBoardCard<> fake;
    fake.access->script = {{S_OK, 0x1800FE}, {S_OK, 0x1800FE}, {S_OK, 0x1C0000}};
    BYTE key = 0;
    ASSERT_TRUE(fake.card.GetRemoteData(&key));
    EXPECT_EQ(0x01, key);
    EXPECT_EQ(3, fake.access->gpioReads);

    // A key word, then one whose read fails: the last word read in the key state counts.
    fake.access->script = {{S_OK, 0x1800F0}, {S_OK, 0x1800FA}, {E_FAIL, 0}};
    ASSERT_TRUE(fake.card.GetRemoteData(&key));
    EXPECT_EQ(0x05, key);
}

TEST(CardRemoteKey, NoKeyUnlessTheStateLinesReadKeyAndTheStrobeIsLow) {
    for (DWORD word : {0x80000u, 0x1C00FEu, 0x100000u, 0u}) {
        FakeBoardCard<> fake;
        fake.access->script = {{S_OK, word}};
        BYTE key = 0xEE;
        EXPECT_FALSE(fake.card.GetRemoteData(&key)) << std::hex << word;
        EXPECT_EQ(0xEE, key);
        EXPECT_EQ(1, fake.access->gpioReads);
    }
    FakeBoardCard<> failing;
    failing.access->script = {{E_FAIL, 0x1800FE}};
    BYTE key = 0xEE;
    EXPECT_FALSE(failing.card.GetRemoteData(&key));
    EXPECT_FALSE(failing.card.GetRemoteData(nullptr));
    TestCard<CTVCardFilter> bare;
    EXPECT_FALSE(bare.GetRemoteData(&key));
}

TEST(CardRemoteKey, AKeyStateThatNeverEndsIsCutAfterASecond) {
    FakeBoardCard<> fake;
    fake.access->gpio = 0x1800AA;
    const ULONGLONG start = platform::ClockNow();
    BYTE key = 0;
    ASSERT_TRUE(fake.card.GetRemoteData(&key));
    EXPECT_EQ(0x55, key);
    const ULONGLONG took = platform::ClockNow() - start;
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 1100u);
}

TEST_F(ControllerBench, RemoteThreadPostsEveryKeyToTheNotifyWindow) {
    const int threadsBefore = platform::LiveThreadCount();
    for (hwsim::Card* board : {&KeshBoard(), &QelBoard()}) {
        CTVCardFilter* card = OpenCard(*board);
        ASSERT_NE(nullptr, card);
        KeyWindow window;
        card->SetNotifyWindow(window.Window());
        ASSERT_TRUE(card->StartRemoteThread());
        board->Controller().PressKey(0x05);
        board->Controller().PressKey(0x42);
        board->Controller().PressKey(0x00);
        EXPECT_EQ((std::vector<WPARAM>{0x05, 0x42, 0x00}), window.WaitForKeys(3, 5000)) << board->FriendlyName();
        card->StopRemoteThread();
    }
    EXPECT_EQ(threadsBefore, platform::LiveThreadCount());
}

// The remote thread calls the card class's own GetRemoteData: each class stops it before its
// own part goes. Polled every millisecond on the real clock, the destructions meet polls (the
// thread-sanitizer build reports a poll that reaches a card being destroyed).
TEST_F(ControllerBench, DestroyingACardWhileItsRemoteThreadPollsStopsTheThreadFirst) {
    const int threadsBefore = platform::LiveThreadCount();
    platform::UseVirtualClock(false);
    for (int round = 0; round < 8; ++round) {
        for (hwsim::Card* board : {&KeshBoard(), &QelBoard()}) {
            CTVCardFilter* card = OpenCard(*board);
            ASSERT_NE(nullptr, card);
            KeyWindow window;
            card->SetNotifyWindow(window.Window());
            ASSERT_TRUE(card->SetRemotePeriod(1));
            ASSERT_TRUE(card->StartRemoteThread());
            board->Controller().PressKey(0x21);
            EXPECT_EQ((std::vector<WPARAM>{0x21}), window.WaitForKeys(1, 2000)) << board->FriendlyName();
            Graph().RemoveFilter(card);
            EXPECT_EQ(threadsBefore, platform::LiveThreadCount()) << board->FriendlyName();
        }
    }
    platform::UseVirtualClock(true);
}

TEST_F(ControllerBench, RemoteThreadWithoutWindowOrAccessPostsNothing) {
    KeyWindow window;
    {
        auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);  // no notify window
        QelBoard().Controller().PressKey(0x07);
        ASSERT_TRUE(card->StartRemoteThread());
        Sleep(500);
        card->StopRemoteThread();
        EXPECT_EQ(1u, QelBoard().Controller().PendingKeys());
    }
    TestCard<CQelCardFilter> bare;  // no access object
    bare.SetNotifyWindow(window.Window());
    ASSERT_TRUE(bare.StartRemoteThread());
    EXPECT_TRUE(window.WaitForKeys(1, 500).empty());
    bare.StopRemoteThread();
}

TEST_F(ControllerBench, RemotePeriodChangesTheIntervalFromTheNextWaitOn) {
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    EXPECT_FALSE(card->SetRemotePeriod(0));
    EXPECT_EQ(100, card->GetRemotePeriod());
    KeyWindow window;
    card->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card->StartRemoteThread());
    auto nextKeyAfter = [&](BYTE code) {
        const ULONGLONG pressed = platform::ClockNow();
        QelBoard().Controller().PressKey(code);
        EXPECT_EQ((std::vector<WPARAM>{code}), window.WaitForKeys(1, 5000));
        return platform::ClockNow() - pressed;
    };
    EXPECT_LE(nextKeyAfter(1), 110u);
    EXPECT_TRUE(card->SetRemotePeriod(250));
    EXPECT_EQ(250, card->GetRemotePeriod());
    nextKeyAfter(2);  // the wait under way may still be the old one
    const ULONGLONG third = nextKeyAfter(3);
    EXPECT_GE(third, 200u);
    EXPECT_LE(third, 260u);
    card->StopRemoteThread();
}

TEST_F(ControllerBench, AudioSourceSwitchesTheBoardsAudioLines) {
    for (auto [card, board] : {std::pair<CTVCardFilter*, hwsim::Card*>{OpenCard(KeshBoard()), &KeshBoard()},
                               std::pair<CTVCardFilter*, hwsim::Card*>{OpenCard(QelBoard()), &QelBoard()}}) {
        ASSERT_NE(nullptr, card);
        hwsim::OnboardController& controller = board->Controller();
        EXPECT_EQ(S_OK, card->SetAudioSource(2, TRUE));
        EXPECT_EQ(2u, controller.AudioLines() & 3);
        EXPECT_EQ(S_OK, card->SetAudioSource(1, TRUE));
        EXPECT_EQ(1u, controller.AudioLines() & 3);
        EXPECT_EQ(S_OK, card->SetAudioSource(5, TRUE));  // no such source: unchanged
        EXPECT_EQ(1u, controller.AudioLines() & 3);
        EXPECT_EQ(S_OK, card->SetAudioSource(0, FALSE));  // mute
        EXPECT_EQ(3u, controller.AudioLines() & 3);
        EXPECT_EQ(S_OK, card->SetAudioSource(0, TRUE));
        EXPECT_EQ(0u, controller.AudioLines() & 3);
        EXPECT_EQ(0, controller.Refusals());
    }
}

TEST(CardAudioSource, FourSourceFormSetsTheMuteBitOrTheSource) {
    struct Case {
        int source;
        BOOL on;
        DWORD before, written;
    };
    const Case cases[] = {
        {1, FALSE, 0x1000, 0x5000}, {3, TRUE, 0x4000, 0x3000}, {2, TRUE, 0x7000, 0x2000}, {7, TRUE, 0x3000, 0x0000},
    };
    for (const Case& c : cases) {
        FakeBoardCard<> fake;
        fake.access->gpio = c.before | 0x180100;
        EXPECT_EQ(S_OK, fake.card.SetAudioSource4(c.source, c.on));
        ASSERT_EQ(1u, fake.access->gpioWrites.size());
        EXPECT_EQ(c.written, fake.access->gpioWrites[0].first & 0x7000) << c.source;
        EXPECT_EQ(0x7000u, fake.access->gpioWrites[0].second);
    }
}

TEST(CardAudioSource, AFailedReadEndsTheSwitchWithItsFailureAndWritesNothing) {
    for (bool four : {false, true}) {
        FakeBoardCard<> fake;
        fake.access->script = {{HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), 0}};
        const HRESULT hr = four ? fake.card.SetAudioSource4(1, TRUE) : fake.card.SetAudioSource(1, TRUE);
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), hr) << four;
        EXPECT_TRUE(fake.access->gpioWrites.empty()) << four;
    }
    TestCard<CTVCardFilter> bare;
    EXPECT_EQ(E_POINTER, bare.SetAudioSource(1, TRUE));
    EXPECT_EQ(E_POINTER, bare.SetAudioSource4(1, TRUE));
}

TEST_F(ControllerBench, StrobeThatNeverComesEndsTheWaitAfterHalfASecond) {
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    QelBoard().Controller().SetSilent(true);
    DWORD word = 0xEE;
    const ULONGLONG start = platform::ClockNow();
    EXPECT_FALSE(card->WaitReadState(&word));
    EXPECT_GE(platform::ClockNow() - start, 500u);
    EXPECT_EQ(0u, word);

    TestCard<CTVCardFilter> bare;
    word = 0xEE;
    EXPECT_FALSE(bare.WaitReadState(&word));
    EXPECT_EQ(0u, word);
    EXPECT_FALSE(bare.SendGPIOCommand(0x180033, 0x1801FF, 10));
}

TEST(CardCommandFrame, IdleCommandIdleKeepsTheAudioBits) {
    FakeBoardCard<> fake;
    fake.access->gpio = 0x1C2100;  // audio bits 12-14: 0x2000
    ASSERT_TRUE(fake.card.SendGPIOCommand(0x187012, 0x1801FF, 10));
    const std::vector<std::pair<DWORD, DWORD>> expected = {
        {0x182100, 0x187100}, {0x182012, 0x1871FF}, {0x182100, 0x187100}};
    EXPECT_EQ(expected, fake.access->gpioWrites);
}

}  // namespace
