// The pages that end a card: the result page and the shutdown page, on sheets over simulated
// cards. What their button does: the next card, the end of the run with its record, or the
// program's restart (recorded, nothing started).
#include <gtest/gtest.h>

#include <climits>

#include "PageError.h"
#include "PageShutDown.h"
#include "PageSheet.h"
#include "StationRun.h"
#include "platform/runtime.h"
#include "platform/shell.h"

using namespace station_test;

namespace {

constexpr char kShutDownPage[] = "关机(ShutDown)";

struct ResultPageTest : PageSheet {
    CPageError* Page() const { return PageOf<CPageError>(PAGE_RESULT); }
    void Build(int cards) {
        Plug(KeshBench(cards));
        sheet.AddPage(PAGE_CHECK, new ScriptedPage("视频测试失败", &visits, "check"), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new CPageError(), "");
    }
};

TEST_F(ResultPageTest, OnePassingCardShowsPassAndItsButtonEndsTheRunWithThePassRecordAndThePowerOff) {
    Settings("[Eeprom]\r\nShutDown=30\r\n");
    Build(1);
    Enter(PAGE_RESULT);
    op.Then([&] {
        EXPECT_TRUE(Page()->PassDisplay().IsWindowVisible());
        EXPECT_FALSE(Page()->FailDisplay().IsWindowVisible());
        EXPECT_EQ(Page()->PassDisplay().GetText(), "Pass");
        EXPECT_EQ(Page()->PassDisplay().m_crText, RGB(0, 255, 0));
        LOGFONT font{};
        Page()->PassDisplay().GetLogFont(&font);
        EXPECT_EQ(font.lfHeight, 100);
        EXPECT_EQ(Page()->ActionLabel().GetText(), "电脑即将在 30 秒后关机");
        EXPECT_EQ(op.Text(IDC_PASS), "关闭电脑");
        EXPECT_FALSE(op.IsVisible(IDC_FAIL));
        platform::Screenshot shot = SavePicture("result-page-pass");
        int green = 0;
        for (uint32_t px : shot.pixels) green += px == 0x00FF00;
        EXPECT_GT(green, 500) << "the large green Pass is drawn";
        EXPECT_TRUE(op.Click(IDC_PASS));
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    std::string record = ReadFileBytes(HomeFile("Pass.txt"));
    EXPECT_NE(record.find(Gbk("测试通过") + "\r\n"), std::string::npos) << record;
    EXPECT_FALSE(FileExists(HomeFile("Error.txt")));
    EXPECT_TRUE(platform::ShellRequests().empty());
    platform::ClearTrace();
    app.ExitInstance();
    EXPECT_TRUE(platform::TraceContains("ExitWindowsEx(0x9): no power-off command configured"));
}

// ShutDown 0: the last card's page announces no power-off, and its button only ends the run.
TEST_F(ResultPageTest, TheFirstFailureStaysShownForTheNextCardAndTheRunsFailuresGoToTheErrorRecord) {
    Settings("[Eeprom]\r\nShutDown=0\r\nHotPlugBus=0\r\n");
    Build(2);
    Enter(PAGE_CHECK);
    op.Then([&] {
        EXPECT_TRUE(op.Click(IDC_FAIL));
        ASSERT_TRUE(Showing(PAGE_RESULT));
        EXPECT_TRUE(Page()->FailDisplay().IsWindowVisible());
        EXPECT_FALSE(Page()->PassDisplay().IsWindowVisible());
        EXPECT_EQ(Page()->FailDisplay().GetText(), "第0路 视频测试失败");
        EXPECT_EQ(Page()->FailDisplay().m_crText, RGB(255, 0, 0));
        EXPECT_EQ(Page()->ActionLabel().GetText(), "测试下一块卡");
        EXPECT_EQ(op.Text(IDC_PASS), "测试下一块卡");
        SavePicture("result-page-failure");
        EXPECT_TRUE(op.Click(IDC_PASS));
        EXPECT_TRUE(Showing(PAGE_CHECK)) << "the second card starts at the check page";
        EXPECT_EQ(sheet.GetCurrentCard(), 1);
        EXPECT_TRUE(op.Click(IDC_PASS));
        ASSERT_TRUE(Showing(PAGE_RESULT));
        EXPECT_EQ(Page()->FailDisplay().GetText(), "第0路 视频测试失败") << "the run's first failure";
        EXPECT_FALSE(Page()->PassDisplay().IsWindowVisible());
        EXPECT_EQ(Page()->ActionLabel().GetText(), "");
        EXPECT_EQ(op.Text(IDC_PASS), "关 闭");
        EXPECT_TRUE(op.Click(IDC_PASS));
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(visits, (std::vector<std::string>{"check@0", "check@1"}));
    std::string record = ReadFileBytes(HomeFile("Error.txt"));
    EXPECT_NE(record.find(Gbk("第0路 视频测试失败") + "\r\n"), std::string::npos);
    EXPECT_FALSE(FileExists(HomeFile("Pass.txt")));
    EXPECT_FALSE(app.m_bPowerOff) << "no power-off is asked for";
}

TEST_F(ResultPageTest, WithHotPlugBusTheLastCardsButtonRestartsTheProgram) {
    Settings("[Eeprom]\r\nShutDown=30\r\nHotPlugBus=1\r\n");
    Build(1);
    Enter(PAGE_RESULT);
    op.Then([&] {
        EXPECT_EQ(Page()->ActionLabel().GetText(), "重启程序");
        EXPECT_EQ(op.Text(IDC_PASS), "重启程序");
        EXPECT_TRUE(op.Click(IDC_PASS));
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    std::vector<platform::ShellRequest> requests = platform::ShellRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].restart) << requests[0].file;
    EXPECT_TRUE(requests[0].parameters.empty());
    EXPECT_FALSE(app.m_bPowerOff) << "a restart does not switch the PC off";
    EXPECT_TRUE(FileExists(HomeFile("Pass.txt")));
}

// The longest failure text the test chain can produce, for a card of one and of two digits, shows
// whole: its red letters lie inside the failure display, clear of both ends.
struct FailureText {
    const char* text;
    const char* picture;
};
void PrintTo(const FailureText& f, std::ostream* out) { *out << f.picture; }

struct ResultPageFailureText : ResultPageTest, testing::WithParamInterface<FailureText> {};

TEST_P(ResultPageFailureText, LiesWholeInsideTheFailureDisplay) {
    Build(1);
    Enter(PAGE_CHECK);
    op.Then([&] {
        sheet.OnPageFail(GetParam().text);
        ASSERT_TRUE(Showing(PAGE_RESULT));
        platform::Screenshot shot = SavePicture(std::string("result-page-") + GetParam().picture);
        CRect display;
        Page()->FailDisplay().GetWindowRect(&display);
        sheet.ScreenToClient(&display);
        CRect red(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        int count = 0;
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const uint32_t px = shot.At(x, y);
                if (int(px >> 16 & 0xFF) - int(px >> 8 & 0xFF) < 80) continue;
                ++count;
                red = CRect(std::min<LONG>(red.left, x), std::min<LONG>(red.top, y), std::max<LONG>(red.right, x + 1),
                            std::max<LONG>(red.bottom, y + 1));
            }
        }
        ASSERT_GT(count, 500) << "large red letters";
        EXPECT_GT(red.left, display.left + 1) << GetParam().text;
        EXPECT_LT(red.right, display.right - 1) << GetParam().text;
        EXPECT_GE(red.top, display.top);
        EXPECT_LE(red.bottom, display.bottom);
        EXPECT_GT(red.Height(), 30) << "still large";
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
}

INSTANTIATE_TEST_SUITE_P(
    EveryPage, ResultPageFailureText,
    testing::Values(FailureText{"第0路 AV/SV音频不正常", "av-audio"}, FailureText{"第10路 AV/SV音频不正常", "av-audio-card-10"}),
    [](const testing::TestParamInfo<FailureText>& info) {
        std::string name = info.param.picture;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

struct ShutDownPageTest : PageSheet {
    ShutDownPageTest() {
        Plug(KeshBench(2));
        sheet.AddPage(PAGE_CHECK, new ScriptedPage("视频测试失败", &visits, "check"), kShutDownPage);
        sheet.AddPage(kShutDownPage, new CPageShutDown(), "");
    }
    CPageShutDown* Page() const { return PageOf<CPageShutDown>(kShutDownPage); }
    CString ListText() const {
        CString text;
        if (Page()->TextList().GetCount() == 1) Page()->TextList().GetText(0, text);
        return text;
    }
};

TEST_F(ShutDownPageTest, OffersTheNextCardThenTheEndOfTheRun) {
    Enter(PAGE_CHECK);
    op.Then([&] {
        EXPECT_TRUE(op.Click(IDC_PASS));
        ASSERT_TRUE(Showing(kShutDownPage));
        EXPECT_EQ(op.Text(IDC_PASS), "测试下一块卡");
        EXPECT_EQ(ListText(), "测试下一块卡");
        EXPECT_TRUE(op.IsVisible(IDC_SHUTDOWN_TEXT));
        EXPECT_EQ(op.Text(IDC_SHUTDOWN_TEXT), "Please Reboot");
        EXPECT_FALSE(op.IsVisible(IDC_SHUTDOWN_LIST));
        SavePicture("shutdown-page");
        EXPECT_TRUE(op.Click(IDC_PASS));
        EXPECT_TRUE(Showing(PAGE_CHECK));
        EXPECT_TRUE(op.Click(IDC_PASS));
        ASSERT_TRUE(Showing(kShutDownPage));
        EXPECT_EQ(op.Text(IDC_PASS), "关闭电脑");
        EXPECT_EQ(ListText(), "电脑即将在 5 秒后关机");
        EXPECT_TRUE(op.Click(IDC_PASS));
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(visits, (std::vector<std::string>{"check@0", "check@1"}));
    EXPECT_TRUE(FileExists(HomeFile("Pass.txt")));
}

}  // namespace
