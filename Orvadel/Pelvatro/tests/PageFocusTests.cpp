// Where the focus stands when a test page opens: on the pass or start button where the page
// shows one, never on the fail button, so the operator's first Space never fails the card.
#include <gtest/gtest.h>

#include "PageAVAudio.h"
#include "PageAVVideo.h"
#include "PageCheck.h"
#include "PageDevice.h"
#include "PageError.h"
#include "PageRecord.h"
#include "PageRemote.h"
#include "PageSVVideo.h"
#include "PageSheet.h"
#include "PageTVAudio.h"
#include "PageTVSearch.h"
#include "platform/display.h"
#include "platform/windowcore.h"

using namespace station_test;

namespace {

constexpr char kTVSearch[] = "搜台(TV Search)";
constexpr char kRecord[] = "录像(Record)";
constexpr char kRemote[] = "遥控器(Remote)";
constexpr char kTVAudio[] = "TV音频(TV Audio)";
constexpr char kAVVideo[] = "AV视频(AV Video)";
constexpr char kSVVideo[] = "SV视频(SV Video)";
constexpr char kAVAudio[] = "AV音频(AV Audio)";
constexpr char kResult[] = "结果";  // the result page as the sheet would show it

struct PageFocusTest : PageSheet {
    PageFocusTest() {
        PlugTestStation();
        sheet.AddPage(PAGE_CHECK, new CPageCheck(), kTVSearch);
        sheet.AddPage(kTVSearch, new CPageTVSearch(), kRecord);
        sheet.AddPage(kRecord, new CPageRecord(), kRemote);
        sheet.AddPage(kRemote, new CPageRemote(), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new ScriptedPage("", &visits, "result", true), "");
    }
    CString FocusText() const {
        CString text;
        if (CWnd* focus = CWnd::GetFocus()) focus->GetWindowText(text);
        return text;
    }
};

TEST_F(PageFocusTest, AFirstSpaceOnTheCheckSearchRecordAndRemotePagesNeverFailsTheCard) {
    Enter(PAGE_CHECK);
    op.Then([&] { op.PressKey(VK_SPACE); });
    op.Then([&] {
        EXPECT_TRUE(Showing(kTVSearch)) << "Space pressed the start button, which passes the page";
        EXPECT_EQ(FocusText(), "通过 PASS") << "the page shown takes the focus";
        op.PressKey(VK_SPACE);
    });
    op.Then([&] {
        EXPECT_TRUE(Showing(kRecord)) << "Space pressed the pass button, which passes the page";
        op.PressKey(VK_SPACE);
    });
    op.Then([&] {
        // The record page passes by itself: its pass button is hidden, its list takes the focus.
        EXPECT_EQ(::GetFocus(), op.Find(IDC_INFO_LIST));
        EXPECT_TRUE(Showing(kRecord));
        sheet.ShowPage(kRemote);
        op.PressKey(VK_SPACE);
    });
    op.Then([&] {
        EXPECT_TRUE(Showing(PAGE_RESULT)) << "Space pressed the remote page's PASS";
        EXPECT_TRUE(sheet.IsPassed());
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_TRUE(sheet.GetFailures().empty());
}

// Every page as the terminal display draws it at 40x15, 60x20 and 80x24, the focus on each of its
// buttons in turn: no control drawn over another, each button's caption whole where it fits.
TEST_F(PageFocusTest, OnTheTerminalEachPageShowsItsControlsApartAndTheFocusOnEachButton) {
    sheet.AddPage(PAGE_WRITE_EEPROM, new CPageDevice(), "");
    sheet.AddPage(kTVAudio, new CPageTVAudio(), "");
    sheet.AddPage(kAVVideo, new CPageAVVideo(), "");
    sheet.AddPage(kSVVideo, new CPageSVVideo(), "");
    sheet.AddPage(kAVAudio, new CPageAVAudio(), "");
    sheet.AddPage(kResult, new CPageError(), "");
    Enter(PAGE_CHECK);
    for (const char* name :
         {PAGE_WRITE_EEPROM, PAGE_CHECK, kTVSearch, kTVAudio, kAVVideo, kSVVideo, kAVAudio, kRecord, kRemote, kResult}) {
        op.Then([&, name] {
            ASSERT_TRUE(sheet.ShowPage(name));
            std::vector<HWND> buttons{nullptr};
            for (HWND child : platform::GetChildWindowList(sheet.FindPage(name)->m_hWnd)) {
                char cls[16] = {};
                ::GetClassNameA(child, cls, sizeof cls);
                LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
                if (std::string(cls) == "Button" && (style & WS_VISIBLE) && (style & BS_TYPEMASK) != BS_GROUPBOX)
                    buttons.push_back(child);
            }
            for (auto [columns, rows] : {std::pair{40, 15}, {60, 20}, {80, 24}})
                for (HWND focus : buttons) {
                    platform::TerminalPicture picture = platform::DrawForTerminal(sheet.m_hWnd, columns, rows, focus);
                    std::string shown;
                    for (const std::string& line : picture.lines) shown += line + "\n";
                    SCOPED_TRACE(std::string(name) + " at " + std::to_string(columns) + "x" + std::to_string(rows) + "\n" + shown);
                    EXPECT_EQ(picture.overlaps, std::vector<std::string>{});
                    if (focus) {
                        EXPECT_NE(shown.find("[>"), std::string::npos) << "the focused button marked";
                    }
                    for (HWND button : buttons) {
                        if (!button) continue;
                        char text[64] = {};
                        ::GetWindowTextA(button, text, sizeof text);
                        std::string caption = text;  // at 40 columns a row too narrow keeps its first word
                        EXPECT_NE(shown.find(columns > 40 ? caption : caption.substr(0, caption.find(' '))), std::string::npos) << text;
                    }
                }
        });
    }
    op.Then([&] { sheet.EndDialog(IDCANCEL); });
    sheet.DoModal();
}

}  // namespace
