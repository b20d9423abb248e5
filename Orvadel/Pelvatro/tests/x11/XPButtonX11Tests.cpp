// CXPButton under the real pointer on Xvfb: moving over it gives the hover look (the row
// gradient by row × 63 / height) after one tracking request, moving off gives the normal look
// back, and each entry asks for tracking once.
#include <gtest/gtest.h>

#include <chrono>

#include "XPButton.h"
#include "XServerSession.h"
#include "platform/testoperator.h"

namespace {

constexpr UINT kHoverDialog = 3590;
constexpr int kButton = 1100;

const AfxResourceRegistrar kResources({
    {kHoverDialog, "XP hover", 0, 0, 120, 70, WS_POPUP | WS_CAPTION,
     {{kButton, "Button", "确 定", 10, 10, 80, 30, WS_VISIBLE | BS_PUSHBUTTON, 0}}},
});

// Counts the tracking requests (the button starts tracking) and the moves it was told of.
class CountingXPButton : public CXPButton {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        BOOL before = IsTracking();
        LRESULT result = CXPButton::WindowProc(message, wParam, lParam);
        if (message == WM_MOUSEMOVE) ++moves;
        if (!before && IsTracking()) ++requests;
        return result;
    }
    int requests = 0;
    int moves = 0;
};

class HoverDialog : public CDialog {
public:
    HoverDialog() : CDialog(kHoverDialog) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        button.SubclassDlgItem(kButton, this);
        return TRUE;
    }
    CountingXPButton button;
};

TEST(XPButtonX11, PointerOverItGivesTheHoverLookWithOneTrackingRequestPerEntry) {
    testsupport::XServerSession x;
    XSERVER_OR_SKIP(x);
    platform::TestOperator op;
    HoverDialog dialog;
    // Each wait gives up after a few seconds of real time (the server answers in real time).
    auto await = [&](std::function<bool()> ready, const char* what, std::function<void()> step) {
        auto deadline = std::make_shared<std::chrono::steady_clock::time_point>();
        op.Then([deadline] { *deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10); });
        op.When([=] { return ready() || std::chrono::steady_clock::now() > *deadline; },
                [=] {
                    EXPECT_TRUE(ready()) << "never came: " << what;
                    step();
                });
    };
    CRect r;
    int height = 0, column = 0;
    POINT centre{};
    platform::Screenshot normal;
    auto expected = [&](int row, bool hover) {
        const int k = row * 63 / height;
        const int rg = hover ? 255 - k / 4 : 255 - k / 3;
        return uint32_t(rg << 16 | rg << 8 | (255 - k / 5));
    };
    auto gradientIs = [&](const platform::Screenshot& shot, bool hover) {
        int edge = GetSystemMetrics(SM_CYEDGE);
        for (int row = 4; row < height - 4; row += 5)
            if (shot.At(column, r.top + edge + row) != expected(row, hover)) return false;
        return true;
    };
    await([&] { return x.Find("XP hover") != 0; }, "the dialog's X window", [&] {
        dialog.button.GetWindowRect(&r);
        dialog.ScreenToClient(&r);
        height = r.Height() - 2 * GetSystemMetrics(SM_CYEDGE);
        column = r.left + r.Width() / 2 - 20;  // clear of the text and the frame
        centre = x.CentreOf(dialog.button.m_hWnd);
        normal = op.TakeScreenshot(dialog.m_hWnd);
        EXPECT_TRUE(gradientIs(normal, false));
        x.MoveTo(centre.x - 20, centre.y);
    });
    int movesSeen = 0;
    await([&] { return dialog.button.IsHover(); }, "the hover notice", [&] {
        EXPECT_TRUE(gradientIs(op.TakeScreenshot(dialog.m_hWnd), true)) << "the hover gradient";
        movesSeen = dialog.button.moves;
        x.MoveTo(centre.x - 18, centre.y + 2);
        x.MoveTo(centre.x - 16, centre.y + 3);
    });
    // (Moves that come together are read as one.)
    await([&] { return dialog.button.moves > movesSeen; }, "moves within the button", [&] {
        EXPECT_EQ(dialog.button.requests, 1) << "one request for the whole stay";
        x.MoveTo(centre.x, centre.y + r.Height());  // off the button, still over the dialog
    });
    await([&] { return !dialog.button.IsTracking() && !dialog.button.IsHover(); }, "the leave notice", [&] {
        EXPECT_EQ(op.TakeScreenshot(dialog.m_hWnd).pixels, normal.pixels) << "the normal look back";
        movesSeen = dialog.button.moves;
        x.MoveTo(centre.x - 20, centre.y);
    });
    await([&] { return dialog.button.IsHover(); }, "the hover notice again", [&] {
        EXPECT_EQ(dialog.button.requests, 2) << "one more request for the second entry; moves " << dialog.button.moves
                                             << " (" << movesSeen << " before), tracking " << dialog.button.IsTracking();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(op.StepsDone());
}

}  // namespace
