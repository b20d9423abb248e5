// What a person sees of the EEPROM page during a write on the simulated bench: the status text,
// the progress bar filled to the written part, and both buttons. The picture is left in the
// test output (test-output/eeprom-page-writing.png) for people to look at.
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

}  // namespace
