// What a person sees of the EEPROM page during a write on the simulated bench: the status text,
// the progress bar filled to the written part, and both buttons; and the card list with its card
// image on every row. The pictures are left in the test output (test-output/eeprom-page-*.png)
// for people to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "StationRun.h"
#include "StationTestSupport.h"

using namespace station_test;

namespace {

constexpr uint32_t kFace = 0xC0C0C0, kHighlight = 0x000080;

// Pixels of a rectangle that are not the dialog face: text, edges.
int Marked(const platform::Screenshot& shot, const CRect& r) {
    int n = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, shot.height); ++y)
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, shot.width); ++x) n += shot.At(x, y) != kFace;
    return n;
}

TEST_F(StationRun, ScreenshotDuringAWriteShowsTheStatusTheFilledBarAndBothButtons) {
    Plug(KeshBench(1));
    PressOk();
    bool taken = false;
    op.When([&] { return Page()->GetShownPercent() >= 30; }, [&] {
        taken = true;
        platform::Screenshot shot = op.TakeScreenshot(Sheet()->m_hWnd);
        ASSERT_GT(shot.width, 0);
        std::filesystem::create_directories("test-output");
        EXPECT_TRUE(shot.SavePng("test-output/eeprom-page-writing.png"));
        auto where = [&](int id) {
            CRect r;
            Page()->GetDlgItem(id)->GetWindowRect(&r);
            Sheet()->ScreenToClient(&r);
            return r;
        };
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusWriting);
        CRect status = where(IDC_STATUS);
        EXPECT_GT(Marked(shot, status), 30) << "the status text is drawn";
        // The bar's fill ends where the written part says.
        CRect bar = where(IDC_PROGRESS);
        int low = int(Page()->SendDlgItemMessage(IDC_PROGRESS, PBM_GETRANGE, TRUE, 0));
        int high = int(Page()->SendDlgItemMessage(IDC_PROGRESS, PBM_GETRANGE, FALSE, 0));
        int pos = op.ProgressPos(IDC_PROGRESS);
        ASSERT_GT(pos, low);
        ASSERT_LT(pos, high);
        int edge = bar.left + 2 + MulDiv(bar.Width() - 4, pos - low, high - low);
        int middle = (bar.top + bar.bottom) / 2;
        EXPECT_EQ(shot.At(bar.left + 3, middle), kHighlight);
        EXPECT_EQ(shot.At(edge - 1, middle), kHighlight) << "filled up to the edge";
        EXPECT_EQ(shot.At(edge, middle), kFace) << "and not beyond";
        // Both buttons: their face and their (disabled, embossed) captions.
        for (int id : {IDC_DEVICE_OK, IDC_DEVICE_CANCEL}) {
            CRect button = where(id);
            EXPECT_EQ(shot.At(button.left + 5, button.top + 5), kFace) << id;  // inside the focus rectangle
            CRect inside = button;
            inside.DeflateRect(4, 4);
            EXPECT_GT(Marked(shot, inside), 10) << "the caption of " << id;
        }
    });
    CloseAtTheEnd();
    RunProgram();
    EXPECT_TRUE(taken);
}

// The places in a picture where an image stands whole: every pixel that is not its white
// (transparent) shows the image's own colour.
int PlacesShowing(const platform::Screenshot& shot, const CRect& area, HBITMAP image, int size) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image);
    std::vector<std::pair<POINT, uint32_t>> opaque;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (c != RGB(255, 255, 255)) opaque.push_back({POINT{x, y}, uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c))});
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    int places = 0;
    for (int top = area.top; top + size <= area.bottom; ++top)
        for (int left = area.left; left + size <= area.right; ++left) {
            bool all = true;
            for (const auto& [at, colour] : opaque)
                if (!(all = shot.At(left + at.x, top + at.y) == colour)) break;
            places += all;
        }
    return places;
}

TEST_F(StationRun, CardListShowsTheCardImageOnEveryRow) {
    Plug(KeshBench(2));
    PressOk();
    CloseAtTheEnd([&] {
        Page()->InitCardList();
        for (int row = 0; row < 2; ++row) Page()->AddCardRow(row, Sheet()->GetCard(row));
        // The list as the card-list variant of the page shows it, tall enough for both rows.
        CWnd* list = Page()->GetDlgItem(IDC_CARD_LIST);
        CRect page;
        Page()->GetClientRect(&page);
        list->MoveWindow(0, page.bottom - 75, page.right, 75);
        list->ShowWindow(SW_SHOW);
        platform::Screenshot shot = op.TakeScreenshot(Sheet()->m_hWnd);
        std::filesystem::create_directories("test-output");
        EXPECT_TRUE(shot.SavePng("test-output/eeprom-page-card-list.png"));
        CRect area;
        list->GetWindowRect(&area);
        Sheet()->ScreenToClient(&area);
        HBITMAP cards = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDB_CARD_LIST));
        ASSERT_NE(cards, nullptr);
        EXPECT_EQ(PlacesShowing(shot, area, cards, 24), 2) << "the first card image, once on each row";
        DeleteObject(cards);
    });
    RunProgram();
}

}  // namespace
