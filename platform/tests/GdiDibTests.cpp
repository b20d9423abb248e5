// GetDIBits as the skin bitmaps call it (a 52-byte header buffer), conversions between depths,
// lines, rectangles and the focus rectangle, pixel for pixel.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GdiTestSurfaces.h"

namespace {

// 16 bits as 5-6-5, with the three masks after the header.
void UseMasks565(BITMAPINFO* bmi) {
    bmi->bmiHeader.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(bmi->bmiColors, masks, sizeof masks);
}

HBITMAP MakeDib(int bpp, int w, int h, void** bits) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * 4, 0);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
    for (int i = 0; i < 256; ++i) bmi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    if (bpp == 16) UseMasks565(bmi);
    return CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(GdiDib, HeaderOnlyCallFillsTheFormatAndWritesNoColourTable) {
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    struct Case {
        int bpp;
        DWORD compression;
    } cases[] = {{1, BI_RGB}, {4, BI_RGB}, {8, BI_RGB}, {16, BI_BITFIELDS}, {24, BI_RGB}, {32, BI_RGB}};
    for (const Case& c : cases) {
        void* bits;
        HBITMAP b = MakeDib(c.bpp, 13, 7, &bits);
        BITMAP bm;
        ASSERT_EQ(GetObjectA(b, sizeof bm, &bm), int(sizeof bm));
        // The skin bitmaps' buffer: 40 + 12 bytes, zeroed; a guard after it.
        std::vector<uint8_t> buffer(52 + 16, 0xAB);
        std::memset(buffer.data(), 0, 52);
        auto* info = reinterpret_cast<BITMAPINFO*>(buffer.data());
        info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        ASSERT_NE(GetDIBits(ic, b, 0, UINT(bm.bmHeight), nullptr, info, DIB_RGB_COLORS), 0);
        EXPECT_EQ(info->bmiHeader.biBitCount, c.bpp);
        EXPECT_EQ(info->bmiHeader.biCompression, c.compression);
        EXPECT_EQ(info->bmiHeader.biSizeImage, DWORD(((13 * c.bpp + 31) / 32) * 4 * 7));
        EXPECT_EQ(info->bmiHeader.biWidth, 13);
        EXPECT_EQ(info->bmiHeader.biHeight, 7);
        const auto* masks = reinterpret_cast<const DWORD*>(buffer.data() + 40);
        if (c.bpp == 16) {
            EXPECT_EQ(masks[0], 0xF800u);
            EXPECT_EQ(masks[1], 0x07E0u);
            EXPECT_EQ(masks[2], 0x001Fu);
        } else {
            EXPECT_EQ(masks[0], 0u) << "no colour table in the header call (" << c.bpp << " bits)";
        }
        for (size_t i = 52; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xAB) << "written past the buffer";
        DeleteObject(b);
    }
    DeleteDC(ic);
}

TEST(GdiDib, BitsCallsConvertEveryDepthBothWays) {
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        const int w = 11, h = 5;
        void* p;
        HBITMAP b = MakeDib(bpp, w, h, &p);
        int stride = ((w * bpp + 31) / 32) * 4;
        auto* bits = static_cast<uint8_t*>(p);
        for (int i = 0; i < stride * h; ++i) bits[i] = uint8_t(i * 37 + 11);
        if (bpp == 32)
            for (int i = 0; i < w * h; ++i) bits[i * 4 + 3] = 0x5A;  // the fourth byte is kept
        // Read back in its own depth: the same bytes (within each row's pixels), bottom-up.
        std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * 4, 0);
        auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
        bmi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
        if (bpp == 16) UseMasks565(bmi);
        std::vector<uint8_t> same(size_t(stride * h));
        ASSERT_EQ(GetDIBits(ic, b, 0, h, same.data(), bmi, DIB_RGB_COLORS), h);
        for (int y = 0; y < h; ++y)
            for (int bit = 0; bit < w * bpp; ++bit) {
                int byte = y * stride + bit / 8, shift = 7 - bit % 8;
                ASSERT_EQ((same[size_t(byte)] >> shift) & 1, (bits[byte] >> shift) & 1) << bpp << " bits at " << bit;
            }
        if (bpp <= 8) {
            EXPECT_EQ(bmi->bmiColors[1].rgbGreen, 254) << "the colour table comes with the bits";
        }
        // As 32 bits top-down: row 0 is the last stored row; the colours are the pixels' own.
        bmi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<uint32_t> wide(size_t(w * h));
        ASSERT_EQ(GetDIBits(ic, b, 0, h, wide.data(), bmi, DIB_RGB_COLORS), h);
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, b);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(wide[size_t(y * w + x)] & 0xFFFFFF, PixelOfColor(GetPixel(mem, x, y))) << bpp << " bits";
        if (bpp == 32) {
            EXPECT_EQ(wide[0] >> 24, 0x5Au);
        }
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(b);
    }
    DeleteDC(ic);
}

