// Blits against a small independent model on random surfaces: the raster operations by their
// truth tables, monochrome conversions, clipping, and stretching down, up and mirrored.
#include <gtest/gtest.h>

#include <vector>

#include "GdiTestSurfaces.h"

namespace {

// The model: a raster operation's result, bit by bit from its truth table.
uint32_t ModelRop(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t r = 0;
    for (int bit = 0; bit < 24; ++bit) {
        int index = int((p >> bit) & 1) << 2 | int((s >> bit) & 1) << 1 | int((d >> bit) & 1);
        r |= uint32_t((code >> index) & 1) << bit;
    }
    return r;
}

// The model's nearest neighbour: destination offset j of n maps to source offset of m.
int ModelSource(int j, int n, int m) { return int((j + 0.5) * m / n); }

struct Clip {
    RECT a, b;  // the clip region is the union of two rectangles
    bool Contains(int x, int y) const {
        auto in = [&](const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
        return in(a) || in(b);
    }
};

RECT RandomRect(std::mt19937& rng, int w, int h) {
    int l = int(rng() % w) - 4, t = int(rng() % h) - 4;
    return RECT{l, t, l + 1 + int(rng() % w), t + 1 + int(rng() % h)};
}

void SelectClip(HDC dc, const Clip& c) {
    HRGN a = CreateRectRgnIndirect(&c.a), b = CreateRectRgnIndirect(&c.b);
    CombineRgn(a, a, b, RGN_OR);
    SelectClipRgn(dc, a);
    DeleteObject(a);
    DeleteObject(b);
}

const DWORD kRops[] = {SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
                       MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS, 0x00B8074A,
                       0x00E20746, 0x001C0000, 0x00A50000, 0x00690000};

TEST(GdiBlit, EveryRopAgreesWithTheModelUnderAClipRegion) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        TestSurface dst(37, 29), src(31, 23);
        dst.Randomise(rng);
        src.Randomise(rng);
        std::vector<uint32_t> before(dst.bits, dst.bits + dst.width * dst.height);
        DWORD rop = kRops[round % std::size(kRops)];
        COLORREF brushColour = rng() & 0xFFFFFF;
        HBRUSH brush = CreateSolidBrush(brushColour);
        HGDIOBJ oldBrush = SelectObject(dst.dc, brush);
        Clip clip{RandomRect(rng, 37, 29), RandomRect(rng, 37, 29)};
        SelectClip(dst.dc, clip);
        int x = int(rng() % 40) - 5, y = int(rng() % 30) - 5, w = int(rng() % 30) + 1, h = int(rng() % 25) + 1;
        int sx = int(rng() % 34) - 3, sy = int(rng() % 26) - 3;
        ASSERT_TRUE(BitBlt(dst.dc, x, y, w, h, src.dc, sx, sy, rop));
        uint8_t code = uint8_t(rop >> 16);
        bool usesSource = (((code >> 2) ^ code) & 0x33) != 0;
        for (int py = 0; py < dst.height; ++py)
            for (int px = 0; px < dst.width; ++px) {
                uint32_t expected = before[size_t(py * dst.width + px)] & 0xFFFFFF;
                int u = px - x + sx, v = py - y + sy;
                bool inside = px >= x && px < x + w && py >= y && py < y + h && clip.Contains(px, py);
                bool sourceThere = !usesSource || (u >= 0 && u < src.width && v >= 0 && v < src.height);
                if (inside && sourceThere)
                    expected = ModelRop(code, PixelOfColor(brushColour), usesSource ? src.At(u, v) & 0xFFFFFF : 0,
                                        expected);
                ASSERT_EQ(dst.At(px, py) & 0xFFFFFF, expected)
                    << "rop " << std::hex << rop << std::dec << " round " << round << " at " << px << "," << py;
            }
        SelectObject(dst.dc, oldBrush);
        DeleteObject(brush);
    }
}

TEST(GdiBlit, SourceCopyKeepsTheFourthByteOfA32BitBitmap) {
    TestSurface dst(4, 4), src(4, 4);
    src.Fill(0xAB102030);
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.At(3, 3), 0xAB102030u);
}

