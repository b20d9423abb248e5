// The test pages on the X11 display under Xvfb, as the operator sees them: the TV search list,
// its first line kept in view as lines come, scrolled by the wheel down to "Search finished";
// Search clicked taking the focus; the record page with the
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

    HWND Item(int id) const { return search->GetDlgItem(id)->m_hWnd; }
    HWND List() const { return Item(IDC_INFO_LIST); }
    void ClickOn(int id) {
        POINT at = x.CentreOf(Item(id));
        x.Click(at.x, at.y);
    }
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
    Await([&] { return ::SendMessage(List(), LB_GETCOUNT, 0, 0) == count; }, "the lines added",
          [&] {
              EXPECT_EQ(Top(), 0) << "the list's first line still in view after the lines came";
              Wheel(5);
          });
    Await(
        [&] {
            RECT last{}, client{};
            ::SendMessage(List(), LB_GETITEMRECT, count - 1, LPARAM(&last));
            ::GetClientRect(List(), &client);
            return Top() > 0 && last.bottom <= client.bottom && Shows(sheet.m_hWnd, "x11-tv-search-finished.png");
        },
        "the wheel down to \"Search finished\"", [&] { ClickOn(IDC_SEARCH); });
    // A click on Search takes the focus and the default frame from PASS: Space then stops the scan
    // the click started, and the page stays.
    Await([&] { return ::GetFocus() == Item(IDC_SEARCH) && Shows(sheet.m_hWnd, "x11-tv-search-clicked.png"); },
          "the focus on Search after its click", [&] { x.Key(XK_space); });
    Await([&] { return Showing(kSearch) && ::GetFocus() == Item(IDC_SEARCH) && Shows(sheet.m_hWnd); },
          "Space on Search, the page still shown", [&] { sheet.ShowPage(kRecord); });
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
