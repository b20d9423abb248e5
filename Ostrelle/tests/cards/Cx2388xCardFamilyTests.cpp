// The CX2388x card family on an access object with a scripted GPIO word: the low-bit keys of the
// first card, the controller members' key collection and its limit, their word transactions in
// the CX2388x layout (the words sent, the answers accepted), the audio switch and the lock
// policy of "Mutex_Remote_Control".
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "cards/cx2388x/23881BootCardFilter.h"
#include "cards/cx2388x/23881CardFilter.h"
#include "cards/cx2388x/23881OgmundCardFilter.h"
#include "cards/cx2388x/Cx2388xController.h"
#include "cards/cx2388x/TV2388xCardFilter.h"
#include "cards/cx2388x/YelvinCardFilter.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/RemoteControlHolder.h"

namespace {

using Writes = std::vector<std::pair<DWORD, DWORD>>;  // value, mask

constexpr DWORD kIdle = 0x8600;
constexpr DWORD kCommandMask = 0xFF8600;

// Scripts one controller answer: the word while the strobe is low, then the same word with the
// strobe high.
void Answer(FakeBoardAccess& access, DWORD word) {
    access.script.emplace_back(S_OK, word);
    access.script.emplace_back(S_OK, word | 0x800);
}

// The three words of one framed command.
Writes Framed(DWORD command) { return {{kIdle, kIdle}, {command, kCommandMask}, {kIdle, kIdle}}; }

Writes Join(std::initializer_list<Writes> parts) {
    Writes all;
    for (const Writes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

BOOL RemoteControlFree() {
    CNameMutex mutex(kRemoteControlMutex, FALSE);
    if (!mutex.Lock()) return FALSE;
    mutex.Unlock();
    return TRUE;
}

TEST(Cx2388xLowBitKeys, ComplementWithSwappedNibblesWhileBit8IsLowAndNoDebounce) {
    FakeBoardCard<C23881CardFilter> board(ACCESS_KIND_TUNER_GPIO);
    BYTE key = 0x55;
    board.access->gpio = 0x012;
    EXPECT_TRUE(board.card.GetRemoteData(&key));
    EXPECT_EQ(0xDE, key);
    // Every poll that sees bit 8 low is a key of its own.
    EXPECT_TRUE(board.card.GetRemoteData(&key));
    EXPECT_EQ(0xDE, key);
    board.access->gpio = 0x1FF;
    key = 0x55;
    EXPECT_FALSE(board.card.GetRemoteData(&key));
    EXPECT_EQ(0x55, key);
    board.access->script.emplace_back(E_FAIL, 0x012);
    EXPECT_FALSE(board.card.GetRemoteData(&key));
}

TEST(Cx2388xControllerKeys, TheLastWordOfTheKeyStateGivesTheKey) {
    FakeBoardCard<C23881BootCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    for (int i = 0; i < 3; ++i) board.access->script.emplace_back(S_OK, 0x00FE0600);
    board.access->script.emplace_back(S_OK, 0x00FE0E00);
    BYTE key = 0;
    EXPECT_TRUE(board.card.GetRemoteData(&key));
    EXPECT_EQ(0x01, key);
    // No key state: no key, the byte untouched.
    board.access->gpio = 0x00FE0E00;
    key = 0x77;
    EXPECT_FALSE(board.card.GetRemoteData(&key));
    EXPECT_EQ(0x77, key);
}

TEST(Cx2388xControllerKeys, CollectionEndsAtTheWaitLimitOfTheTracedMembersAndAtASecondOnTheBootCard) {
    FakeBoardCard<C23881OgmundCardFilter> traced(ACCESS_KIND_TUNER_GPIO);
    EXPECT_EQ(500, traced.card.GetRemoteWaitLimit());
    traced.card.SetRemoteWaitLimit(200);
    traced.card.SetRemoteWaitLimit(0);
    traced.card.SetRemoteWaitLimit(-5);
    EXPECT_EQ(200, traced.card.GetRemoteWaitLimit());
    traced.access->gpio = 0x00FE0600;  // a key state that never ends
    BYTE key = 0;
    ULONGLONG start = platform::ClockNow();
    EXPECT_TRUE(traced.card.GetRemoteData(&key));
    ULONGLONG took = platform::ClockNow() - start;
    EXPECT_EQ(0x01, key);
    EXPECT_GE(took, 200u);
    EXPECT_LT(took, 300u);

    FakeBoardCard<C23881BootCardFilter> boot(ACCESS_KIND_TUNER_GPIO);
    boot.access->gpio = 0x00FE0600;
    start = platform::ClockNow();
    EXPECT_TRUE(boot.card.GetRemoteData(&key));
    took = platform::ClockNow() - start;
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 1100u);
}

// The data byte travels in bits 16-23 both ways: 0x1234 goes out as 0x12 and 0x34 there, and
// the answers' other bits (phase, strobe) do not reach the byte read back.
TEST(Cx2388xControllerWords, WriteSendsBothBytesFramedByIdleWordsAndSucceedsOnTheReadBack) {
    FakeBoardCard<CYelvinCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    Answer(*board.access, 0x00120400);
    Answer(*board.access, 0x00340200);
    EXPECT_TRUE(board.card.WriteControllerWord(0x1234));
    EXPECT_EQ(Join({Framed(0x120400), Framed(0x340200), Framed(0x010600), Framed(0x100600)}), board.access->gpioWrites);

    // A read-back that differs is a failed attempt; a silent controller fails the others.
    FakeBoardCard<CTV2388xCardFilter> other(ACCESS_KIND_TUNER_GPIO);
    other.access->gpio = 0x800;
    Answer(*other.access, 0x00120400);
    Answer(*other.access, 0x00350200);
    EXPECT_FALSE(other.card.WriteControllerWord(0x1234));
    // First attempt: two written bytes and two asked; then four attempts whose first question
    // stays unanswered.
    EXPECT_EQ(4u * 3 + 4 * (3 * 3), other.access->gpioWrites.size());
}

TEST(Cx2388xControllerWords, AHighByteAnswerInTheLowPhaseFailsAtOnce) {
    FakeBoardCard<C23881OgmundCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    Answer(*board.access, 0x00120200);
    WORD value = 0xFFFF;
    EXPECT_FALSE(board.card.ReadControllerWord(&value));
    EXPECT_EQ(0, value);
    EXPECT_EQ(Framed(0x010600), board.access->gpioWrites);

    Answer(*board.access, 0x00BE0400);
    Answer(*board.access, 0x00EF0200);
    EXPECT_TRUE(board.card.ReadControllerWord(&value));
    EXPECT_EQ(0xBEEF, value);
}

TEST(Cx2388xControllerWords, CommandComparesOnlyTheDataByteOfTheReply) {
    FakeBoardCard<C23881BootCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    Answer(*board.access, 0x00CA0600);
    EXPECT_TRUE(board.card.ControllerCommand(TRUE));
    Answer(*board.access, 0x00CA0000);
    EXPECT_TRUE(board.card.ControllerCommand(TRUE));
    EXPECT_EQ(Join({Framed(0x330600), Framed(0x330600)}), board.access->gpioWrites);
    board.access->gpioWrites.clear();
    Answer(*board.access, 0x00BA0600);
    EXPECT_TRUE(board.card.ControllerCommand(FALSE));
    EXPECT_EQ(Framed(0x110600), board.access->gpioWrites);
}

TEST(Cx2388xControllerWords, ASilentControllerEndsTheStrobeWaitAfter500Ms) {
    FakeBoardCard<C23881OgmundCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    board.access->gpio = 0x800;
    DWORD word = 0x1234;
    const ULONGLONG start = platform::ClockNow();
    EXPECT_FALSE(board.card.WaitReadState(&word));
    const ULONGLONG took = platform::ClockNow() - start;
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 520u);
    EXPECT_EQ(0u, word);

    // The Ex form waits for the state it is given.
    board.access->script.emplace_back(S_OK, 0x00AA0400);
    board.access->script.emplace_back(S_OK, 0x00BB0400);
    board.access->script.emplace_back(S_OK, 0x00BB0600);
    EXPECT_TRUE(board.card.WaitReadStateEx(&word, 0xE00, 0x400));
    EXPECT_EQ(0x00BB0400u, word);
}

TEST(Cx2388xControllerLock, WordOperationsGoOnWithoutTheMutexAndLeaveTheHoldersLockAlone) {
    FakeBoardCard<C23881OgmundCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    {
        RemoteControlHolder other;
        Answer(*board.access, 0x00CA0600);
        EXPECT_TRUE(board.card.ControllerCommand(TRUE));
        Answer(*board.access, 0x00120400);
        Answer(*board.access, 0x00340200);
        EXPECT_TRUE(board.card.WriteControllerWord(0x1234));
        Answer(*board.access, 0x00120400);
        Answer(*board.access, 0x00340200);
        WORD value = 0;
        EXPECT_TRUE(board.card.ReadControllerWord(&value));
        EXPECT_EQ(0x1234, value);
        // Still the other holder's: nobody released what it did not obtain.
        EXPECT_FALSE(RemoteControlFree());

        // The audio switch does not touch the lines without the mutex.
        board.access->gpioWrites.clear();
        const int reads = board.access->gpioReads;
        EXPECT_EQ(E_FAIL, board.card.SetAudioSource(1, TRUE));
        EXPECT_TRUE(board.access->gpioWrites.empty());
        EXPECT_EQ(reads, board.access->gpioReads);
    }
    EXPECT_TRUE(RemoteControlFree());
}

TEST(Cx2388xAudioSource, SourceLinesKeepBit14AndAFailedReadWritesNothing) {
    FakeBoardCard<CTV2388xCardFilter> board(ACCESS_KIND_TUNER_GPIO);
    board.access->gpio = 0x00007000;
    EXPECT_EQ(S_OK, board.card.SetAudioSource(1, TRUE));
    EXPECT_EQ((Writes{{0x00005000, 0x7000}}), board.access->gpioWrites);
    const struct {
        DWORD word;
        int source;
        BOOL on;
        DWORD written;
    } kCases[] = {
        {0x00007000, 0, TRUE, 0x4000}, {0x00000000, 2, TRUE, 0x2000}, {0x00001000, 3, TRUE, 0x1000},
        {0x00000000, 1, FALSE, 0x3000},
    };
    for (const auto& c : kCases) {
        board.access->gpio = c.word;
        board.access->gpioWrites.clear();
        EXPECT_EQ(S_OK, board.card.SetAudioSource(c.source, c.on));
        EXPECT_EQ((Writes{{c.written, 0x7000}}), board.access->gpioWrites) << c.source << " " << c.on;
    }

    FakeBoardCard<C23881CardFilter> first(ACCESS_KIND_TUNER_GPIO);
    first.access->script.emplace_back(E_ACCESSDENIED, 0);
    EXPECT_EQ(E_ACCESSDENIED, first.card.SetAudioSource(1, TRUE));
    EXPECT_TRUE(first.access->gpioWrites.empty());

    // Without an access object: E_POINTER, and the controller member gave the mutex back.
    TestCard<C23881CardFilter> bareFirst;
    EXPECT_EQ(E_POINTER, bareFirst.SetAudioSource(0, TRUE));
    TestCard<CYelvinCardFilter> bare;
    EXPECT_EQ(E_POINTER, bare.SetAudioSource(0, TRUE));
    EXPECT_TRUE(RemoteControlFree());
}

}  // namespace