TEST(GdiBlit, MonochromeAndColourMeetThroughTheDcColours) {
    std::mt19937 rng(11);
    for (int round = 0; round < 10; ++round) {
        const int w = 19, h = 13;
        // A monochrome bitmap from random words; its 0 bits take the text colour, its 1 bits the background.
        std::vector<uint8_t> maskBits(size_t(4 * h));
        for (auto& b : maskBits) b = uint8_t(rng());
        HBITMAP mono = CreateBitmap(w, h, 1, 1, maskBits.data());
        HDC monoDc = CreateCompatibleDC(nullptr);
        HGDIOBJ oldMono = SelectObject(monoDc, mono);
        TestSurface colour(w, h);
        colour.Randomise(rng);
        COLORREF text = rng() & 0xFFFFFF, back = rng() & 0xFFFFFF;
        SetTextColor(colour.dc, text);
        SetBkColor(colour.dc, back);
        ASSERT_TRUE(BitBlt(colour.dc, 0, 0, w, h, monoDc, 0, 0, SRCCOPY));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bool one = (maskBits[size_t(y * 4 + x / 8)] >> (7 - x % 8)) & 1;
                ASSERT_EQ(colour.At(x, y) & 0xFFFFFF, PixelOfColor(one ? back : text)) << x << "," << y;
            }
        // Colour to monochrome: 1 exactly where the pixel is the source DC's background colour.
        TestSurface source(w, h);
        source.Randomise(rng, 0x00C0FFEE);
        SetBkColor(source.dc, RGB(0xC0, 0xFF, 0xEE));
        ASSERT_TRUE(BitBlt(monoDc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(GetPixel(monoDc, x, y), source.At(x, y) == 0x00C0FFEE ? 0xFFFFFFu : 0u) << x << "," << y;
        SelectObject(monoDc, oldMono);
        DeleteDC(monoDc);
        DeleteObject(mono);
    }
}

TEST(GdiBlit, StretchDownUpAndMirroredPicksTheNearestSourcePixel) {
    std::mt19937 rng(3);
    struct Case {
        int w, h, sw, sh;
    } cases[] = {{20, 10, 40, 30}, {45, 33, 15, 11}, {-20, 17, 23, 17}, {16, -9, 32, 27}, {-13, -13, 13, 13}};
    for (const Case& c : cases) {
        TestSurface dst(50, 40), src(45, 35);
        dst.Fill(0x00010203);
        src.Randomise(rng);
        SetStretchBltMode(dst.dc, COLORONCOLOR);
        // A negative extent runs back from the start point, which it includes.
        int x = c.w < 0 ? 2 - c.w - 1 : 2, y = c.h < 0 ? 3 - c.h - 1 : 3;
        ASSERT_TRUE(StretchBlt(dst.dc, x, y, c.w, c.h, src.dc, 1, 2, c.sw, c.sh, SRCCOPY));
        int aw = std::abs(c.w), ah = std::abs(c.h);
        for (int j = 0; j < ah; ++j)
            for (int i = 0; i < aw; ++i) {
                int u = 1 + ModelSource(i, aw, c.sw), v = 2 + ModelSource(j, ah, c.sh);
                int px = c.w < 0 ? x - i : x + i, py = c.h < 0 ? y - j : y + j;
                ASSERT_EQ(dst.At(px, py), src.At(u, v)) << c.w << "x" << c.h << " at " << i << "," << j;
            }
        // Nothing outside the destination rectangle changed.
        EXPECT_EQ(dst.At(0, 0), 0x00010203u);
        EXPECT_EQ(dst.At(49, 39), 0x00010203u);
    }
}

TEST(GdiBlit, PatternBrushesTileFromTheBrushOrigin) {
    TestSurface pattern(3, 2), dst(10, 7);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) pattern.At(x, y) = uint32_t(0x100 * (y * 3 + x + 1));
    HBRUSH brush = CreatePatternBrush(pattern.bitmap);
    SetBrushOrgEx(dst.dc, 1, 1, nullptr);
    RECT all{0, 0, 10, 7};
    ASSERT_TRUE(FillRect(dst.dc, &all, brush));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x) {
            int u = ((x - 1) % 3 + 3) % 3, v = ((y - 1) % 2 + 2) % 2;
            ASSERT_EQ(dst.At(x, y), uint32_t(0x100 * (v * 3 + u + 1))) << x << "," << y;
        }
    DeleteObject(brush);
}

TEST(GdiBlit, BadHandlesGetTheFailureValue) {
    TestSurface s(4, 4);
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_FALSE(BitBlt(stale, 0, 0, 4, 4, s.dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(s.dc, 0, 0, 4, 4, stale, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(s.dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(s.dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(stale, 0, 0), CLR_INVALID);
    EXPECT_EQ(SelectObject(s.dc, reinterpret_cast<HGDIOBJ>(s.dc)), nullptr);  // a DC is no object to select
    EXPECT_FALSE(DeleteObject(nullptr));
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    EXPECT_FALSE(FillRect(s.dc, nullptr, nullptr));
    EXPECT_EQ(GetTextColor(reinterpret_cast<HDC>(region)), CLR_INVALID);  // wrong type
    DeleteObject(region);
}

TEST(GdiBlit, AnObjectDeletedWhileSelectedIsFreedWhenDeselected) {
    int before = GdiLiveObjectCount(OBJ_BRUSH);
    TestSurface s(2, 2);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(s.dc, brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GdiLiveObjectCount(OBJ_BRUSH), before + 1);  // still selected: still drawn with
    ASSERT_TRUE(PatBlt(s.dc, 0, 0, 2, 2, PATCOPY));
    EXPECT_EQ(s.At(1, 1), 0x010203u);
    SelectObject(s.dc, old);
    EXPECT_EQ(GdiLiveObjectCount(OBJ_BRUSH), before);
    EXPECT_EQ(GetObjectType(brush), 0u);
}

}  // namespace
