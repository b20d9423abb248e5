// The check page and the TV search page on a sheet without cards: the check page's countdown
// and write-progress texts and a card it cannot read; the search page's found list as the scan
// reports arrive, and its channel index at both ends of the list.
#include <gtest/gtest.h>

#include "PageCheck.h"
#include "PageTVSearch.h"
#include "Pelvatro.h"
#include "PelvatroDlg.h"
#include "StationTestSupport.h"
#include "dunmorra/WriteThread.h"
#include "platform/testoperator.h"
#include "resource.h"
#include "tuners/TunerBase.h"

using namespace station_test;

namespace {

const char kSearch[] = "搜台(TV Search)";

struct CheckAndSearchTest : testing::Test {
    CheckAndSearchTest() : sheet(&main) {
        sheet.AddPage(PAGE_CHECK, check = new CPageCheck(), kSearch);
        sheet.AddPage(kSearch, search = new CPageTVSearch(), "next");
        sheet.AddPage("next", new ScriptedPage("", &visits, "next"), PAGE_RESULT);
        main.m_strProduct = "713x";
        main.m_listCharacter.AddTail("电视");
        main.m_listCharacter.AddTail("遥控器");
    }
    std::vector<std::string> InfoLines() {
        std::vector<std::string> lines;
        HWND list = search->GetDlgItem(IDC_INFO_LIST)->m_hWnd;
        for (int i = 0; i < int(::SendMessage(list, LB_GETCOUNT, 0, 0)); ++i) {
            char text[128] = {0};
            ::SendMessage(list, LB_GETTEXT, WPARAM(i), LPARAM(text));
            lines.push_back(text);
        }
        return lines;
    }
    CPelvatroApp app;
    CPelvatroDlg main;
    CTestSheet sheet;
    CPageCheck* check = nullptr;
    CPageTVSearch* search = nullptr;
    std::vector<std::string> visits;
    platform::TestOperator op;
};

// The shipped test-station settings list five features: the list shows all five lines whole.
TEST_F(CheckAndSearchTest, FeatureListShowsTheFiveFeaturesOfTheShippedSettingsWhole) {
    main.m_listCharacter.RemoveAll();
    for (const char* feature : {"电视", "复合视频", "S端子", "MPEG-2 录像", "遥控器"}) main.m_listCharacter.AddTail(feature);
    op.Then([&] {
        sheet.ShowPage(PAGE_CHECK);
        HWND list = op.Find(IDC_FEATURE_LIST);
        ASSERT_EQ(::SendMessage(list, LB_GETCOUNT, 0, 0), 5);
        CRect inside;
        ::GetClientRect(list, &inside);
        inside.DeflateRect(1, 1);  // the border
        EXPECT_GE(inside.Height(), 5 * int(::SendMessage(list, LB_GETITEMHEIGHT, 0, 0)));
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

TEST_F(CheckAndSearchTest, CheckPageWithoutCountdownWaitsAndShowsAnUnreadableCardAsNotWritten) {
    op.Then([&] {
        sheet.ShowPage(PAGE_CHECK);
        EXPECT_EQ(op.Text(IDC_CHECK_PRODUCT), "713x");
        EXPECT_EQ(::SendMessage(op.Find(IDC_FEATURE_LIST), LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(op.Text(IDC_CARD_TEXT), "产  品: Unknown\n卡  号: 0\n高频头:\tMODEL_UNKNOWN\nEeprom: Not Written\n")
            << "the name table names model 0 itself";
        EXPECT_EQ(check->IndexDisplay().GetText(), "0");
        EXPECT_EQ(check->IndexDisplay().m_crText, COLORREF(0x00FF00));
        op.AdvanceClock(10000);
        EXPECT_EQ(sheet.GetCurrentPage(), check) << "countdown 0: the operator passes the page";
        EXPECT_EQ(op.Text(IDC_PASS), "开始测试");

        check->SendMessage(WM_EEPROM_WRITE_PROGRESS, 0, 100);
        EXPECT_EQ(op.Text(IDC_CARD_TEXT), "写入进度 : 100 %");
        check->SendMessage(WM_EEPROM_WRITE_PROGRESS, 0, 101);
        EXPECT_EQ(op.Text(IDC_CARD_TEXT), "写入完成");
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

TEST_F(CheckAndSearchTest, CheckPageCountdownCountsDownAndPassesOnItsLastTick) {
    check->SetCountdown(3);
    op.Then([&] {
        sheet.ShowPage(PAGE_CHECK);
        EXPECT_EQ(op.Text(IDC_PASS), "开始测试 ( 3 秒)");
        op.AdvanceClock(1000);
        EXPECT_EQ(op.Text(IDC_PASS), "开始测试 ( 2 秒)");
        op.AdvanceClock(1000);
        EXPECT_EQ(op.Text(IDC_PASS), "开始测试 ( 1 秒)");
        EXPECT_EQ(sheet.GetCurrentPage(), check);
        op.AdvanceClock(1000);
        EXPECT_EQ(sheet.GetCurrentPage(), search) << "timer 7 passes this page";
        EXPECT_TRUE(sheet.IsPassed());
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

TEST_F(CheckAndSearchTest, SearchListsEveryStepAndStepsOnlyThroughChannelsWithASignal) {
    op.Then([&] {
        sheet.ShowPage(kSearch);
        EXPECT_EQ(search->GetFoundList(), std::vector<int>(std::begin(CPageTVSearch::kPresetFoundKHz),
                                                           std::end(CPageTVSearch::kPresetFoundKHz)));
        search->SendMessage(WM_TV_SEARCH_STEP, 479250, 0);
        search->SendMessage(WM_TV_SEARCH_STEP, 128250, 3);
        EXPECT_EQ(InfoLines(), (std::vector<std::string>{"TV 搜台测试", "TV:479250 KHz,信号:0", "TV:128250 KHz,信号:3"}));
        EXPECT_EQ(search->GetFoundList().size(), 18u) << "a signal is added, signal 0 is not";
        EXPECT_EQ(search->GetFoundList().back(), 128250);
        search->SendMessage(WM_TV_SEARCH_END);
        EXPECT_EQ(InfoLines().back(), "Search finished");
        EXPECT_EQ(search->GetCurrentChannel(), 0);

        EXPECT_TRUE(op.Click(IDC_CHANNEL_UP));
        EXPECT_EQ(search->GetCurrentChannel(), 0) << "Chl Up stays at the first channel";
        for (int i = 1; i < 18; ++i) EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));
        EXPECT_EQ(search->GetCurrentChannel(), 17);
        EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));
        EXPECT_EQ(search->GetCurrentChannel(), 0) << "past the last channel: the first";
        EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));
        EXPECT_EQ(search->GetCurrentChannel(), 1) << "then the second, no channel skipped";
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

TEST_F(CheckAndSearchTest, SearchPageNeverAsksAndKeepsItsFoundListForTheNextEntry) {
    op.Then([&] {
        sheet.ShowPage(kSearch);
        search->SendMessage(WM_TV_SEARCH_STEP, 200000, 1);
        op.AdvanceClock(5000);
        EXPECT_TRUE(op.MessageBoxes().empty()) << "an empty question is never asked";
        sheet.ShowPage(PAGE_CHECK);
        sheet.ShowPage(kSearch);
        EXPECT_EQ(search->GetFoundList().size(), 18u) << "the list lives as long as the page window";
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

}  // namespace
