// Raster operations, pattern fills and blits.
#include "gdi/Raster.h"

#include <cstdlib>
#include <cstring>

namespace platform::gdi {

uint32_t TargetPixel(const Bitmap& target, COLORREF color) {
    uint32_t p = PixelOf(color);
    if (target.Mono()) return target.Nearest(p) ? 0xFFFFFF : 0;
    return p;
}

Pattern MakePattern(const DC& dc, const Bitmap& target, HGDIOBJ brush) {
    Pattern pat;
    Brush* b = Get<Brush>(brush);
    if (!b || b->style == BS_NULL) return pat;
    pat.none = false;
    COLORREF color = (brush == Stock(DC_BRUSH)) ? dc.s.dcBrush : b->color;
    pat.color = TargetPixel(target, color);
    if (b->style == BS_PATTERN && b->pattern && b->pattern->width > 0 && b->pattern->height > 0) {
        const Bitmap& src = *b->pattern;
        pat.width = src.width;
        pat.height = src.height;
        pat.originX = dc.s.brushOrg.x + dc.offset.x;
        pat.originY = dc.s.brushOrg.y + dc.offset.y;
        pat.tile.resize(size_t(src.width) * size_t(src.height));
        // A monochrome pattern draws its 0 bits in the text colour and its 1 bits in the background.
        uint32_t zero = TargetPixel(target, dc.s.text), one = TargetPixel(target, dc.s.bk);
        for (int y = 0; y < src.height; ++y) {
            src.ReadSpan(y, 0, src.width, &pat.tile[size_t(y) * size_t(src.width)]);
            for (int x = 0; x < src.width; ++x) {
                uint32_t& p = pat.tile[size_t(y) * size_t(src.width) + size_t(x)];
                if (src.Mono()) p = (p & 1) ? one : zero;
                else if (target.Mono()) p = target.Nearest(p) ? 0xFFFFFF : 0;
            }
        }
    }
    return pat;
}

void PaintPattern(DC& dc, const RECT& area, HGDIOBJ brush, DWORD rop) {
    Bitmap* t = dc.Target();
    if (!t) return;
    Pattern pat = MakePattern(dc, *t, brush);
    uint8_t code = uint8_t(rop >> 16);
    if (pat.none && RopUsesPattern(code)) return;
    ForSpans(dc, area, [&](int y, int x, int n, uint32_t* px) {
        if (code == 0xF0 && pat.tile.empty()) {
            std::fill(px, px + n, pat.color);
            return;
        }
        for (int i = 0; i < n; ++i) px[i] = Rop3(code, pat.At(x + i, y), 0, px[i]);
    });
}

void PaintColor(DC& dc, const RECT& area, COLORREF color, int rop2) {
    Bitmap* t = dc.Target();
    if (!t || rop2 == R2_NOP) return;
    uint32_t p = TargetPixel(*t, color);
    ForSpans(dc, area, [&](int, int, int n, uint32_t* px) {
        if (rop2 == R2_COPYPEN) std::fill(px, px + n, p);
        else
            for (int i = 0; i < n; ++i) px[i] = Rop2(rop2, p, px[i]);
    });
}

namespace {

// Where a rectangle given by a start point and a signed extent lies: a negative extent runs
// back from the start point, which it includes.
void Span(int start, int extent, int* low, int* high) {
    if (extent >= 0) {
        *low = start;
        *high = start + extent;
    } else {
        *low = start + extent + 1;
        *high = start + 1;
    }
}

// The source offset of destination offset j: nearest neighbour.
int Nearest(int j, int destExtent, int srcExtent) {
    return int((int64_t(j) * 2 + 1) * srcExtent / (int64_t(destExtent) * 2));
}

}  // namespace

BOOL Blit(DC& dc, int x, int y, int width, int height, const BlitSource* source, DWORD rop) {
    Bitmap* t = dc.Target();
    if (!t) return dc.info ? FALSE : TRUE;
    uint8_t code = uint8_t(rop >> 16);
    bool useSource = RopUsesSource(code);
    if (useSource && (!source || !source->bitmap)) return FALSE;
    if (width == 0 || height == 0) return TRUE;
    POINT a = dc.ToSurface(x, y);
    RECT area;
    Span(a.x, width, &area.left, &area.right);
    Span(a.y, height, &area.top, &area.bottom);
    if (!useSource) {
        PaintPattern(dc, area, dc.s.brush, rop);
        return TRUE;
    }
    const Bitmap& src = *source->bitmap;
    if (source->width == 0 || source->height == 0) return TRUE;
    int aw = std::abs(width), ah = std::abs(height);
    int sw = std::abs(source->width), sh = std::abs(source->height);
    // The column and row maps and the source line are this thread's, kept from blit to blit.
    thread_local std::vector<int> cols, rows;
    cols.resize(size_t(aw));
    rows.resize(size_t(ah));
    for (int i = 0; i < aw; ++i) {
        int k = Nearest(width > 0 ? i : aw - 1 - i, aw, sw);
        cols[size_t(i)] = source->width > 0 ? source->x + k : source->x - k;
    }
    for (int i = 0; i < ah; ++i) {
        int k = Nearest(height > 0 ? i : ah - 1 - i, ah, sh);
        rows[size_t(i)] = source->height > 0 ? source->y + k : source->y - k;
    }
    // The source as the destination sees it: monochrome and colour meet through the DCs' colours.
    bool toColor = src.Mono() && !t->Mono(), toMono = !src.Mono() && t->Mono();
    uint32_t zero = PixelOf(dc.s.text), one = PixelOf(dc.s.bk);
    uint32_t key = PixelOf(source->background) & 0xFFFFFF;
    Pattern pat;
    if (RopUsesPattern(code)) {
        pat = MakePattern(dc, *t, dc.s.brush);
        if (pat.none) return TRUE;
    }
    // A blit within one bitmap reads the source as it was before.
    std::unique_ptr<Bitmap> copy;
    const Bitmap* from = &src;
    if (&src == t) {
        copy = std::make_unique<Bitmap>(src);
        copy->window = nullptr;
        copy->changed.clear();
        from = copy.get();
    }
    bool straight = width > 0 && source->width > 0 && aw == sw && !toColor && !toMono &&
                    from->bpp == 32 && code == 0xCC;
    thread_local std::vector<uint32_t> line;
    line.resize(size_t(from->width));
    int lineRow = -1;
    ForSpans(dc, area, [&](int py, int px0, int n, uint32_t* px) {
        int sy = rows[size_t(py - area.top)];
        if (sy < 0 || sy >= from->height) return;
        int first = px0 - area.left;
        if (straight) {
            int sx = cols[size_t(first)];
            int lo = std::max(0, -sx), hi = std::min(n, from->width - sx);
            if (lo < hi)
                std::memcpy(px + lo, reinterpret_cast<const uint32_t*>(from->Row(sy)) + sx + lo, size_t(hi - lo) * 4);
            return;
        }
        if (sy != lineRow) {
            from->ReadSpan(sy, 0, from->width, line.data());
            lineRow = sy;
        }
        for (int i = 0; i < n; ++i) {
            int sx = cols[size_t(first + i)];
            if (sx < 0 || sx >= from->width) continue;
            uint32_t s = line[size_t(sx)];
            if (toColor) s = (s & 1) ? one : zero;
            else if (toMono) s = ((s & 0xFFFFFF) == key) ? 0xFFFFFF : 0;
            uint32_t p = pat.none ? 0 : pat.At(px0 + i, py);
            px[i] = Rop3(code, p, s, px[i]);
        }
    });
    return TRUE;
}

}  // namespace platform::gdi

