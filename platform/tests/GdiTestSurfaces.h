// Surfaces for GDI tests: 32-bit top-down DIB sections selected into memory DCs, whose pixels
// the test reads and writes directly (0x00RRGGBB values).
#pragma once

#include <cstdint>
#include <random>

#include "platform/wingdi.h"

struct TestSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;

    TestSurface(int w, int h) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~TestSurface() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    uint32_t& At(int x, int y) { return bits[y * width + x]; }
    void Fill(uint32_t pixel) {
        for (int i = 0; i < width * height; ++i) bits[i] = pixel;
    }
    // Random pixels from a few colours, so equal-colour cases come up.
    void Randomise(std::mt19937& rng, uint32_t keyColour = 0x123456) {
        const uint32_t palette[] = {keyColour, 0xFFFFFF, 0x000000, 0x808080};
        for (int i = 0; i < width * height; ++i)
            bits[i] = (rng() % 3 == 0) ? palette[rng() % 4] : (rng() & 0xFFFFFF);
    }
};

// The pixel value of a COLORREF.
inline uint32_t PixelOfColor(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
