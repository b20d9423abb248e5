// Skin bitmaps: the fast region builder against the per-pixel one at every depth, the key rules,
// the transparent and three-piece draws pixel for pixel, and the region and resource helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "DrawBmpHelper.h"
#include "EnBitmap.h"
#include "SkinBitmap.h"
#include "SkinShare.h"

namespace {

constexpr COLORREF kKey = RGB(0x10, 0x20, 0x08);  // exact in 5-6-5 as well

uint32_t PixelOf(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// A bottom-up DIB section of the depth; *bits gets its pixel memory, *stride its row length.
HBITMAP MakeDib(int bpp, int w, int h, uint8_t** bits, int* stride) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * 4, 0);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
    if (bpp == 16) {
        bmi->bmiHeader.biCompression = BI_BITFIELDS;
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(bmi->bmiColors, masks, sizeof masks);
    }
    if (bpp == 8) {
        bmi->bmiColors[0] = RGBQUAD{0x08, 0x20, 0x10, 0};  // the key
        for (int i = 1; i < 256; ++i) bmi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    }
    void* p = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = static_cast<uint8_t*>(p);
    *stride = ((w * bpp + 31) / 32) * 4;
    return b;
}

// Stores a key pixel or a random other one at (x, y) of a bottom-up DIB.
void PutPixel(uint8_t* bits, int stride, int h, int bpp, int x, int y, bool key, std::mt19937& rng) {
    uint8_t* p = bits + size_t(h - 1 - y) * stride + size_t(x) * (bpp / 8);
    uint32_t v = 0;
    if (bpp == 8) v = key ? 0 : 1 + rng() % 255;
    if (bpp == 16) {
        const uint32_t packed = (0x08 >> 3) | ((0x20 >> 2) << 5) | ((0x10 >> 3) << 11);
        v = key ? packed : rng() & 0xFFFF;
        if (!key && v == packed) v ^= 1;
    }
    if (bpp >= 24) {
        v = key ? PixelOf(kKey) : rng() & 0xFFFFFF;
        if (!key && v == PixelOf(kKey)) v ^= 1;
    }
    std::memcpy(p, &v, size_t(bpp / 8));
}

TEST(SkinRegion, FastBuilderAgreesWithThePerPixelBuilderAtEveryDepth) {
    std::mt19937 rng(35);
    for (int bpp : {8, 16, 24, 32}) {
        for (int round = 0; round < 4; ++round) {
            const int w = 5 + int(rng() % 40), h = 3 + int(rng() % 30);
            uint8_t* bits;
            int stride;
            CSkinBitmap skin;
            skin.Attach(MakeDib(bpp, w, h, &bits, &stride));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) PutPixel(bits, stride, h, bpp, x, y, rng() % 3 == 0, rng);
            HRGN fast = skin.CreateRegion(kKey);
            ASSERT_NE(fast, nullptr) << bpp;
            CRgn slow;
            skin.MakeRgnByPixels(&slow, kKey);
            EXPECT_TRUE(EqualRgn(fast, slow)) << bpp << " bits, " << w << "x" << h;
            RECT box;
            GetRgnBox(slow, &box);
            EXPECT_LE(box.right, w) << "no pixel past the bitmap";
            EXPECT_LE(box.bottom, h);
            DeleteObject(fast);
        }
    }
}

TEST(SkinRegion, KeyRulesAndDepthsWithoutARegion) {
    // 24 bits, left half key coloured: the right half.
    uint8_t* bits;
    int stride;
    CSkinBitmap half;
    half.Attach(MakeDib(24, 10, 4, &bits, &stride));
    std::mt19937 rng(1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) PutPixel(bits, stride, 4, 24, x, y, x < 5, rng);
    HRGN right = half.CreateRegion(kKey);
    HRGN expected = CreateRectRgn(5, 0, 10, 4);
    EXPECT_TRUE(EqualRgn(right, expected));
    DeleteObject(right);
    DeleteObject(expected);

    // 32 bits whose fourth byte is set: nothing matches, the full rectangle.
    CSkinBitmap alpha;
    alpha.Attach(MakeDib(32, 6, 3, &bits, &stride));
    for (int i = 0; i < 6 * 3; ++i) {
        uint32_t v = PixelOf(kKey) | 0xFF000000u;
        std::memcpy(bits + i * 4, &v, 4);
    }
    HRGN full = alpha.CreateRegion(kKey);
    expected = CreateRectRgn(0, 0, 6, 3);
    EXPECT_TRUE(EqualRgn(full, expected));
    DeleteObject(full);
    DeleteObject(expected);

    // All transparent: an empty region. 1 and 4 bits: no region at all.
    CSkinBitmap clear;
    clear.Attach(MakeDib(24, 4, 4, &bits, &stride));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) PutPixel(bits, stride, 4, 24, x, y, true, rng);
    HRGN empty = clear.CreateRegion(kKey);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    DeleteObject(empty);
    for (int bpp : {1, 4}) {
        CSkinBitmap low;
        low.Attach(MakeDib(bpp, 8, 8, &bits, &stride));
        EXPECT_EQ(low.CreateRegion(kKey), nullptr) << bpp;
    }
    CSkinBitmap none;
    EXPECT_EQ(none.CreateRegion(kKey), nullptr);
}

