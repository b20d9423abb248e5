// The remote page on the test-station bench: keys pressed on the simulated remote travel through
// the card's remote thread to the page, which marks the label showing the key's name.
#include <gtest/gtest.h>

#include "PageRemote.h"
#include "PageSheet.h"
#include "platform/runtime.h"

using namespace station_test;

namespace {

constexpr char kRemote[] = "遥控器(Remote)";
constexpr uint32_t kGreen = 0x00FF00;

// Five keys, not in code order: the page takes the first four as the file lists them.
const char kKeys[] = "[Remote]\r\n21=静音\r\n7=频道+\r\n30=全屏\r\n22=电源\r\n40=录像\r\n";

struct RemotePageTest : PageSheet {
    RemotePageTest() {
        PlugTestStation();
        sheet.AddPage(kRemote, new CPageRemote(), "next");
        sheet.AddPage("next", new ScriptedPage("", &visits, "next"), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new ScriptedPage("", &visits, "result", true), "");
    }
    CPageRemote* Page() const { return PageOf<CPageRemote>(kRemote); }
    // Runs the clock until the page has taken `count` labels.
    void PressAndWait(BYTE code, size_t count) {
        op.Then([this, code] { Card(0).PressKey(code); });
        op.When([this, count] { return Page()->GetPressed().size() >= count; }, [] {});
    }
    void EndSheet() {
        op.Then([this] { sheet.EndDialog(IDCANCEL); });
    }
};

TEST_F(RemotePageTest, FourKeysPassOnTheNextTickAndEachMarksTheLabelShowingItsName) {
    Settings(std::string(kKeys) + "[TimeDelay]\r\nRemote=20\r\n");
    Enter(kRemote);
    op.Then([&] {
        const char* names[] = {"静音", "频道+", "全屏", "电源"};
        for (int i = 0; i < CPageRemote::LabelCount; ++i) {
            ASSERT_NE(Page()->Label(i), nullptr);
            EXPECT_EQ(Page()->Label(i)->GetDlgCtrlID(), IDC_KEY_NUM + i);
            EXPECT_EQ(Page()->Label(i)->GetText(), names[i]) << "label " << i;
            EXPECT_EQ(Page()->Label(i)->GetBkColor(), CPageRemote::kLabelColors[i]);
        }
        EXPECT_EQ(Page()->GetCountdown(), 20);
    });
    PressAndWait(21, 1);
    op.Then([&] {
        EXPECT_EQ(op.Text(IDC_KEY_CODE), "键值 (KeyCode) : 21");
        EXPECT_EQ(Page()->GetPressed(), (std::set<int>{0}));
        // The key of the first entry turns the label that shows the first entry's name green:
        // NUM, the control 1063.
        platform::Screenshot shot = SavePicture("remote-page-first-key");
        EXPECT_EQ(ColourInside(shot, IDC_KEY_NUM), kGreen);
        for (int id : {IDC_KEY_REC, IDC_KEY_UP, IDC_KEY_FULL}) EXPECT_NE(ColourInside(shot, id), kGreen) << id;
    });
    PressAndWait(7, 2);
    PressAndWait(30, 3);
    ULONGLONG fourth = 0;
    PressAndWait(22, 4);
    op.Then([&] {
        fourth = platform::ClockNow();
        EXPECT_TRUE(Showing(kRemote));
        platform::Screenshot shot = SavePicture("remote-page");
        for (int id = IDC_KEY_NUM; id <= IDC_KEY_FULL; ++id) EXPECT_EQ(ColourInside(shot, id), kGreen) << id;
    });
    op.When([&] { return Showing("next"); },
            [&] {
                EXPECT_LE(platform::ClockNow() - fourth, 1000u) << "passed on the next tick";
                EXPECT_TRUE(sheet.IsPassed());
            });
    EndSheet();
    sheet.DoModal();
    EXPECT_EQ(visits, (std::vector<std::string>{"next@0"}));
}

TEST_F(RemotePageTest, OneKeyPressedFourTimesMarksOneLabelAndTheTimeLimitFailsThePage) {
    Settings(std::string(kKeys) + "[TimeDelay]\r\nRemote=3\r\n");
    ULONGLONG start = 0;
    Enter(kRemote);
    op.Then([&] { start = platform::ClockNow(); });
    for (int i = 0; i < 4; ++i) PressAndWait(7, 1);
    op.When([&] { return Showing(PAGE_RESULT); },
            [&] {
                EXPECT_GE(platform::ClockNow() - start, 3000u);
                EXPECT_LT(platform::ClockNow() - start, 4000u);
            });
    // Entered again (the next card's turn), the page shows no key of the card before.
    op.Then([&] {
        EXPECT_EQ(op.Text(IDC_KEY_CODE), "键值 (KeyCode) : 7");
        ASSERT_TRUE(sheet.ShowPage(kRemote));
        EXPECT_EQ(op.Text(IDC_KEY_CODE), "键值 (KeyCode) : ");
    });
    EndSheet();
    sheet.DoModal();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 遥控器错误"}));
}

TEST_F(RemotePageTest, WithoutATimeLimitSettingThePageFailsAfterTenSeconds) {
    Settings(std::string(kKeys) + "[TimeDelay]\r\nRemote=0\r\n");
    ULONGLONG start = 0;
    Enter(kRemote);
    op.Then([&] { start = platform::ClockNow(); });
    op.When([&] { return Page()->GetElapsed() == 9; },
            [&] { EXPECT_EQ(op.Text(IDC_TIME_LEFT), "剩余时间(Free Time) 1 (s)"); });
    op.When([&] { return Showing(PAGE_RESULT); },
            [&] {
                EXPECT_GE(platform::ClockNow() - start, 10000u);
                EXPECT_LT(platform::ClockNow() - start, 11000u);
            });
    EndSheet();
    sheet.DoModal();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 遥控器错误"}));
}

TEST_F(RemotePageTest, AnUnknownCodeIsShownAndIgnoredAndACodeListedTwiceMarksItsFirstEntry) {
    Settings("[Remote]\r\n5=A\r\n9=B\r\n05=C\r\n[TimeDelay]\r\nRemote=30\r\n");
    Enter(kRemote);
    op.Then([&] {
        EXPECT_EQ(Page()->Label(2)->GetText(), "C");
        EXPECT_EQ(Page()->Label(3)->GetText(), "Full") << "a label without an entry keeps its text";
        Card(0).PressKey(99);
    });
    op.When([&] { return op.Text(IDC_KEY_CODE) == "键值 (KeyCode) : 99"; },
            [&] {
                EXPECT_TRUE(Page()->GetPressed().empty());
                Card(0).PressKey(5);
            });
    op.When([&] { return !Page()->GetPressed().empty(); },
            [&] {
                EXPECT_EQ(Page()->GetPressed(), (std::set<int>{0}));
                EXPECT_EQ(Page()->Label(0)->GetBkColor(), CPageRemote::kRecognisedColor);
                EXPECT_NE(Page()->Label(2)->GetBkColor(), CPageRemote::kRecognisedColor);
            });
    EndSheet();
    sheet.DoModal();
}

}  // namespace
