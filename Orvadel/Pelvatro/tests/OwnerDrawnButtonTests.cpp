// The owner-drawn buttons: a page's fail button with its bevel rings, pressed look and focus
// rectangle, and the gradient button's hover and normal looks.
#include <gtest/gtest.h>

#include <vector>

#include "BaseTestPage.h"
#include "XPButton.h"
#include "platform/testoperator.h"
#include "resource.h"

namespace {

constexpr UINT kQuestionPage = 3520;
constexpr UINT kNoFailPage = 3521;
constexpr UINT kGradientDialog = 3522;
constexpr int kGradient = 1100;

const AfxResourceRegistrar kResources({
    {kQuestionPage, "", 0, 0, 200, 100, WS_CHILD,
     {{1013, "Static", "是否通过?", 10, 5, 150, 12, WS_VISIBLE | SS_LEFT, 0},
      {IDC_FAIL, "Button", "失 败", 20, 40, 60, 20, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0},
      {IDC_PASS, "Button", "通 过", 110, 40, 60, 20, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0}}},
    {kNoFailPage, "", 0, 0, 100, 50, WS_CHILD,
     {{IDC_PASS, "Button", "通 过", 10, 10, 60, 20, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0}}},
    {kGradientDialog, "Gradient", 0, 0, 120, 60, WS_POPUP | WS_CAPTION,
     {{1101, "Edit", "", 10, 45, 40, 12, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0},
      {kGradient, "Button", "确 定", 10, 10, 80, 30, WS_VISIBLE | BS_PUSHBUTTON, 0}}},
});

class QuestionPage : public CBaseTestPage {
public:
    explicit QuestionPage(UINT id) : CBaseTestPage(id, nullptr), m_id(id) {}
    BOOL Open() { return CDialog::Create(m_id, nullptr); }
    CColorButton& FailButton() { return m_btnFail; }

private:
    UINT m_id;
};

// The button's rectangle in its top-level window's client area.
CRect ItemRect(CWnd* parent, int id) {
    CRect r;
    parent->GetDlgItem(id)->GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
}

TEST(ColorButton, FailButtonPaintsItsBevelRingsPressedLookAndFocus) {
    platform::TestOperator op;
    QuestionPage page(kQuestionPage);
    ASSERT_TRUE(page.Open());
    page.ShowWindow(SW_SHOW);
    EXPECT_EQ(page.FailButton().GetFaceColor(), RGB(255, 0, 0));
    const CRect r = ItemRect(&page, IDC_FAIL);
    platform::Screenshot shot = op.TakeScreenshot(page.m_hWnd);
    // Outer ring: white top and left, 0x7F7F7F bottom and right; inner: 0xDFDFDF and 0x555555.
    EXPECT_EQ(shot.At(r.left + 5, r.top), 0xFFFFFFu);
    EXPECT_EQ(shot.At(r.left, r.top + 5), 0xFFFFFFu);
    EXPECT_EQ(shot.At(r.left + 5, r.bottom - 1), 0x7F7F7Fu);
    EXPECT_EQ(shot.At(r.right - 1, r.top + 5), 0x7F7F7Fu);
    EXPECT_EQ(shot.At(r.left + 5, r.top + 1), 0xDFDFDFu);
    EXPECT_EQ(shot.At(r.left + 1, r.top + 5), 0xDFDFDFu);
    EXPECT_EQ(shot.At(r.left + 5, r.bottom - 2), 0x555555u);
    EXPECT_EQ(shot.At(r.right - 2, r.top + 5), 0x555555u);
    EXPECT_EQ(shot.At(r.left + 3, r.top + 3), 0xFF0000u) << "the red face";
    // No focus: the focus rectangle's row is all face.
    EXPECT_EQ(shot.At(r.left + 8, r.top + 4), 0xFF0000u);

    // Focused and held: the pressed frame (0x808080 top and left, white bottom and right) and the
    // focus rectangle drawn twice over a repainted face, so it shows once.
    page.GetDlgItem(IDC_FAIL)->SetFocus();
    page.GetDlgItem(IDC_FAIL)->SendMessage(BM_SETSTATE, TRUE);
    shot = op.TakeScreenshot(page.m_hWnd);
    EXPECT_EQ(shot.At(r.left + 5, r.top), 0x808080u);
    EXPECT_EQ(shot.At(r.left, r.top + 5), 0x808080u);
    EXPECT_EQ(shot.At(r.left + 5, r.bottom - 1), 0xFFFFFFu);
    EXPECT_EQ(shot.At(r.right - 1, r.top + 5), 0xFFFFFFu);
    EXPECT_EQ(shot.At(r.left + 5, r.top + 1), 0xFF0000u) << "one ring only";
    int marked = 0;
    for (int x = r.left + 4; x < r.right - 4; ++x) marked += shot.At(x, r.top + 4) != 0xFF0000u;
    EXPECT_GT(marked, 0) << "the focus rectangle";
    page.GetDlgItem(IDC_FAIL)->SendMessage(BM_SETSTATE, FALSE);
    page.DestroyWindow();
}

TEST(ColorButton, AttachOnAMissingItemStoresNothing) {
    platform::TestOperator op;
    QuestionPage page(kNoFailPage);
    ASSERT_TRUE(page.Open());
    EXPECT_EQ(page.FailButton().m_hWnd, nullptr);
    EXPECT_EQ(page.FailButton().GetFaceColor(), 0u);
    CColorButton button;
    EXPECT_FALSE(button.Attach(IDC_FAIL, &page, RGB(255, 0, 0), 1, 2, 2));
    EXPECT_EQ(button.GetFaceColor(), 0u);
    EXPECT_EQ(button.m_hWnd, nullptr);
    page.DestroyWindow();
}

class GradientDialog : public CDialog {
public:
    GradientDialog() : CDialog(kGradientDialog) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        button.SubclassDlgItem(kGradient, this);
        return TRUE;
    }
    CXPButton button;
};

