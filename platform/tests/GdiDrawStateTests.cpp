// DrawState: a disabled bitmap or icon embossed in the highlight and shadow colours, a mono one in
// the brush given, pixel for pixel.
#include <gtest/gtest.h>

#include "GdiTestSurfaces.h"
#include "platform/winuser.h"

namespace {

constexpr uint32_t kGround = 0x123456;

// A 4 x 4 white bitmap with a black 2 x 2 square at (1, 1).
struct SquareBitmap {
    SquareBitmap() : surface(4, 4) {
        surface.Fill(0xFFFFFF);
        for (int y = 1; y < 3; ++y)
            for (int x = 1; x < 3; ++x) surface.At(x, y) = 0;
        SelectObject(surface.dc, surface.old);  // free to be drawn from
    }
    ~SquareBitmap() { SelectObject(surface.dc, surface.bitmap); }
    TestSurface surface;
};

TEST(GdiDrawState, DisabledBitmapsAndIconsAreEmbossedAndMonoOnesTakeTheBrush) {
    const uint32_t highlight = PixelOfColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    const uint32_t shadow = PixelOfColor(GetSysColor(COLOR_BTNSHADOW));
    SquareBitmap square;
    TestSurface target(8, 8);
    target.Fill(kGround);
    ASSERT_TRUE(DrawStateA(target.dc, nullptr, nullptr, LPARAM(square.surface.bitmap), 0, 2, 2, 0, 0,
                           DST_BITMAP | DSS_DISABLED));
    EXPECT_EQ(target.At(3, 3), shadow) << "the square in the shadow";
    EXPECT_EQ(target.At(4, 4), shadow);
    EXPECT_EQ(target.At(5, 5), highlight) << "the highlight below and right of it";
    EXPECT_EQ(target.At(5, 4), highlight);
    EXPECT_EQ(target.At(5, 3), kGround);
    EXPECT_EQ(target.At(2, 2), kGround) << "the white of the bitmap lets the target show";
    EXPECT_EQ(target.At(6, 6), kGround);

    target.Fill(kGround);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    ASSERT_TRUE(DrawStateA(target.dc, red, nullptr, LPARAM(square.surface.bitmap), 0, 0, 0, 0, 0,
                           DST_BITMAP | DSS_MONO));
    EXPECT_EQ(target.At(1, 1), 0xFF0000u);
    EXPECT_EQ(target.At(2, 2), 0xFF0000u);
    EXPECT_EQ(target.At(0, 0), kGround);
    EXPECT_EQ(target.At(3, 3), kGround);
    DeleteObject(red);

    // An icon the program does not carry draws as a white square framed in black.
    TestSurface wide(40, 40);
    wide.Fill(kGround);
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCE(4711));
    ASSERT_TRUE(DrawStateA(wide.dc, nullptr, nullptr, LPARAM(icon), 0, 0, 0, 0, 0, DST_ICON | DSS_DISABLED));
    EXPECT_EQ(wide.At(0, 0), shadow) << "the frame in the shadow";
    EXPECT_EQ(wide.At(31, 10), shadow);
    EXPECT_EQ(wide.At(32, 10), highlight);
    EXPECT_EQ(wide.At(1, 1), highlight);
    EXPECT_EQ(wide.At(16, 16), kGround) << "the white inside lets the target show";
}

}  // namespace
