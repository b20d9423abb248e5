// The test sheet's page protocol, run modally on the headless display: showing pages by name,
// failure texts, the keys a page swallows, the layout, and the end of a run.
#include <gtest/gtest.h>

#include <objbase.h>
#include <uuids.h>

#include "PageDevice.h"
#include "Pelvatro.h"
#include "PelvatroDlg.h"
#include "StationTestSupport.h"
#include "platform/devicetree.h"
#include "platform/testoperator.h"
#include "platform/windowcore.h"
#include "resource.h"

using namespace station_test;

namespace {

struct PageProtocolTest : testing::Test {
    PageProtocolTest() : sheet(&main) {
        sheet.AddPage(PAGE_CHECK, new ScriptedPage("视频测试失败", &visits, "check"), "second");
        sheet.AddPage("second", new ScriptedPage("遥控器测试失败", &visits, "second"), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new ScriptedPage("", &visits, "result", true), "");
    }
    CPelvatroApp app;
    CPelvatroDlg main;
    CTestSheet sheet;
    std::vector<std::string> visits;
    platform::TestOperator op;
};

TEST_F(PageProtocolTest, ShowsPagesByNameAndKeepsTheCurrentPageForAnUnknownName) {
    op.Then([&] {
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_WRITE_EEPROM));
        CString title;
        sheet.GetWindowText(title);
        EXPECT_EQ(title, PAGE_WRITE_EEPROM);
        EXPECT_FALSE(sheet.ShowPage("no such page"));
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_WRITE_EEPROM));
        EXPECT_TRUE(sheet.FindPage(PAGE_WRITE_EEPROM)->IsWindowVisible());

        EXPECT_TRUE(sheet.ShowPage(PAGE_CHECK));
        EXPECT_FALSE(sheet.FindPage(PAGE_WRITE_EEPROM)->IsWindowVisible());
        EXPECT_TRUE(sheet.FindPage(PAGE_CHECK)->IsWindowVisible());
        sheet.GetWindowText(title);
        EXPECT_EQ(title, PAGE_CHECK);
        EXPECT_TRUE(op.Click(IDC_PASS));
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage("second")) << "a pass leads to the page named next";
        sheet.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(visits, (std::vector<std::string>{"check@0", "second@0"}));
}

TEST_F(PageProtocolTest, FailedPageReportsCardIndexAndTextAndShowsTheResult) {
    op.Then([&] {
        sheet.ShowPage(PAGE_CHECK);
        EXPECT_TRUE(op.Click(IDC_FAIL));
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_RESULT));
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 视频测试失败"}));
    EXPECT_FALSE(sheet.IsPassed());
}

TEST_F(PageProtocolTest, TimeLimitFailsThePageOnItsFirstTick) {
    op.Then([&] {
        sheet.ShowPage("second");
        sheet.GetCurrentPage()->SetTimer(CBaseTestPage::TimerTimeLimit, 1000);
    });
    op.When([&] { return sheet.GetCurrentPage() == sheet.FindPage(PAGE_RESULT); }, [&] { sheet.EndDialog(IDOK); });
    sheet.DoModal();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 遥控器测试失败"}));
}

TEST_F(PageProtocolTest, EnterAndEscapeOnAPageDoNotEndTheSheet) {
    op.Then([&] {
        sheet.ShowPage(PAGE_CHECK);
        sheet.GetCurrentPage()->GetDlgItem(IDC_PASS)->SetFocus();
        op.SendKey(VK_ESCAPE);
        op.SendKey(VK_RETURN);
    });
    op.Then([&] {
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_CHECK)) << "Enter did not press the focused pass button";
        sheet.EndDialog(77);
    });
    EXPECT_EQ(sheet.DoModal(), 77);
    EXPECT_EQ(visits, (std::vector<std::string>{"check@0"}));
}

