// The test pages on the X11 display under Xvfb, as the operator sees them: the TV search list,
// scrolled by the wheel back to its top and down to "Search finished"; the record page with the
// focus on its list; the About box. Each X window's pixels go to test-output/.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "PageRecord.h"
#include "PageSheet.h"
#include "PageTVSearch.h"
#include "XServerSession.h"
#include "tuners/TunerBase.h"

using namespace station_test;

namespace {

constexpr char kSearch[] = "搜台(TV Search)";
constexpr char kRecord[] = "录像(Record)";

struct PageX11 : PageSheet {
    void SetUp() override {
        XSERVER_OR_SKIP(x);
        PlugTestStation();
        sheet.AddPage(kSearch, search = new CPageTVSearch(), kRecord);
        sheet.AddPage(kRecord, new CPageRecord(), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new ScriptedPage("", &visits, "result", true), "");
    }

    void Await(std::function<bool()> ready, const char* what, std::function<void()> step = nullptr) {
        testsupport::Await(op, std::move(ready), what, std::move(step));
    }

    // The window's X window shows what its surface holds; saved as test-output/<png> when named.
    bool Shows(HWND window, const char* png = nullptr) {
        platform::Screenshot shot = op.TakeScreenshot(window);
        testsupport::XWindowId win = x.Of(window);
        if (shot.pixels.empty() || !win) return false;
        platform::Screenshot seen{shot.width, shot.height, x.Pixels(win, shot.width, shot.height)};
        if (seen.pixels != shot.pixels) return false;
        if (png) {
            std::filesystem::create_directories("test-output");
            EXPECT_TRUE(seen.SavePng(std::string("test-output/") + png));
        }
        return true;
    }

    HWND List() const { return search->GetDlgItem(IDC_INFO_LIST)->m_hWnd; }
    int Top() const { return int(::SendMessage(List(), LB_GETTOPINDEX, 0, 0)); }
    void Wheel(unsigned button) {
        POINT at = x.CentreOf(List());
        x.MoveTo(at.x, at.y);
        for (int i = 0; i < 4; ++i) {
            x.Press(button);
            x.Release(button);
        }
    }

    testsupport::XServerSession x;
    CPageTVSearch* search = nullptr;
};

TEST_F(PageX11, TheSearchListScrollsToItsEndTheRecordListShowsItsFocusAndTheAboutBoxShows) {
    Enter(kSearch);
    op.Then([&] {
        for (int khz : CPageTVSearch::kPresetFoundKHz) search->SendMessage(WM_TV_SEARCH_STEP, WPARAM(khz), 3);
        search->SendMessage(WM_TV_SEARCH_END);
    });
    const int count = 19;  // the title, seventeen channels, "Search finished"
    Await([&] { return Top() > 0 && Shows(sheet.m_hWnd); }, "the newest lines in view as they came", [&] { Wheel(4); });
    Await([&] { return Top() == 0 && Shows(sheet.m_hWnd); }, "the wheel back at the list's top", [&] { Wheel(5); });
    Await(
        [&] {
            RECT last{}, client{};
            ::SendMessage(List(), LB_GETITEMRECT, count - 1, LPARAM(&last));
            ::GetClientRect(List(), &client);
            return Top() > 0 && last.bottom <= client.bottom && Shows(sheet.m_hWnd, "x11-tv-search-finished.png");
        },
        "the wheel down to \"Search finished\"", [&] { sheet.ShowPage(kRecord); });
    Await([&] { return ::GetFocus() == sheet.GetCurrentPage()->GetDlgItem(IDC_INFO_LIST)->m_hWnd && Shows(sheet.m_hWnd); },
          "the record page, its list focused", [&] { Shows(sheet.m_hWnd, "x11-record-page.png"); });
    // The About box, as the main dialog's system menu would open it.
    op.Then([&] {
        CAboutDlg about;
        EXPECT_EQ(about.DoModal(), IDOK);  // the steps below run in its loop
    });
    Await([&] { return x.Find("About") != 0 && Shows(::GetActiveWindow(), "x11-about-box.png"); }, "the About box",
          [&] { x.Key(XK_Return); });
    Await([&] { return x.Find("About") == 0; }, "the About box closed by Enter", [&] { sheet.EndDialog(IDCANCEL); });
    sheet.DoModal();
}

}  // namespace