TEST(GdiShapes, LinesLeaveOutTheEndPointAndRectanglesKeepTheirPens) {
    TestSurface s(20, 20);
    s.Fill(0xFFFFFF);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(s.dc, red);
    MoveToEx(s.dc, 2, 3, nullptr);
    LineTo(s.dc, 8, 3);
    EXPECT_EQ(s.At(2, 3), 0xFF0000u);
    EXPECT_EQ(s.At(7, 3), 0xFF0000u);
    EXPECT_EQ(s.At(8, 3), 0xFFFFFFu) << "the end point is left out";
    LineTo(s.dc, 8, 10);
    EXPECT_EQ(s.At(8, 3), 0xFF0000u);
    EXPECT_EQ(s.At(8, 10), 0xFFFFFFu);
    // An inside-frame pen of 3 keeps the frame inside the rectangle; the brush fills the rest.
    s.Fill(0xFFFFFF);
    HPEN frame = CreatePen(PS_INSIDEFRAME, 3, RGB(0, 0, 255));
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(s.dc, frame);
    HGDIOBJ oldBrush = SelectObject(s.dc, green);
    Rectangle(s.dc, 2, 2, 12, 10);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inside = x >= 2 && x < 12 && y >= 2 && y < 10;
            bool ring = inside && (x < 5 || x >= 9 || y < 5 || y >= 7);
            ASSERT_EQ(s.At(x, y), ring ? 0x0000FFu : inside ? 0x00FF00u : 0xFFFFFFu) << x << "," << y;
        }
    // A solid pen of 3 is centred on the outline; a null pen leaves out the last row and column.
    s.Fill(0xFFFFFF);
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
    SelectObject(s.dc, wide);
    Rectangle(s.dc, 5, 5, 12, 12);
    EXPECT_EQ(s.At(4, 4), 0x0000FFu);
    EXPECT_EQ(s.At(12, 12), 0x0000FFu);
    EXPECT_EQ(s.At(13, 13), 0xFFFFFFu);
    s.Fill(0xFFFFFF);
    SelectObject(s.dc, GetStockObject(NULL_PEN));
    Rectangle(s.dc, 5, 5, 12, 12);
    EXPECT_EQ(s.At(5, 5), 0x00FF00u);
    EXPECT_EQ(s.At(10, 10), 0x00FF00u);
    EXPECT_EQ(s.At(11, 11), 0xFFFFFFu);
    SelectObject(s.dc, oldPen);
    SelectObject(s.dc, oldBrush);
    for (HGDIOBJ o : {HGDIOBJ(red), HGDIOBJ(frame), HGDIOBJ(green), HGDIOBJ(wide)}) DeleteObject(o);
}

TEST(GdiShapes, FocusRectangleDrawnTwiceGivesThePixelsBack) {
    TestSurface s(30, 20);
    std::mt19937 rng(9);
    s.Randomise(rng);
    std::vector<uint32_t> before(s.bits, s.bits + 30 * 20);
    RECT r{3, 4, 25, 17};
    ASSERT_TRUE(DrawFocusRect(s.dc, &r));
    int changed = 0;
    for (int i = 0; i < 30 * 20; ++i) changed += s.bits[i] != before[size_t(i)];
    EXPECT_GT(changed, 20);
    EXPECT_EQ(s.At(10, 10), before[10 * 30 + 10]) << "only the frame";
    ASSERT_TRUE(DrawFocusRect(s.dc, &r));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), s.bits));
}

}  // namespace