TEST_F(PageProtocolTest, SheetIsLaidOutAtTheSizeOfItsLargestPage) {
    op.Then([&] {
        CRect sheetClient;
        sheet.GetClientRect(&sheetClient);
        CWnd* eepromPage = sheet.FindPage(PAGE_WRITE_EEPROM);
        // The EEPROM page is larger than the sheet's frame item; every one of its controls, the
        // hidden ones too, lies inside the page and the page inside the sheet.
        CRect page;
        eepromPage->GetClientRect(&page);
        for (HWND child : platform::GetChildWindowList(eepromPage->m_hWnd)) {
            CRect control;
            ::GetWindowRect(child, &control);
            eepromPage->ScreenToClient(&control);
            EXPECT_LE(control.right, page.right) << "control " << ::GetDlgCtrlID(child);
            EXPECT_LE(control.bottom, page.bottom) << "control " << ::GetDlgCtrlID(child);
        }
        eepromPage->GetWindowRect(&page);
        sheet.ScreenToClient(&page);
        EXPECT_LE(page.right, sheetClient.right);
        EXPECT_LE(page.bottom, sheetClient.bottom);
        CRect frame;
        sheet.GetDlgItem(IDC_PAGE_FRAME)->GetWindowRect(&frame);
        sheet.ScreenToClient(&frame);
        EXPECT_GT(page.Width(), frame.Width()) << "the EEPROM page is the larger";
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

TEST_F(PageProtocolTest, FinishTestAsksForThePowerOffOnlyWhenTheSettingsSaySo) {
    main.m_nShutDown = 1;
    op.Then([&] { sheet.FinishTest(); });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(app.m_bPowerOff);
    EXPECT_TRUE(FileExists(HomeFile("Pass.txt")));
    platform::ClearTrace();
    app.ExitInstance();
    EXPECT_TRUE(platform::TraceContains("ExitWindowsEx(0x9)"));
}

TEST_F(PageProtocolTest, FinishTestWithoutShutDownLeavesThePcOn) {
    main.m_nShutDown = 0;
    op.Then([&] { sheet.FinishTest(); });
    sheet.DoModal();
    EXPECT_FALSE(app.m_bPowerOff);
    platform::ClearTrace();
    app.ExitInstance();
    EXPECT_FALSE(platform::TraceContains("ExitWindowsEx"));
}

TEST_F(PageProtocolTest, CloseButtonEndsTheRunWithoutPowerOff) {
    main.m_nShutDown = 1;
    op.Then([&] { EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL)); });
    EXPECT_EQ(sheet.DoModal(), -1) << "WM_QUIT ends the sheet's loop";
    EXPECT_FALSE(app.m_bPowerOff);
    EXPECT_FALSE(FileExists(HomeFile("Pass.txt")));
    MSG msg;
    EXPECT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT is posted again for the outer loop";
}

// Devices of the Kesh card's name whose driver filter cannot be made: the sheet finds cards,
// none of which opens.
void PlugUnopenableCards(int count) {
    for (int i = 0; i < count; ++i) {
        platform::AddDevice({CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture", [](REFIID, void** ppv) {
                                 *ppv = nullptr;
                                 return E_FAIL;
                             }});
    }
}

struct TestStationTest : PageProtocolTest {
    TestStationTest() {
        CoInitialize(nullptr);
        main.m_nMachine = CPelvatroDlg::MachineTestStation;
    }
    ~TestStationTest() override {
        platform::RemoveAllDevices();
        CoUninitialize();
    }
};

TEST_F(TestStationTest, WalksEveryCardThroughItsPagesAndLogsTheFailures) {
    PlugUnopenableCards(2);
    op.Then([&] { EXPECT_TRUE(op.Click(IDC_DEVICE_OK)); });
    op.Then([&] {
        EXPECT_EQ(sheet.GetCardCount(), 2);
        EXPECT_EQ(op.Text(IDC_STATUS), "第0路 烧写失败 第1路 烧写失败 创建卡失败，请确认驱动安装正确!")
            << "no card opened, none was written";
        EXPECT_EQ(op.Text(IDC_DEVICE_CANCEL), "关 闭");
        sheet.GetCurrentPage()->OnPass();  // the test station goes on to the first card's pages
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_CHECK));
        EXPECT_TRUE(op.Click(IDC_PASS));  // check -> second
        EXPECT_TRUE(op.Click(IDC_FAIL));  // second fails -> result
        EXPECT_TRUE(op.Click(IDC_PASS));  // result, not the last card -> next card
        EXPECT_EQ(sheet.GetCurrentCard(), 1);
        EXPECT_EQ(sheet.FindPage("second")->GetCardIndex(), 1);
        EXPECT_TRUE(op.Click(IDC_PASS));  // check
        EXPECT_TRUE(op.Click(IDC_PASS));  // second
        EXPECT_TRUE(op.Click(IDC_PASS));  // result on the last card ends the run
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(visits, (std::vector<std::string>{"check@0", "second@0", "result@0", "check@1", "second@1",
                                                "result@1"}));
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 遥控器测试失败"}));
    std::string error = ReadFileBytes(HomeFile("Error.txt"));
    EXPECT_NE(error.find(Gbk("第0路 遥控器测试失败\r\n")), std::string::npos);
    EXPECT_FALSE(FileExists(HomeFile("Pass.txt")));
}

TEST_F(TestStationTest, NextCardOnTheLastCardShowsNothing) {
    PlugUnopenableCards(1);
    op.Then([&] {
        ASSERT_TRUE(sheet.CreateCards());
        EXPECT_EQ(sheet.GetCard(-1), nullptr);
        EXPECT_EQ(sheet.GetCard(1), nullptr);
        EXPECT_TRUE(sheet.SelectCurrentCard());
        EXPECT_TRUE(sheet.IsLastCard());
        EXPECT_FALSE(sheet.NextCard());
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_WRITE_EEPROM));
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

}  // namespace
