// The CX2388x card family on its simulated boards, end to end (card class -> access object on
// the tuner device -> the driver that keeps GPIO -> the bridge's lines and the chips): every
// class opened through the graph, its whole EEPROM, its crossbar's routes, remote keys through
// the remote thread from each board's controller or key presenter, the controller's word
// transactions and audio lines, and a board without its tuner device.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "access/KsGpioAccess.h"
#include "cards/cx2388x/23881BootCardFilter.h"
#include "cards/cx2388x/23881CardFilter.h"
#include "cards/cx2388x/23881OgmundCardFilter.h"
#include "cards/cx2388x/TV2388xCardFilter.h"
#include "cards/cx2388x/YelvinCardFilter.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/CardKindsBench.h"
#include "support/HolderProcess.h"

namespace {

struct ClassRow {
    const std::type_info& card;
    const std::type_info& crossbar;
    const char* crossbarName;
    const std::type_info& access;
};

const std::map<std::string, ClassRow>& Rows() {
    static const std::map<std::string, ClassRow> rows = {
        {C23881CardFilter::kCaptureName,
         {typeid(C23881CardFilter), typeid(C23881CrossbarFilter), C23881CrossbarFilter::kCrossbarName,
          typeid(CKsGpioAccess)}},
        {C23881BootCardFilter::kCaptureName,
         {typeid(C23881BootCardFilter), typeid(C23881BootCrossbarFilter), C23881BootCrossbarFilter::kCrossbarName,
          typeid(CKsGpioAccess2388x)}},
        {C23881OgmundCardFilter::kCaptureName,
         {typeid(C23881OgmundCardFilter), typeid(C23881OgmundCrossbarFilter),
          C23881OgmundCrossbarFilter::kCrossbarName, typeid(CKsGpioAccess2388x)}},
        {CYelvinCardFilter::kCaptureName,
         {typeid(CYelvinCardFilter), typeid(CYelvinCrossbarFilter), CYelvinCrossbarFilter::kCrossbarName,
          typeid(CKsGpioAccess2388x)}},
        {CTV2388xCardFilter::kCaptureName,
         {typeid(CTV2388xCardFilter), typeid(CTV2388xCrossbarFilter), CTV2388xCrossbarFilter::kCrossbarName,
          typeid(CKsGpioAccess2388x)}},
    };
    return rows;
}

const std::vector<std::string>& Cx2388xKinds() {
    static const std::vector<std::string> kinds = {
        C23881CardFilter::kCaptureName, C23881BootCardFilter::kCaptureName, C23881OgmundCardFilter::kCaptureName,
        CYelvinCardFilter::kCaptureName, CTV2388xCardFilter::kCaptureName,
    };
    return kinds;
}

// The controller members' boards (all but the first).
constexpr size_t kFirstControllerBoard = 1;

class Cx2388xOnBoards : public CardBench {
protected:
    void SetUp() override { Load(FamilyBench(Cx2388xKinds()).c_str()); }

    CCx2388xControllerCardFilter* OpenControllerCard(size_t index) {
        return dynamic_cast<CCx2388xControllerCardFilter*>(OpenCard(Board(index)));
    }
};

long RoutedTo(CCrossbarFilter& crossbar, long output) {
    CComPtr<IAMCrossbar> control;
    EXPECT_EQ(S_OK, crossbar.GetFilter()->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&control)));
    long input = -2;
    if (control) control->get_IsRoutedTo(output, &input);
    return input;
}

TEST_F(Cx2388xOnBoards, EveryClassOpensWithItsAccessOnTheTunerDeviceWritesItsEepromAndRoutesItsSources) {
    for (size_t i = 0; i < Cx2388xKinds().size(); ++i) {
        hwsim::Card& board = Board(i);
        const std::string name = board.FriendlyName();
        const ClassRow& row = Rows().at(name);
        CTVCardFilter* card = OpenCard(board);
        ASSERT_NE(nullptr, card) << name;
        EXPECT_EQ(row.card, typeid(*card)) << name;
        ASSERT_NE(nullptr, card->GetAccess()) << name;
        EXPECT_EQ(row.access, typeid(*card->GetAccess())) << name;
        EXPECT_EQ(ACCESS_KIND_TUNER_GPIO, card->GetAccessKind()) << name;
        EXPECT_STREQ(board.Kind().tunerName, card->GetTunerName()) << name;
        // The capture filter publishes no property set: every request went to the tuner device.
        Driver(board).Log().Clear();
        ExpectWholeEepromThroughTheCard(*card, board, name);
        EXPECT_FALSE(Driver(board).Log().Lines().empty()) << name;

        auto* crossbar = dynamic_cast<CCrossbarFilter*>(
            Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, row.crossbarName, "Xbar", 0, 0));
        ASSERT_NE(nullptr, crossbar) << row.crossbarName;
        EXPECT_EQ(row.crossbar, typeid(*crossbar)) << name;
        const long video[] = {1, 2, 0};
        const long audio[] = {4, 5, 6};
        for (int source = 0; source < 3; ++source) {
            EXPECT_TRUE(crossbar->SetVideoInput(source)) << name << " " << source;
            EXPECT_TRUE(crossbar->SetAudioInput(source)) << name << " " << source;
            EXPECT_EQ(video[source], RoutedTo(*crossbar, 0)) << name << " " << source;
            EXPECT_EQ(audio[source], RoutedTo(*crossbar, 1)) << name << " " << source;
        }
        Graph().RemoveFilter(crossbar);
        Graph().RemoveFilter(card);
    }
}