namespace {

// A 24-bit BMP file of 3 x 2 pixels; `cut` bytes are left off its end.
std::string WriteBmp(const char* name, size_t cut, DWORD offBits = 54) {
    std::vector<uint8_t> bytes(54 + 2 * 12, 0);
    BITMAPFILEHEADER f{0x4D42, DWORD(bytes.size()), 0, 0, offBits};
    BITMAPINFOHEADER h{40, 3, 2, 1, 24, BI_RGB, 24, 0, 0, 0, 0};
    std::memcpy(bytes.data(), &f, sizeof f);
    std::memcpy(bytes.data() + 14, &h, sizeof h);
    bytes[54] = 0xFF;  // bottom-left pixel blue
    bytes.resize(bytes.size() - cut);
    std::string path = std::string(testing::TempDir()) + name;
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    return path;
}

TEST(GdiDib, BitmapFilesLoadAndMalformedOnesGiveNull) {
    std::string good = WriteBmp("good.bmp", 0);
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    EXPECT_EQ(GetPixel(mem, 0, 1), RGB(0, 0, 255));
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadImageA(nullptr, WriteBmp("short.bmp", 5).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, WriteBmp("offset.bmp", 0, 9000).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, WriteBmp("header.bmp", 40).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, "/nonexistent/picture.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

// A bitmap file of 2 x 1 pixels with a header of `headerSize` bytes (40, 108 or 124): 16-bit 5-6-5
// or 32-bit 8-8-8 bit fields, the masks inside the V4 and V5 headers and after the 40-byte one.
std::string WriteBitFieldsBmp(const char* name, DWORD headerSize, WORD bpp) {
    const bool masksAfter = headerSize == 40;
    const DWORD offBits = 14 + headerSize + (masksAfter ? 12 : 0);
    std::array<uint8_t, 14 + 124 + 8> bytes{};
    const size_t size = offBits + 8;
    BITMAPFILEHEADER f{0x4D42, DWORD(size), 0, 0, offBits};
    BITMAPINFOHEADER h{headerSize, 2, 1, 1, bpp, BI_BITFIELDS, 8, 0, 0, 0, 0};
    std::memcpy(bytes.data(), &f, sizeof f);
    std::memcpy(bytes.data() + 14, &h, sizeof h);
    const DWORD masks565[4] = {0xF800, 0x07E0, 0x001F, 0};
    const DWORD masks888[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};
    std::memcpy(bytes.data() + 14 + 40, bpp == 16 ? masks565 : masks888, masksAfter ? 12 : 16);
    uint8_t* pixels = bytes.data() + offBits;
    if (bpp == 16) {
        const uint16_t red = 0xF800, green = 0x07E0;
        std::memcpy(pixels, &red, 2);
        std::memcpy(pixels + 2, &green, 2);
    } else {
        const uint32_t red = 0xFFFF0000, blue = 0xFF0000FF;
        std::memcpy(pixels, &red, 4);
        std::memcpy(pixels + 4, &blue, 4);
    }
    std::string path = std::string(testing::TempDir()) + name;
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, size, out);
    std::fclose(out);
    return path;
}

TEST(GdiDib, BitmapFilesWithV4AndV5HeadersAndBitFieldsLoad) {
    struct Case {
        DWORD header;
        WORD bpp;
        COLORREF left, right;
    };
    for (const Case& c : {Case{40, 16, RGB(255, 0, 0), RGB(0, 255, 0)}, Case{108, 16, RGB(255, 0, 0), RGB(0, 255, 0)},
                          Case{124, 16, RGB(255, 0, 0), RGB(0, 255, 0)}, Case{108, 32, RGB(255, 0, 0), RGB(0, 0, 255)},
                          Case{124, 32, RGB(255, 0, 0), RGB(0, 0, 255)}}) {
        const std::string name = "fields" + std::to_string(c.header) + "-" + std::to_string(c.bpp) + ".bmp";
        const std::string path = WriteBitFieldsBmp(name.c_str(), c.header, c.bpp);
        for (UINT flags : {UINT(LR_LOADFROMFILE), UINT(LR_LOADFROMFILE | LR_CREATEDIBSECTION)}) {
            auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, flags));
            ASSERT_NE(bitmap, nullptr) << name;
            HDC mem = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(mem, bitmap);
            EXPECT_EQ(GetPixel(mem, 0, 0), c.left) << name;
            EXPECT_EQ(GetPixel(mem, 1, 0), c.right) << name;
            SelectObject(mem, old);
            DeleteDC(mem);
            DeleteObject(bitmap);
        }
    }
}

}  // namespace
