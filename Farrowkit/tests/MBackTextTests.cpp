// MBackText on a test dialog: skin or solid background, text changes that repaint without
// touching the window's text, the same look when disabled, and fonts given back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "MBackText.h"
#include "platform/testoperator.h"

namespace {

constexpr UINT kDialog = 3510;
constexpr UINT kLabel = 1001;
constexpr UINT kSkin = 3511;

uint32_t PixelOf(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

const AfxResourceRegistrar kResources({
    {kDialog, "Labels", 0, 0, 160, 80, WS_POPUP | WS_CAPTION,
     {{kLabel, "Static", "旧文本", 10, 10, 100, 30, WS_VISIBLE | SS_LEFT, 0}}},
});

// A 24-bit packed DIB of 300 x 100 pixels, all of one colour, registered as a bitmap resource.
void RegisterSkin() {
    static std::vector<BYTE> dib = [] {
        const int w = 300, h = 100, stride = w * 3;
        std::vector<BYTE> bytes(sizeof(BITMAPINFOHEADER) + size_t(stride) * h, 0);
        BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        std::memcpy(bytes.data(), &header, sizeof header);
        for (size_t i = sizeof header; i + 2 < bytes.size(); i += 3) {
            bytes[i] = 0x30;  // blue
            bytes[i + 1] = 0xA0;
            bytes[i + 2] = 0x20;
        }
        return bytes;
    }();
    AfxRegisterResourceData(kSkin, RT_BITMAP, dib.data(), DWORD(dib.size()));
}

class LabelDialog : public CDialog {
public:
    LabelDialog() : CDialog(kDialog) {}
    MBackText label;
};

struct Shown {
    Shown() {
        EXPECT_TRUE(dialog.Create(kDialog));
        EXPECT_TRUE(dialog.label.SubclassDlgItem(kLabel, &dialog));
        dialog.ShowWindow(SW_SHOW);
        dialog.label.GetWindowRect(&rect);
        dialog.ScreenToClient(&rect);
    }
    ~Shown() { dialog.DestroyWindow(); }
    // The control's pixels in a screenshot of the dialog.
    std::vector<uint32_t> Pixels() {
        platform::Screenshot shot = op.TakeScreenshot(dialog.m_hWnd);
        std::vector<uint32_t> out;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) out.push_back(shot.At(x, y));
        return out;
    }
    uint32_t Corner() { return Pixels().front(); }
    platform::TestOperator op;
    LabelDialog dialog;
    CRect rect;
};

TEST(MBackText, SkinPaintsUntilABackgroundColourIsSet) {
    RegisterSkin();
    Shown shown;
    EXPECT_EQ(shown.dialog.label.GetText(), "旧文本");
    EXPECT_EQ(shown.Corner(), PixelOf(::GetSysColor(COLOR_BTNFACE)));
    ASSERT_TRUE(shown.dialog.label.LoadSkin(kSkin));
    shown.dialog.label.Invalidate();
    EXPECT_EQ(shown.Corner(), 0x20A030u);
    shown.dialog.label.SetBkColor(RGB(0, 0, 200));
    EXPECT_EQ(shown.dialog.label.GetBkColor(), RGB(0, 0, 200));
    shown.dialog.label.Invalidate();
    EXPECT_EQ(shown.Corner(), 0x0000C8u);
    // Sized to the skin, then drawn unscaled; a control larger than it stretches the skin.
    ASSERT_TRUE(shown.dialog.label.LoadSkin(kSkin));
    shown.dialog.label.SizeToSkin();
    CRect sized;
    shown.dialog.label.GetWindowRect(&sized);
    shown.dialog.ScreenToClient(&sized);
    EXPECT_EQ(sized.TopLeft(), shown.rect.TopLeft());
    EXPECT_EQ(sized.Width(), 300);
    EXPECT_EQ(sized.Height(), 100);
}

TEST(MBackText, SetTextRepaintsButTheWindowTextStays) {
    Shown shown;
    shown.dialog.label.m_crText = RGB(255, 0, 0);
    shown.dialog.label.Invalidate();
    std::vector<uint32_t> before = shown.Pixels();
    shown.dialog.label.SetWindowText("新的文本 PASS");
    EXPECT_EQ(shown.dialog.label.GetText(), "新的文本 PASS");
    CString windowText;
    shown.dialog.label.GetWindowText(windowText);
    EXPECT_EQ(windowText, "旧文本");
    std::vector<uint32_t> after = shown.Pixels();
    EXPECT_NE(before, after);
    bool red = false;
    for (uint32_t p : after) red = red || p == 0xFF0000u;
    EXPECT_TRUE(red) << "the text in the text colour";
}

TEST(MBackText, DisabledLooksEnabledAndFontsAreGivenBack) {
    Shown shown;
    std::vector<uint32_t> enabled = shown.Pixels();
    shown.dialog.label.EnableWindow(FALSE);
    shown.dialog.label.Invalidate();
    EXPECT_EQ(shown.Pixels(), enabled);

    const int fonts = GdiLiveObjectCount(OBJ_FONT);
    LOGFONT font{};
    shown.dialog.label.GetLogFont(&font);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfPitchAndFamily, FF_SWISS);
    for (int i = 0; i < 100; ++i) {
        font.lfHeight = -(10 + i % 30);
        font.lfWeight = 1200;
        shown.dialog.label.SetLogFont(&font);
    }
    EXPECT_EQ(GdiLiveObjectCount(OBJ_FONT), fonts);
    shown.dialog.label.Invalidate();
    EXPECT_NE(shown.Pixels(), enabled) << "the larger, heavier text";
}

TEST(MBackText, AHundredPaintsGiveBackTheirMemoryDCsAndCanvases) {
    RegisterSkin();
    Shown shown;
    ASSERT_TRUE(shown.dialog.label.LoadSkin(kSkin));
    shown.Pixels();
    const int dcs = GdiLiveObjectCount(OBJ_MEMDC), bitmaps = GdiLiveObjectCount(OBJ_BITMAP);
    for (int i = 0; i < 100; ++i) {
        shown.dialog.label.Invalidate();
        shown.dialog.label.UpdateWindow();
    }
    EXPECT_EQ(shown.Corner(), 0x20A030u) << "still painted";
    EXPECT_EQ(GdiLiveObjectCount(OBJ_MEMDC), dcs);
    EXPECT_EQ(GdiLiveObjectCount(OBJ_BITMAP), bitmaps);
}

}  // namespace