TEST_F(Cx2388xOnBoards, RemoteKeysReachTheWindowFromEachBoard) {
    const int threadsBefore = platform::LiveThreadCount();
    for (size_t i = 0; i < Cx2388xKinds().size(); ++i) {
        hwsim::Card& board = Board(i);
        const std::string name = board.FriendlyName();
        CTVCardFilter* card = OpenCard(board);
        ASSERT_NE(nullptr, card) << name;
        KeyWindow window;
        card->SetNotifyWindow(window.Window());
        board.PressKey(0x21);
        board.PressKey(0xC4);
        ASSERT_TRUE(card->StartRemoteThread()) << name;
        EXPECT_EQ((std::vector<WPARAM>{0x21, 0xC4}), window.WaitForKeys(2, 3000)) << name;
        // Each press gives one key.
        EXPECT_TRUE(window.WaitForKeys(1, 500).empty()) << name;
        card->StopRemoteThread();
        Graph().RemoveFilter(card);
    }
    EXPECT_EQ(threadsBefore, platform::LiveThreadCount());
}

TEST_F(Cx2388xOnBoards, ControllerMembersWriteReadAndSwitchTheControllerOnTheirBoards) {
    for (size_t i = kFirstControllerBoard; i < Cx2388xKinds().size(); ++i) {
        hwsim::Card& board = Board(i);
        const std::string name = board.FriendlyName();
        hwsim::OnboardController& controller = board.Controller();
        CCx2388xControllerCardFilter* card = OpenControllerCard(i);
        ASSERT_NE(nullptr, card) << name;

        EXPECT_EQ(S_OK, card->SetAudioSource(2, TRUE)) << name;
        EXPECT_EQ(2u, controller.AudioLines()) << name;
        controller.ClearLog();
        EXPECT_TRUE(card->WriteControllerWord(0x1234)) << name;
        EXPECT_EQ(0x1234, controller.TimerWord()) << name;
        EXPECT_EQ((std::vector<std::string>{"write high 0x12", "write low 0x34", "read high", "read low"}),
                  controller.Log())
            << name;
        controller.SetTimerWord(0xBEEF);
        WORD value = 0;
        EXPECT_TRUE(card->ReadControllerWord(&value)) << name;
        EXPECT_EQ(0xBEEF, value) << name;
        EXPECT_TRUE(card->ControllerCommand(TRUE)) << name;
        EXPECT_TRUE(controller.TimerOn()) << name;
        EXPECT_TRUE(card->ControllerCommand(FALSE)) << name;
        EXPECT_FALSE(controller.TimerOn()) << name;
        // The frames kept the audio lines; off sets bits 12 and 13, bit 14 stays.
        EXPECT_EQ(2u, controller.AudioLines()) << name;
        EXPECT_EQ(0, controller.Refusals()) << name;
        EXPECT_EQ(S_OK, card->SetAudioSource(0, FALSE)) << name;
        EXPECT_EQ(3u, controller.AudioLines()) << name;
        Graph().RemoveFilter(card);
    }
}

TEST_F(Cx2388xOnBoards, SilentControllerFailsTheTransactionsAfterTheStrobeWait) {
    hwsim::Card& board = Board(kFirstControllerBoard + 2);
    CCx2388xControllerCardFilter* card = OpenControllerCard(kFirstControllerBoard + 2);
    ASSERT_NE(nullptr, card);
    board.Controller().SetSilent(true);
    DWORD word = 0x1234;
    ULONGLONG start = platform::ClockNow();
    EXPECT_FALSE(card->WaitReadState(&word));
    ULONGLONG took = platform::ClockNow() - start;
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 600u);
    WORD value = 0x5555;
    start = platform::ClockNow();
    EXPECT_FALSE(card->ReadControllerWord(&value));
    took = platform::ClockNow() - start;
    EXPECT_EQ(0, value);
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 700u);
    BYTE key = 0x77;
    board.Controller().PressKey(0x01);
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_EQ(0x77, key);
}

