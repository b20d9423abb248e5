// The raster core: clipped spans of a DC's target, ternary raster operations, brushes as
// patterns, and the blit every copy goes through (BitBlt, StretchBlt, StretchDIBits).
#pragma once

#include <algorithm>
#include <vector>

#include "gdi/GdiObjects.h"

namespace platform::gdi {

// The result of a ternary raster operation (the high word's low byte of the code) on pattern,
// source and destination, bit by bit.
inline uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    switch (code) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x66: return s ^ d;
    case 0x5A: return p ^ d;
    case 0x55: return ~d;
    case 0x33: return ~s;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFF;
    default: break;
    }
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (code & (1 << i)) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r;
}
// A pen's binary raster operation (R2_*) on pen and destination; the fourth byte stays.
inline uint32_t Rop2(int rop2, uint32_t p, uint32_t d) {
    if (rop2 == R2_COPYPEN) return p;
    int table = (rop2 - 1) & 15;
    uint32_t r = 0;
    for (int k = 0; k < 4; ++k)
        if (table & (1 << k)) r |= ((k & 2) ? p : ~p) & ((k & 1) ? d : ~d);
    return (r & 0xFFFFFF) | (d & 0xFF000000);
}
inline bool RopUsesSource(uint8_t code) { return ((code >> 2) ^ code) & 0x33; }
inline bool RopUsesPattern(uint8_t code) { return ((code >> 4) ^ code) & 0x0F; }

// A colour as the target stores it: a monochrome target holds only black and white.
uint32_t TargetPixel(const Bitmap& target, COLORREF color);

// A brush as a pattern over surface coordinates.
struct Pattern {
    bool none = true;  // a null brush: nothing is painted
    uint32_t color = 0;
    const Bitmap* bitmap = nullptr;
    std::vector<uint32_t> tile;  // the pattern's pixels converted for the target
    int width = 0, height = 0;
    int originX = 0, originY = 0;
    uint32_t At(int x, int y) const {
        if (tile.empty()) return color;
        int u = (x - originX) % width, v = (y - originY) % height;
        if (u < 0) u += width;
        if (v < 0) v += height;
        return tile[size_t(v) * size_t(width) + size_t(u)];
    }
};
Pattern MakePattern(const DC& dc, const Bitmap& target, HGDIOBJ brush);

// Calls fn(y, x, n, pixels) for every span of `area` (surface coordinates) inside the DC's clip;
// pixels are the target's, read before and written after the call.
template <class F>
void ForSpans(DC& dc, const RECT& area, F&& fn) {
    Bitmap* t = dc.Target();
    if (!t || area.left >= area.right || area.top >= area.bottom) return;
    const Region& clip = dc.ClipWithin(area);
    std::vector<uint32_t> buffer;
    for (const Band& band : clip.Bands()) {
        for (size_t i = 0; i < band.spans.size(); i += 2) {
            int x = band.spans[i], n = band.spans[i + 1] - x;
            for (int y = band.top; y < band.bottom; ++y) {
                if (t->bpp == 32) {
                    fn(y, x, n, reinterpret_cast<uint32_t*>(t->Row(y)) + x);
                } else {
                    buffer.resize(size_t(n));
                    t->ReadSpan(y, x, n, buffer.data());
                    fn(y, x, n, buffer.data());
                    t->WriteSpan(y, x, n, buffer.data());
                }
            }
        }
    }
    if (!clip.Empty()) t->MarkChanged(clip.Box());
}

// Draws pixels made by the caller straight into the DC's target, for a painter that makes its
// own (the video renderers): fn(row, column, n, pixels) for every span of `rect` (logical
// coordinates) the clip lets through, row and column counted from the rectangle's corner.
// False when `dc` is not a DC.
template <class F>
bool DrawRows(HDC dc, const RECT& rect, F&& fn) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return false;
    const RECT area = d->ToSurface(rect);
    ForSpans(*d, area, [&](int y, int x, int n, uint32_t* px) { fn(y - area.top, x - area.left, n, px); });
    return true;
}

// Fills a surface rectangle with a brush through a raster operation.
void PaintPattern(DC& dc, const RECT& area, HGDIOBJ brush, DWORD rop);
// Fills a surface rectangle with a colour through a pen's binary raster operation.
void PaintColor(DC& dc, const RECT& area, COLORREF color, int rop2);

struct BlitSource {
    const Bitmap* bitmap = nullptr;
    int x = 0, y = 0, width = 0, height = 0;  // in the bitmap's coordinates; negative extents mirror
    COLORREF background = 0xFFFFFF;            // the source DC's background colour
};
// The one blit: destination rectangle in logical coordinates, negative extents mirroring.
BOOL Blit(DC& dc, int x, int y, int width, int height, const BlitSource* source, DWORD rop);

}  // namespace platform::gdi