TEST(SkinRegion, ColumnBuilderRemovesKeyRunsOfEveryColumnAndThePathHelpersKeepTheFolder) {
    uint8_t* bits;
    int stride;
    CSkinBitmap skin;
    skin.Attach(MakeDib(24, 3, 9, &bits, &stride));
    std::mt19937 rng(2);
    // Column 0 opaque; column 1 key at rows 3..6; column 2 key from row 5 to the bottom.
    for (int y = 0; y < 9; ++y) {
        PutPixel(bits, stride, 9, 24, 0, y, false, rng);
        PutPixel(bits, stride, 9, 24, 1, y, y >= 3 && y <= 6, rng);
        PutPixel(bits, stride, 9, 24, 2, y, y >= 5, rng);
    }
    CRgn region;
    CSkinShare::MakeRgnByColumns(&region, &skin, kKey);
    for (int y = 0; y < 9; ++y) {
        EXPECT_TRUE(region.PtInRegion(0, y)) << y;
        EXPECT_EQ(region.PtInRegion(1, y), !(y >= 3 && y <= 6)) << y;
        EXPECT_EQ(region.PtInRegion(2, y), y < 5) << y;
    }
    RECT box;
    region.GetRgnBox(&box);
    EXPECT_EQ(box.right, 3);

    EXPECT_EQ(CSkinSharePath::GetFolder("C:\\skins\\blue\\back.bmp"), "C:\\skins\\blue");
    EXPECT_EQ(CSkinSharePath::GetFolder("back.bmp"), "");
    char program[MAX_PATH] = {0};
    ::GetModuleFileName(nullptr, program, MAX_PATH);
    CString folder = CSkinSharePath::GetProgramFolder();
    EXPECT_FALSE(folder.IsEmpty());
    EXPECT_EQ(CString(program).Left(folder.GetLength() + 1), folder + "\\") << "the program's own folder";
}

// A 32-bit top-down surface in a memory DC.
struct Surface {
    explicit Surface(int w, int h) : width(w) {
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* p = nullptr;
        bitmap.Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
        bits = static_cast<uint32_t*>(p);
        dc.CreateCompatibleDC(nullptr);
        old = dc.SelectObject(&bitmap);
        for (int i = 0; i < w * h; ++i) bits[i] = 0xABCDEF;
    }
    ~Surface() { dc.SelectObject(old); }
    uint32_t At(int x, int y) const { return bits[y * width + x]; }
    int width;
    CBitmap bitmap;
    CDC dc;
    CBitmap* old;
    uint32_t* bits;
};

TEST(SkinDraw, TransparentDrawKeepsTheTargetAtKeyPixelsAndCopiesTheRest) {
    std::mt19937 rng(3);
    uint8_t* bits;
    int stride;
    const int w = 17, h = 11;
    CSkinBitmap skin;
    skin.Attach(MakeDib(24, w, h, &bits, &stride));
    std::vector<std::vector<bool>> key(h, std::vector<bool>(w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) PutPixel(bits, stride, h, 24, x, y, key[y][x] = rng() % 2 == 0, rng);
    Surface target(30, 20);
    for (int i = 0; i < 30 * 20; ++i) target.bits[i] = rng() & 0xFFFFFF;
    std::vector<uint32_t> before(target.bits, target.bits + 30 * 20);
    ASSERT_TRUE(skin.DrawTransparent(&target.dc, 4, 3, kKey));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 4 && x < 4 + w && y >= 3 && y < 3 + h;
            if (!inside || key[y - 3][x - 4]) {
                ASSERT_EQ(target.At(x, y), before[y * 30 + x]) << x << "," << y;
            } else {
                uint32_t source = 0;
                std::memcpy(&source, bits + size_t(h - 1 - (y - 3)) * stride + size_t(x - 4) * 3, 3);
                ASSERT_EQ(target.At(x, y), source) << x << "," << y;
            }
        }
    }
}