TEST(XPButton, HoverLookAndBackWithOneTrackingRequestPerEntry) {
    platform::TestOperator op;
    GradientDialog dialog;
    ASSERT_TRUE(dialog.Create(kGradientDialog));
    dialog.ShowWindow(SW_SHOW);
    EXPECT_EQ(dialog.button.GetStyle() & 0x0F, DWORD(BS_OWNERDRAW));
    const CRect r = ItemRect(&dialog, kGradient);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);
    const int height = r.Height() - 2 * edgeY;
    // Not lit, not hover: (255 - k/3, 255 - k/3, 255 - k/5), k = row * 63 / height.
    auto expected = [&](int row, bool hover) {
        const int k = row * 63 / height;
        const int rg = hover ? 255 - k / 4 : 255 - k / 3;
        const int b = 255 - k / 5;
        return uint32_t(rg << 16 | rg << 8 | b);
    };
    const int x = r.left + r.Width() / 2 - 20;  // clear of the text and the frame
    platform::Screenshot normal = op.TakeScreenshot(dialog.m_hWnd);
    for (int row = 4; row < height - 4; row += 5)
        EXPECT_EQ(normal.At(x, r.top + edgeY + row), expected(row, false)) << row;
    EXPECT_EQ(normal.At(r.left + r.Width() / 2, r.top), 0x000000u) << "the outline";

    dialog.button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(dialog.button.IsTracking());
    dialog.button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    dialog.button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(6, 5));
    EXPECT_TRUE(dialog.button.IsHover());
    platform::Screenshot hover = op.TakeScreenshot(dialog.m_hWnd);
    for (int row = 4; row < height - 4; row += 5)
        EXPECT_EQ(hover.At(x, r.top + edgeY + row), expected(row, true)) << row;
    EXPECT_EQ(hover.At(x, r.top + edgeY), 0xFAC458u) << "the top frame line";

    dialog.button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(dialog.button.IsHover());
    EXPECT_FALSE(dialog.button.IsTracking());
    platform::Screenshot back = op.TakeScreenshot(dialog.m_hWnd);
    EXPECT_EQ(back.pixels, normal.pixels);
    dialog.DestroyWindow();
}

}  // namespace
