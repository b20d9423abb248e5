// The word transactions with the SAA713x cards' on-board controller: against the simulated
// controller in the standard layout (Kesh and Qel boards) and the IO layout, the GPIO codes
// they send, the replies they accept, their retries, and the system-wide lock they hold.
#include <gtest/gtest.h>

#include <deque>

#include "support/CardBench.h"
#include "support/RemoteControlHolder.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "cards/saa713x/Saa713xController.h"
#include "platform/runtime.h"

namespace {

using Frames = std::vector<std::tuple<DWORD, DWORD, DWORD>>;  // value, mask, wait

// A standard-layout card whose frames are recorded and whose strobe waits read a script.
class ScriptedCard : public TestCard<CTVCardFilter> {
public:
    ScriptedCard() { Bind(new FakeBoardAccess, ACCESS_KIND_KS_PROPERTY); }
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override {
        frames.emplace_back(value, mask, waitMs);
        return TRUE;
    }
    BOOL WaitReadState(DWORD* word) override {
        if (replies.empty()) return FALSE;
        *word = replies.front();
        replies.pop_front();
        return TRUE;
    }
    BOOL WriteControllerWord(WORD value) override { return Saa713xWriteControllerWord(this, Saa713xStandardLayout(), value); }
    BOOL ReadControllerWord(WORD* value) override { return Saa713xReadControllerWord(this, Saa713xStandardLayout(), value); }
    BOOL ControllerCommand(BOOL on) override { return Saa713xControllerCommand(this, Saa713xStandardLayout(), on); }