// A 24-bit bitmap of one colour.
void Solid(CSkinBitmap* skin, int w, int h, COLORREF colour) {
    uint8_t* bits;
    int stride;
    skin->Attach(MakeDib(24, w, h, &bits, &stride));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = PixelOf(colour);
            std::memcpy(bits + size_t(y) * stride + size_t(x) * 3, &v, 3);
        }
}

TEST(SkinDraw, ThreePieceDrawsClipAndFillTheMiddle) {
    CSkinBitmap left, middle, right;
    Solid(&left, 10, 5, RGB(255, 0, 0));
    Solid(&middle, 3, 5, RGB(0, 255, 0));
    Solid(&right, 4, 5, RGB(0, 0, 255));
    // Narrower than the left piece: only its clipped part.
    Surface narrow(20, 8);
    CRect small(2, 1, 8, 6);
    CSkinBitmap::DrawHorizontal(&narrow.dc, &small, &left, &middle, &right, false);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(narrow.At(x, 3), x >= 2 && x < 8 ? 0xFF0000u : 0xABCDEFu) << x;
    EXPECT_EQ(narrow.At(4, 0), 0xABCDEFu);
    // Wide, tiled: left, middle, right.
    Surface wide(40, 8);
    CRect all(0, 0, 30, 5);
    CSkinBitmap::DrawHorizontal(&wide.dc, &all, &left, &middle, &right, false);
    EXPECT_EQ(wide.At(9, 2), 0xFF0000u);
    EXPECT_EQ(wide.At(10, 2), 0x00FF00u);
    EXPECT_EQ(wide.At(25, 2), 0x00FF00u);
    EXPECT_EQ(wide.At(26, 2), 0x0000FFu);
    EXPECT_EQ(wide.At(30, 2), 0xABCDEFu);
    // Vertical and stretched: the pieces fill the target's width.
    CSkinBitmap top, bottom;
    Solid(&top, 2, 3, RGB(255, 0, 0));
    Solid(&bottom, 2, 2, RGB(0, 0, 255));
    Surface column(12, 20);
    CRect tall(1, 0, 11, 15);
    CSkinBitmap::DrawVertical(&column.dc, &tall, &top, &middle, &bottom, true);
    EXPECT_EQ(column.At(10, 2), 0xFF0000u);
    EXPECT_EQ(column.At(10, 8), 0x00FF00u);
    EXPECT_EQ(column.At(10, 14), 0x0000FFu);
    EXPECT_EQ(column.At(11, 8), 0xABCDEFu);
}

// (CSkinBitmap::Draw's DCs: the hundred paints of MBackText's test.)
TEST(SkinDraw, AHundredTransparentDrawsGiveBackEveryDCAndBitmap) {
    CSkinBitmap skin;
    Solid(&skin, 8, 6, RGB(255, 0, 0));
    Surface target(20, 10);
    const int dcs = GdiLiveObjectCount(OBJ_MEMDC), bitmaps = GdiLiveObjectCount(OBJ_BITMAP);
    for (int i = 0; i < 100; ++i)
        CEnBitmap::DrawTransparent(target.dc, 0, 0, 8, 6, skin, 0, 0, RGB(0, 0, 255), nullptr);
    EXPECT_EQ(GdiLiveObjectCount(OBJ_MEMDC), dcs);
    EXPECT_EQ(GdiLiveObjectCount(OBJ_BITMAP), bitmaps);
}

TEST(SkinResources, ResourceBytesAreMeasuredThenCopiedWhenTheyFit) {
    static const BYTE data[] = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3};
    AfxRegisterResourceData(3501, RT_RCDATA, data, sizeof data);
    int size = 0;
    ASSERT_TRUE(CEnBitmap::LoadFromResource(3501, RT_RCDATA, nullptr, nullptr, &size));
    EXPECT_EQ(size, 9);
    std::vector<BYTE> buffer(9);
    int small = 8;
    EXPECT_FALSE(CEnBitmap::LoadFromResource(3501, RT_RCDATA, nullptr, buffer.data(), &small));
    EXPECT_TRUE(CEnBitmap::LoadFromResource(3501, RT_RCDATA, nullptr, buffer.data(), &size));
    EXPECT_EQ(std::memcmp(buffer.data(), data, 9), 0);
    EXPECT_FALSE(CEnBitmap::LoadFromResource(3502, RT_RCDATA, nullptr, nullptr, &size));
}

}  // namespace
