// Pixels, lines, rectangles and rounded figures, the focus rectangle and 3-D edges.
#include <cmath>
#include <cstdlib>

#include "gdi/Raster.h"

namespace platform::gdi {
namespace {

struct PenInfo {
    bool none = true;
    bool insideFrame = false;
    int width = 1;
    COLORREF color = 0;
};

PenInfo CurrentPen(const DC& d) {
    PenInfo info;
    Pen* p = Get<Pen>(d.s.pen);
    if (!p || p->style == PS_NULL) return info;
    info.none = false;
    info.insideFrame = p->style == PS_INSIDEFRAME;
    info.width = std::max(1, p->width);
    info.color = d.s.pen == Stock(DC_PEN) ? d.s.dcPen : p->color;
    return info;
}

// Pixels drawn one by one with the pen's raster operation, inside the DC's clip.
class Plotter {
public:
    explicit Plotter(DC& d) : m_dc(d), m_target(d.Target()), m_clip(d.Clip()) {}
    bool Ready() const { return m_target != nullptr; }
    void Plot(int x, int y, COLORREF color) {
        if (!m_clip.Contains(x, y)) return;
        m_target->Set(x, y, Rop2(m_dc.s.rop2, TargetPixel(*m_target, color), m_target->Get(x, y)));
        m_target->MarkChanged(RECT{x, y, x + 1, y + 1});
    }

private:
    DC& m_dc;
    Bitmap* m_target;
    Region m_clip;
};

// A rectangle whose corners are quarters of an ellipse of the given size (0: square corners),
// asked row by row, so a huge figure costs only the rows that are drawn.
struct Figure {
    RECT r;
    double rx, ry;
    Figure(const RECT& rect, int ellipseWidth, int ellipseHeight)
        : r(rect),
          rx(std::min<double>(ellipseWidth, double(rect.right) - rect.left) / 2.0),
          ry(std::min<double>(ellipseHeight, double(rect.bottom) - rect.top) / 2.0) {}
    // The span [left, right) of row y; empty outside the figure.
    void Row(int y, int* left, int* right) const {
        if (y < r.top || y >= r.bottom) {
            *left = *right = 0;
            return;
        }
        double mid = y + 0.5, dy = 0;
        if (mid < r.top + ry) dy = r.top + ry - mid;
        else if (mid > r.bottom - ry) dy = mid - (r.bottom - ry);
        int inset = 0;
        if (dy > 0 && ry > 0) inset = int(std::lround(rx - rx * std::sqrt(std::max(0.0, 1 - (dy / ry) * (dy / ry)))));
        *left = r.left + inset;
        *right = r.right - inset;
    }
    bool Inside(int x, int y) const {
        int l, rr;
        Row(y, &l, &rr);
        return x >= l && x < rr;
    }
};

// Draws a figure: its border of the pen's width in the pen, its inside in the brush.
void DrawFigure(DC& d, const RECT& logical, int ellipseWidth, int ellipseHeight) {
    PenInfo pen = CurrentPen(d);
    RECT r = d.ToSurface(logical);
    if (pen.none) {
        r.right -= 1;  // without a pen the figure is one pixel smaller
        r.bottom -= 1;
    } else if (!pen.insideFrame && pen.width > 1) {
        r = RECT{r.left - pen.width / 2, r.top - pen.width / 2, r.right + (pen.width - 1) / 2,
                 r.bottom + (pen.width - 1) / 2};
    }
    Bitmap* t = d.Target();
    if (!t || r.left >= r.right || r.top >= r.bottom) return;
    Figure f(r, ellipseWidth, ellipseHeight);
    int w = pen.none ? 0 : pen.width;
    Pattern brush = MakePattern(d, *t, d.s.brush);
    uint32_t penPixel = TargetPixel(*t, pen.color);
    Region clip = d.Clip().Intersect(r);
    if (clip.Empty()) return;
    RECT box = clip.Box();
    auto border = [&](int x, int y) {
        for (int k = 1; k <= w; ++k)
            if (!f.Inside(x - k, y) || !f.Inside(x + k, y) || !f.Inside(x, y - k) || !f.Inside(x, y + k)) return true;
        return false;
    };
    for (int y = box.top; y < box.bottom; ++y) {
        int left, right;
        f.Row(y, &left, &right);
        for (int x = std::max<int>(left, box.left); x < std::min<int>(right, box.right); ++x) {
            if (!clip.Contains(x, y)) continue;
            uint32_t dst = t->Get(x, y);
            if (w && border(x, y)) t->Set(x, y, Rop2(d.s.rop2, penPixel, dst));
            else if (!brush.none) t->Set(x, y, brush.At(x, y));
        }
    }
    t->MarkChanged(box);
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

COLORREF GetPixel(HDC dc, int x, int y) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !d->Target()) return CLR_INVALID;
    POINT p = d->ToSurface(x, y);
    if (!d->Clip().Contains(p.x, p.y)) return CLR_INVALID;
    return ColorOf(d->Target()->Get(p.x, p.y));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !d->Target()) return CLR_INVALID;
    POINT p = d->ToSurface(x, y);
    if (!d->Clip().Contains(p.x, p.y)) return CLR_INVALID;
    Bitmap* t = d->Target();
    t->Set(p.x, p.y, TargetPixel(*t, color));
    t->MarkChanged(RECT{p.x, p.y, p.x + 1, p.y + 1});
    return ColorOf(t->Get(p.x, p.y));
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    if (old) *old = d->s.current;
    d->s.current = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    POINT from = d->ToSurface(d->s.current.x, d->s.current.y), to = d->ToSurface(x, y);
    d->s.current = POINT{x, y};
    PenInfo pen = CurrentPen(*d);
    if (pen.none || !d->Target()) return TRUE;
    int w = pen.width, half = w / 2;
    // Straight lines as one rectangle each; the end point is left out.
    if (from.y == to.y || from.x == to.x) {
        RECT r;
        if (from.y == to.y)
            r = from.x <= to.x ? RECT{from.x, from.y - half, to.x, from.y - half + w}
                               : RECT{to.x + 1, from.y - half, from.x + 1, from.y - half + w};
        else
            r = from.y <= to.y ? RECT{from.x - half, from.y, from.x - half + w, to.y}
                               : RECT{from.x - half, to.y + 1, from.x - half + w, from.y + 1};
        PaintColor(*d, r, pen.color, d->s.rop2);
        return TRUE;
    }
    Plotter plot(*d);
    int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    if (dx > (1 << 20) || -dy > (1 << 20)) return TRUE;  // beyond any surface: nothing to walk
    int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    int err = dx + dy, px = from.x, py = from.y;
    while (px != to.x || py != to.y) {
        for (int i = 0; i < w; ++i)
            for (int j = 0; j < w; ++j) plot.Plot(px - half + i, py - half + j, pen.color);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            px += sx;
        }
        if (e2 <= dx) {
            err += dx;
            py += sy;
        }
    }
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    DrawFigure(*d, RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)}, 0, 0);
    return TRUE;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    DrawFigure(*d, RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)},
               std::abs(width), std::abs(height));
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return RoundRect(dc, left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !rect) return FALSE;
    RECT r = d->ToSurface(*rect);
    if (r.left >= r.right || r.top >= r.bottom) return TRUE;
    // Every other pixel of the frame inverted: drawing it twice gives the pixels back.
    RECT sides[4] = {{r.left, r.top, r.right, r.top + 1},
                     {r.left, r.bottom - 1, r.right, r.bottom},
                     {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                     {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
    for (int i = 0; i < 4; ++i) {
        if (i == 1 && r.bottom - 1 == r.top) continue;
        if (i == 3 && r.right - 1 == r.left) continue;
        ForSpans(*d, sides[i], [&](int y, int x, int n, uint32_t* px) {
            for (int k = 0; k < n; ++k)
                if (((x + k + y) & 1) == 0) px[k] ^= 0xFFFFFF;
        });
    }
    return TRUE;
}

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
    if (!rect) return FALSE;
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    RECT r = *rect;
    // The outer ring, then the inner one: top-left and bottom-right colours of each.
    struct Ring {
        UINT raised, sunken;
        int raisedTL, raisedBR, sunkenTL, sunkenBR;
    } rings[2] = {{BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                  {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
    for (const Ring& ring : rings) {
        int tl, br;
        if (edge & ring.raised) tl = ring.raisedTL, br = ring.raisedBR;
        else if (edge & ring.sunken) tl = ring.sunkenTL, br = ring.sunkenBR;
        else continue;
        if (flags & (BF_FLAT | BF_MONO)) tl = br = (flags & BF_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW;
        if (r.left >= r.right || r.top >= r.bottom) break;
        auto fill = [&](RECT side, int color) { PaintColor(*d, d->ToSurface(side), GetSysColor(color), R2_COPYPEN); };
        if (flags & BF_TOP) fill(RECT{r.left, r.top, r.right, r.top + 1}, tl);
        if (flags & BF_LEFT) fill(RECT{r.left, r.top, r.left + 1, r.bottom}, tl);
        if (flags & BF_BOTTOM) fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
        if (flags & BF_RIGHT) fill(RECT{r.right - 1, r.top, r.right, r.bottom}, br);
        if (flags & BF_LEFT) ++r.left;
        if (flags & BF_TOP) ++r.top;
        if (flags & BF_RIGHT) --r.right;
        if (flags & BF_BOTTOM) --r.bottom;
    }
    if ((flags & BF_MIDDLE) && r.left < r.right && r.top < r.bottom)
        PaintColor(*d, d->ToSurface(r), GetSysColor(COLOR_BTNFACE), R2_COPYPEN);
    if (flags & BF_ADJUST) *rect = r;
    return TRUE;
}