    Frames frames;
    std::deque<DWORD> replies;
};

// A card wired in the IO layout, on a board's access object, with the frame of one board type.
class IoLayoutCard : public TestCard<CTVCardFilter> {
public:
    explicit IoLayoutCard(Saa713xIoBoard board) : m_board(board) {}
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override {
        return Saa713xIoSendGPIOCommand(GetAccess(), m_board, value, mask, waitMs);
    }
    BOOL WaitReadState(DWORD* word) override { return Saa713xIoWaitReadState(GetAccess(), word); }
    BOOL GetRemoteData(BYTE* key) override { return Saa713xIoGetRemoteData(GetAccess(), m_board, key); }
    BOOL WriteControllerWord(WORD value) override { return Saa713xWriteControllerWord(this, Saa713xIoLayout(), value); }
    BOOL ReadControllerWord(WORD* value) override { return Saa713xReadControllerWord(this, Saa713xIoLayout(), value); }
    BOOL ControllerCommand(BOOL on) override { return Saa713xControllerCommand(this, Saa713xIoLayout(), on); }

private:
    Saa713xIoBoard m_board;
};

using WordBench = CardBench;

void ExpectWordTransactions(CTVCardFilter& card, hwsim::OnboardController& controller, const char* what) {
    controller.ClearLog();
    EXPECT_TRUE(card.WriteControllerWord(0x1234)) << what;
    EXPECT_EQ(0x1234, controller.TimerWord()) << what;
    EXPECT_EQ((std::vector<std::string>{"write high 0x12", "write low 0x34", "read high", "read low"}),
              controller.Log())
        << what;
    controller.SetTimerWord(0xBEEF);
    WORD value = 0;
    EXPECT_TRUE(card.ReadControllerWord(&value)) << what;
    EXPECT_EQ(0xBEEF, value) << what;
    EXPECT_TRUE(card.ControllerCommand(TRUE)) << what;
    EXPECT_TRUE(controller.TimerOn()) << what;
    EXPECT_TRUE(card.ControllerCommand(FALSE)) << what;
    EXPECT_FALSE(controller.TimerOn()) << what;
    EXPECT_EQ(0, controller.Refusals()) << what;
}

TEST_F(WordBench, StandardLayoutTransactionsOnTheKeshAndQelBoards) {
    CTVCardFilter* kesh = OpenCard(KeshBoard());
    CTVCardFilter* qel = OpenCard(QelBoard());
    ASSERT_TRUE(kesh && qel);
    ASSERT_EQ(S_OK, qel->SetAudioSource(2, TRUE));  // the frames keep the audio lines
    ExpectWordTransactions(*kesh, KeshBoard().Controller(), "Kesh");
    ExpectWordTransactions(*qel, QelBoard().Controller(), "Qel");
    EXPECT_EQ(2u, QelBoard().Controller().AudioLines() & 3);
}

TEST_F(WordBench, IoLayoutTransactionsKeysAndAudioLines) {
    QelBoard().RefitController(hwsim::IoPinLayout());
    IoLayoutCard tvio(Saa713xIoBoard::TvIo);
    tvio.Bind(NewAccess(QelBoard()), ACCESS_KIND_KS_PROPERTY);
    ExpectWordTransactions(tvio, QelBoard().Controller(), "TV_IO");
    QelBoard().Controller().PressKey(0x3C);
    BYTE key = 0;
    ASSERT_TRUE(tvio.GetRemoteData(&key));
    EXPECT_EQ(0x3C, key);

    // The PIP board's controller watches the audio lines: its frames must keep them.
    hwsim::ControllerPinLayout pipLines = hwsim::IoPinLayout();
    pipLines.audioLines = 0x7000;
    QelBoard().RefitController(pipLines);
    IoLayoutCard pip(Saa713xIoBoard::Pip);
    pip.Bind(NewAccess(QelBoard()), ACCESS_KIND_KS_PROPERTY);
    ASSERT_EQ(S_OK, pip.SetAudioSource(1, TRUE));
    ExpectWordTransactions(pip, QelBoard().Controller(), "PIP");
    EXPECT_EQ(1u, QelBoard().Controller().AudioLines() & 3);
    QelBoard().RefitController(hwsim::StandardPinLayout());
}

TEST(Saa713xWords, ControllerByteMapOfTheIoLayout) {
    EXPECT_EQ(0xEF80000u, MapControllerByte(0xFF, TRUE));
    EXPECT_EQ(0xFFu, MapControllerByte(0xEF80000, FALSE));
    for (DWORD b = 0; b < 256; ++b) EXPECT_EQ(b, MapControllerByte(MapControllerByte(b, TRUE), FALSE));
    EXPECT_EQ(0u, MapControllerByte(0x100, TRUE));          // only the byte passes
    EXPECT_EQ(0u, MapControllerByte(0x1000000, FALSE));     // bit 24 carries nothing
    EXPECT_EQ(0u, MapControllerByte(0xF007FFFF, FALSE));
}

TEST(Saa713xWords, StandardCodesOfAWriteAndItsReadBack) {
    ScriptedCard card;
    card.replies = {0x80012, 0x100034};
    EXPECT_TRUE(card.WriteControllerWord(0x1234));
    const Frames expected = {
        {0x80012, 0x1801FF, 10}, {0x100034, 0x1801FF, 5}, {0x180001, 0x1801FF, 10}, {0x180010, 0x1801FF, 10}};
    EXPECT_EQ(expected, card.frames);
}

TEST(Saa713xWords, CommandReplyNeedsStrobeAndPhaseLinesLowAndIsRetried) {
    ScriptedCard card;
    card.replies = {0x1000CA, 0x0000CA};
    const ULONGLONG start = platform::ClockNow();
    EXPECT_TRUE(card.ControllerCommand(TRUE));
    EXPECT_EQ(2u, card.frames.size());
    EXPECT_EQ(0x180033u, std::get<0>(card.frames[0]));
    EXPECT_GE(platform::ClockNow() - start, 100u);  // the pause after the refused reply

    ScriptedCard off;
    off.replies = {0xCA, 0xCA, 0xCA, 0xCA, 0xCA};  // the "on" reply to "off", five times
    EXPECT_FALSE(off.ControllerCommand(FALSE));
    EXPECT_EQ(5u, off.frames.size());
    EXPECT_EQ(0x180011u, std::get<0>(off.frames[0]));
}

TEST(Saa713xWords, AReplyInTheWrongPhaseFailsTheReadAndTheWriteTriesAgain) {
    ScriptedCard read;
    read.replies = {0x100012};  // the low-byte phase for the high byte
    WORD value = 0xFFFF;
    EXPECT_FALSE(read.ReadControllerWord(&value));
    EXPECT_EQ(0, value);
    EXPECT_EQ(1u, read.frames.size());

    ScriptedCard write;
    write.replies = {0x100012, 0x80012, 0x100034};
    EXPECT_TRUE(write.WriteControllerWord(0x1234));
    EXPECT_EQ(7u, write.frames.size());  // high, low, read-high; high, low, read-high, read-low
    EXPECT_EQ(0x80012u, std::get<0>(write.frames[3]));
}

TEST_F(WordBench, SilentControllerFailsEveryTransactionAfterItsAttempts) {
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    QelBoard().Controller().SetSilent(true);
    WORD value = 0x5555;
    ULONGLONG start = platform::ClockNow();
    EXPECT_FALSE(card->ReadControllerWord(&value));
    EXPECT_EQ(0, value);
    EXPECT_GE(platform::ClockNow() - start, 500u);

    start = platform::ClockNow();
    EXPECT_FALSE(card->ControllerCommand(TRUE));
    EXPECT_GE(platform::ClockNow() - start, 5 * 600u);
    start = platform::ClockNow();
    EXPECT_FALSE(card->WriteControllerWord(0x0102));
    EXPECT_GE(platform::ClockNow() - start, 5 * 900u);

    TestCard<CQelCardFilter> bare;
    EXPECT_FALSE(bare.WriteControllerWord(1));
    EXPECT_FALSE(bare.ReadControllerWord(&value));
    EXPECT_FALSE(bare.ControllerCommand(TRUE));
    EXPECT_FALSE(bare.ReadControllerWord(nullptr));
}

// Another holder of "Mutex_Remote_Control" (another card object, another process) keeps the
// transactions off the lines.
TEST_F(WordBench, TransactionsWaitForTheRemoteControlMutexAndGiveUpWithoutTouchingTheLines) {
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    RemoteControlHolder holder;
    ASSERT_TRUE(holder.Held());
    Driver(QelBoard()).Log().Clear();
    WORD value = 0;
    EXPECT_FALSE(card->WriteControllerWord(0x1234));
    EXPECT_FALSE(card->ReadControllerWord(&value));
    EXPECT_FALSE(card->ControllerCommand(TRUE));
    EXPECT_EQ(0u, Driver(QelBoard()).Log().Size());
    EXPECT_TRUE(QelBoard().Controller().Log().empty());
    holder.Release();

    EXPECT_TRUE(card->WriteControllerWord(0x1234));
}

}  // namespace