using namespace platform::gdi;

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    if (RopUsesSource(uint8_t(rop >> 16))) return FALSE;
    return Blit(*d, x, y, width, height, nullptr, rop);
}

BOOL StretchBlt(HDC dc, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    if (!RopUsesSource(uint8_t(rop >> 16))) return Blit(*d, x, y, width, height, nullptr, rop);
    DC* s = Get<DC>(src);
    if (!s || !s->Target()) return FALSE;
    BlitSource source;
    source.bitmap = s->Target();
    POINT p = s->ToSurface(srcX, srcY);
    source.x = p.x;
    source.y = p.y;
    source.width = srcWidth;
    source.height = srcHeight;
    source.background = s->s.bk;
    return Blit(*d, x, y, width, height, &source, rop);
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    return StretchBlt(dc, x, y, width, height, src, srcX, srcY, width, height, rop);
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !rect) return 0;
    // A system colour index plus one stands for that colour's brush.
    if (reinterpret_cast<uintptr_t>(brush) <= COLOR_INFOBK + 1 && brush)
        brush = GetSysColorBrush(int(reinterpret_cast<uintptr_t>(brush) - 1));
    if (!Get<Brush>(brush)) return 0;
    PaintPattern(*d, d->ToSurface(*rect), brush, PATCOPY);
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!rect || rect->left >= rect->right || rect->top >= rect->bottom) return 0;
    const RECT& r = *rect;
    RECT sides[4] = {{r.left, r.top, r.right, r.top + 1},
                     {r.left, r.bottom - 1, r.right, r.bottom},
                     {r.left, r.top, r.left + 1, r.bottom},
                     {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& s : sides)
        if (!FillRect(dc, &s, brush)) return 0;
    return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
    if (!rect) return FALSE;
    return PatBlt(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, DSTINVERT);
}
