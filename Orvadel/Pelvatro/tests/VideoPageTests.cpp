// The video pages' question on a sheet without cards: asked once, half a second of the clock
// after the page was entered, never when the page was left before; Yes passes, No fails.
#include <gtest/gtest.h>

#include "PageAVAudio.h"
#include "PageAVVideo.h"
#include "PageSVVideo.h"
#include "PageTVAudio.h"
#include "Pelvatro.h"
#include "PelvatroDlg.h"
#include "StationTestSupport.h"
#include "platform/testoperator.h"
#include "resource.h"

using namespace station_test;

namespace {

struct VideoPageTest : testing::Test {
    VideoPageTest() : sheet(&main) {
        sheet.AddPage("tv audio", new CPageTVAudio(), "av video");
        sheet.AddPage("av video", new CPageAVVideo(), "sv video");
        sheet.AddPage("sv video", new CPageSVVideo(), "av audio");
        sheet.AddPage("av audio", new CPageAVAudio(), "next");
        sheet.AddPage("next", new ScriptedPage("", &visits, "next"), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new ScriptedPage("", &visits, "result", true), "");
    }
    std::vector<std::string> InfoLines() {
        std::vector<std::string> lines;
        for (int i = 0; i < int(::SendMessage(op.Find(IDC_INFO_LIST), LB_GETCOUNT, 0, 0)); ++i) {
            char text[128] = {0};
            ::SendMessage(op.Find(IDC_INFO_LIST), LB_GETTEXT, WPARAM(i), LPARAM(text));
            lines.push_back(text);
        }
        return lines;
    }
    CPelvatroApp app;
    CPelvatroDlg main;
    CTestSheet sheet;
    std::vector<std::string> visits;
    platform::TestOperator op;
};

TEST_F(VideoPageTest, EachPageAsksItsQuestionOnceAfterHalfASecondAndYesPasses) {
    const struct {
        const char* name;
        const char* question;
        const char* info;
    } pages[] = {{"tv audio", "TV音频是否正常", "TV 音频测试"},
                 {"av video", "AV视频是否正常", "AV 视频测试"},
                 {"sv video", "SV 视频是否正常", "SV 视频测试"},
                 {"av audio", "AV/SV音频是否正常", "AV/SV 音频测试"}};
    op.Then([&] { sheet.ShowPage("tv audio"); });
    for (const auto& page : pages) {
        op.Then([&] {
            EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(page.name));
            EXPECT_EQ(InfoLines(), std::vector<std::string>{page.info});
            size_t before = op.MessageBoxes().size();
            op.AdvanceClock(CBaseVideoPage::AskDelayMs - 1);
            EXPECT_EQ(op.MessageBoxes().size(), before) << page.name << " asked early";
            op.AnswerNextMessageBox(IDYES);
            op.AdvanceClock(1);
            ASSERT_EQ(op.MessageBoxes().size(), before + 1) << page.name;
            EXPECT_EQ(op.MessageBoxes().back().text, page.question);
            EXPECT_EQ(op.MessageBoxes().back().type & 0xF, UINT(MB_YESNO));
        });
    }
    op.Then([&] {
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage("next"));
        op.AdvanceClock(5000);
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ(op.MessageBoxes().size(), 4u) << "each question once";
    EXPECT_TRUE(sheet.IsPassed());
}

TEST_F(VideoPageTest, NoFailsWithThePageTextAndLeavingEarlyAsksNothing) {
    op.Then([&] {
        sheet.ShowPage("sv video");
        op.AdvanceClock(300);
        sheet.ShowPage("av video");  // left before the question
        op.AnswerNextMessageBox(IDNO);
        op.AdvanceClock(CBaseVideoPage::AskDelayMs);
        EXPECT_EQ(sheet.GetCurrentPage(), sheet.FindPage(PAGE_RESULT));
        op.AdvanceClock(5000);
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
    ASSERT_EQ(op.MessageBoxes().size(), 1u);
    EXPECT_EQ(op.MessageBoxes()[0].text, "AV视频是否正常");
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 AV视频不正常"}));
}

}  // namespace
