// Region objects: creation, combination, queries and filling.
#include <cstring>

#include "gdi/Raster.h"
#include "gdi/RegionData.h"

using namespace platform::gdi;

namespace {
HRGN NewRegion(Region r) {
    auto o = std::make_unique<RegionObject>();
    o->region = std::move(r);
    return static_cast<HRGN>(Insert(std::move(o), OBJ_REGION));
}
RECT Ordered(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    Guard g(Lock());
    return NewRegion(Region(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    if (!r) return FALSE;
    r->region = Region(Ordered(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
    Guard g(Lock());
    RegionObject* d = Get<RegionObject>(dest);
    RegionObject* ra = Get<RegionObject>(a);
    if (!d || !ra) return ERROR;
    if (mode == RGN_COPY) {
        d->region = ra->region;
        return d->region.Kind();
    }
    RegionObject* rb = Get<RegionObject>(b);
    if (!rb) return ERROR;
    Region::Op op;
    switch (mode) {
    case RGN_AND: op = Region::Op::And; break;
    case RGN_OR: op = Region::Op::Or; break;
    case RGN_XOR: op = Region::Op::Xor; break;
    case RGN_DIFF: op = Region::Op::Diff; break;
    default: return ERROR;
    }
    d->region = Region::Combine(ra->region, rb->region, op);
    return d->region.Kind();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    if (!r) return ERROR;
    r->region.Offset(dx, dy);
    return r->region.Kind();
}

int GetRgnBox(HRGN region, LPRECT box) {
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    if (!r || !box) return ERROR;
    *box = r->region.Box();
    return r->region.Kind();
}

BOOL PtInRegion(HRGN region, int x, int y) {
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    return (r && r->region.Contains(x, y)) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    if (!r || !rect) return FALSE;
    return r->region.Intersects(Ordered(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    Guard g(Lock());
    RegionObject* ra = Get<RegionObject>(a);
    RegionObject* rb = Get<RegionObject>(b);
    if (!ra || !rb) return ERROR;
    return ra->region == rb->region ? TRUE : FALSE;
}

DWORD GetRegionData(HRGN region, DWORD size, LPRGNDATA data) {
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    if (!r) return 0;
    std::vector<RECT> rects = r->region.Rects();
    DWORD needed = DWORD(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data) return needed;
    if (size < needed) return 0;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(rects.size());
    data->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    data->rdh.rcBound = r->region.Box();
    if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return needed;
}

HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data) {
    Region region;
    if (!RegionFromData(transform, size, data, &region)) return nullptr;
    Guard g(Lock());
    return NewRegion(std::move(region));
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    RegionObject* r = Get<RegionObject>(region);
    if (!d || !r || !Get<Brush>(brush)) return FALSE;
    for (const RECT& rect : r->region.Rects()) PaintPattern(*d, d->ToSurface(rect), brush, PATCOPY);
    return TRUE;
}

BOOL PaintRgn(HDC dc, HRGN region) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    return d ? FillRgn(dc, region, static_cast<HBRUSH>(d->s.brush)) : FALSE;
}