// The wait for another process's hold runs in real time: one second for the command, one for
// the word write (once, not again at its read-back), one for the check that the other process
// still holds the name.
TEST_F(Cx2388xOnBoards, CommandGoesOnWhileAnotherProcessHoldsTheRemoteControlMutexAndLeavesItHeld) {
    hwsim::Card& board = Board(kFirstControllerBoard);
    CCx2388xControllerCardFilter* card = OpenControllerCard(kFirstControllerBoard);
    ASSERT_NE(nullptr, card);
    HolderProcess holder(false);
    ASSERT_EQ("ready", holder.Answer());
    EXPECT_TRUE(card->ControllerCommand(TRUE));
    EXPECT_TRUE(board.Controller().TimerOn());
    const ULONGLONG start = platform::ClockNow();
    EXPECT_TRUE(card->WriteControllerWord(0x1234));
    const ULONGLONG took = platform::ClockNow() - start;
    EXPECT_EQ(0x1234, board.Controller().TimerWord());
    // One second's wait, 200 ms after each byte, 100 ms between the read-back's bytes.
    EXPECT_GE(took, 1500u);
    EXPECT_LT(took, 2000u);
    CNameMutex mutex(kRemoteControlMutex, FALSE);
    EXPECT_FALSE(mutex.Lock());
    EXPECT_EQ(0, holder.Release());
    ASSERT_TRUE(mutex.Lock());
    EXPECT_TRUE(mutex.Unlock());
}

TEST_F(Cx2388xOnBoards, TwoBoardsOfOneKindEachWriteAndReadBackTheirOwnEeprom) {
    for (const std::string& kind : {std::string(CYelvinCardFilter::kCaptureName), std::string(C23881CardFilter::kCaptureName)}) {
        SCOPED_TRACE(kind);
        Load(FamilyBench({kind, kind}).c_str());
        CTVCardFilter* cards[2] = {OpenCard(Board(0), 0), OpenCard(Board(1), 1)};
        ASSERT_NE(nullptr, cards[0]);
        ASSERT_NE(nullptr, cards[1]);
        std::vector<BYTE> images[2] = {std::vector<BYTE>(256), std::vector<BYTE>(256)};
        for (int board = 0; board < 2; ++board) {
            for (int i = 0; i < 256; ++i) images[board][i] = static_cast<BYTE>(i * 7 + 3 + board * 101);
            int count = 256;
            EXPECT_EQ(S_OK, cards[board]->WriteEeprom(images[board].data(), 0, &count, 0)) << board;
        }
        for (int board = 0; board < 2; ++board) {
            EXPECT_EQ(images[board], Board(board).Eeprom().Contents()) << board;
            std::vector<BYTE> back(256);
            int count = 256;
            EXPECT_EQ(S_OK, cards[board]->ReadEeprom(back.data(), 0, &count)) << board;
            EXPECT_EQ(images[board], back) << board;
        }
        Graph().RemoveFilter(cards[1]);
        Graph().RemoveFilter(cards[0]);
    }
}

TEST_F(Cx2388xOnBoards, TunerDeviceIsFoundUnderANumberedNameAndItsAbsenceOrAnotherNameGivesAnInvalidCard) {
    std::string numbered = FamilyBench({CYelvinCardFilter::kCaptureName});
    numbered.replace(numbered.find("\"tuner\""), 0, "\"tunerDevice\": \"Yelvin Tuner (1)\", ");
    Load(numbered.c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    ExpectWholeEepromThroughTheCard(*card, Board(0), "Yelvin Tuner (1)");
    Graph().RemoveFilter(card);

    std::string renamed = FamilyBench({CYelvinCardFilter::kCaptureName});
    renamed.replace(renamed.find("\"tuner\""), 0, "\"tunerDevice\": \"2388x Tuner\", ");
    Load(renamed.c_str());
    EXPECT_EQ(nullptr, OpenCard(Board(0))) << "no tuner with the member's name";
    EXPECT_TRUE(Driver(Board(0)).Log().Lines().empty());

    std::string bench = FamilyBench(Cx2388xKinds());
    for (size_t at = bench.find("\"tuner\""); at != std::string::npos; at = bench.find("\"tuner\"", at + 30)) {
        bench.replace(at, 0, "\"tunerDevice\": null, ");
    }
    Load(bench.c_str());
    for (size_t i = 0; i < Cx2388xKinds().size(); ++i) {
        EXPECT_EQ(nullptr, OpenCard(Board(i))) << Board(i).FriendlyName();
        EXPECT_TRUE(Driver(Board(i)).Log().Lines().empty()) << Board(i).FriendlyName();
    }
}

}  // namespace
