// Device contexts: memory and information contexts, their state, saving and restoring it,
// coordinates and clipping.
#include <cstring>
#include <type_traits>

#include "platform/winctrl.h"

#include "gdi/GdiObjects.h"

namespace platform::gdi {

Bitmap* DC::Target() const {
    if (info) return nullptr;
    if (surface) return surface.get();
    return Get<Bitmap>(s.bitmap);
}

RECT DC::ToSurface(const RECT& r) const {
    POINT a = ToSurface(r.left, r.top), b = ToSurface(r.right, r.bottom);
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void DC::ClipInto(Region& out) const {
    Bitmap* t = Target();
    if (!t) return out.Clear();
    out.SetRect(RECT{0, 0, t->width, t->height});
    if (surface) out.CombineWith(visible, Region::Op::And);
    if (s.clipped) {
        thread_local Region c;
        c = s.clip;
        c.Offset(offset.x, offset.y);
        out.CombineWith(c, Region::Op::And);
    }
}

Region DC::Clip() const {
    Region r;
    ClipInto(r);
    return r;
}

const Region& DC::ClipWithin(const RECT& area) const {
    thread_local Region clip;
    ClipInto(clip);
    clip.CombineWith(area, Region::Op::And);
    return clip;
}

namespace {

void ReferenceState(const DCState& s) {
    for (HGDIOBJ h : {s.pen, s.brush, s.font, s.bitmap, s.palette}) Reference(h);
}
void ReleaseState(const DCState& s) {
    for (HGDIOBJ h : {s.pen, s.brush, s.font, s.bitmap, s.palette}) Release(h);
}

// The clip region in device coordinates, the whole target when there is none.
Region CurrentClip(const DC& d) {
    if (d.s.clipped) return d.s.clip;
    Bitmap* t = d.Target();
    Region r = t ? Region(RECT{0, 0, t->width, t->height}) : Region();
    r.Offset(-d.offset.x, -d.offset.y);
    if (d.surface) {
        Region v = d.visible;
        v.Offset(-d.offset.x, -d.offset.y);
        r = Region::Combine(r, v, Region::Op::And);
    }
    return r;
}

int SetClip(DC& d, Region clip) {
    d.s.clipped = true;
    d.s.clip = std::move(clip);
    return d.Clip().Kind();
}

template <class V>
V Swap(V& slot, V value) {
    V old = slot;
    slot = value;
    return old;
}

}  // namespace

HDC NewDC(bool memory, bool info) {
    const DWORD type = memory ? OBJ_MEMDC : OBJ_DC;
    DC* spare = SpareDC();
    auto made = spare ? nullptr : std::make_unique<DC>();
    DC* d = spare ? spare : made.get();
    d->memory = memory;
    d->info = info;
    d->s = DefaultState(memory);
    return static_cast<HDC>(spare ? InsertSpareDC(type) : Insert(std::move(made), type));
}

void FreeDC(DC* d) {
    HDC handle = static_cast<HDC>(d->handle);
    ReleaseState(d->s);
    for (const DCState& saved : d->saved) ReleaseState(saved);
    d->s = DCState{};
    d->saved.clear();
    d->deletePending = true;
    d->references = 1;
    Release(handle);
}

}  // namespace platform::gdi

using namespace platform::gdi;

HDC CreateCompatibleDC(HDC dc) {
    Guard g(Lock());
    if (dc && !Get<DC>(dc)) return nullptr;
    return NewDC(true, false);
}

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void*) {
    if (!driver || strcasecmp(driver, "DISPLAY") != 0) return nullptr;
    Guard g(Lock());
    return NewDC(false, true);
}

HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
    return CreateDCA(driver, device, output, init);
}

BOOL DeleteDC(HDC dc) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || d->window) return FALSE;  // a window's DC goes back with ReleaseDC
    FreeDC(d);
    return TRUE;
}

int SaveDC(HDC dc) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return 0;
    ReferenceState(d->s);
    d->saved.push_back(d->s);
    return int(d->saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    int n = int(d->saved.size());
    int index = saved < 0 ? n + saved : saved - 1;  // negative: relative to the last save
    if (index < 0 || index >= n) return FALSE;
    DCState state = d->saved[size_t(index)];
    for (int i = n - 1; i > index; --i) ReleaseState(d->saved[size_t(i)]);
    d->saved.resize(size_t(index));
    ReleaseState(d->s);
    d->s = std::move(state);  // its references move from the saved state to the current one
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return 0;
    Bitmap* t = d->Target();
    switch (index) {
    case HORZRES: return t && d->memory ? t->width : GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return t && d->memory ? t->height : GetSystemMetrics(SM_CYSCREEN);
    case BITSPIXEL: return (t && d->memory) ? t->bpp : 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return 0;
    default: return 0;
    }
}

HWND WindowFromDC(HDC dc) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    return d ? d->window : nullptr;
}

namespace {
// One of the DC's modes or colours: Set puts value in place and answers the one it held, Get
// answers it; both answer `failure` for a handle that is not a DC, and Set does for a value its
// call refuses (`accepted` false), leaving the field as it was.
template <class Field, class Value>
Value SetField(HDC dc, Field DCState::*field, Value value, std::type_identity_t<Value> failure, bool accepted = true) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !accepted) return failure;
    return Value(Swap(d->s.*field, Field(value)));
}
template <class Field, class Value>
Value GetField(HDC dc, Field DCState::*field, Value failure) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    return d ? Value(d->s.*field) : failure;
}
}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) { return SetField(dc, &DCState::text, color, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return GetField(dc, &DCState::text, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return SetField(dc, &DCState::bk, color, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return GetField(dc, &DCState::bk, CLR_INVALID); }
UINT SetTextAlign(HDC dc, UINT align) { return SetField(dc, &DCState::align, align, UINT(-1)); }
UINT GetTextAlign(HDC dc) { return GetField(dc, &DCState::align, UINT(-1)); }
int SetBkMode(HDC dc, int mode) {
    return SetField(dc, &DCState::bkMode, mode, 0, mode == TRANSPARENT || mode == OPAQUE);
}
int GetBkMode(HDC dc) { return GetField(dc, &DCState::bkMode, 0); }
int SetROP2(HDC dc, int mode) { return SetField(dc, &DCState::rop2, mode, 0, mode >= R2_BLACK && mode <= R2_WHITE); }
int GetROP2(HDC dc) { return GetField(dc, &DCState::rop2, 0); }
// Every stretch mode is drawn by nearest neighbour.
int SetStretchBltMode(HDC dc, int mode) {
    return SetField(dc, &DCState::stretchMode, mode, 0, mode >= BLACKONWHITE && mode <= HALFTONE);
}
int GetStretchBltMode(HDC dc) { return GetField(dc, &DCState::stretchMode, 0); }
int SetMapMode(HDC dc, int mode) {
    Guard g(Lock());
    return (Get<DC>(dc) && mode == MM_TEXT) ? MM_TEXT : 0;
}
COLORREF SetDCBrushColor(HDC dc, COLORREF color) { return SetField(dc, &DCState::dcBrush, color, CLR_INVALID); }
COLORREF SetDCPenColor(HDC dc, COLORREF color) { return SetField(dc, &DCState::dcPen, color, CLR_INVALID); }

namespace {
BOOL SetPoint(HDC dc, POINT DCState::*field, int x, int y, LPPOINT old, bool relative) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    POINT& p = d->s.*field;
    if (old) *old = p;
    p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
    return TRUE;
}
BOOL GetPoint(HDC dc, POINT DCState::*field, LPPOINT out) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !out) return FALSE;
    *out = d->s.*field;
    return TRUE;
}
}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old) { return SetPoint(dc, &DCState::viewportOrg, x, y, old, false); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old) {
    return SetPoint(dc, &DCState::viewportOrg, dx, dy, old, true);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT org) { return GetPoint(dc, &DCState::viewportOrg, org); }
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old) { return SetPoint(dc, &DCState::windowOrg, x, y, old, false); }
BOOL GetWindowOrgEx(HDC dc, LPPOINT org) { return GetPoint(dc, &DCState::windowOrg, org); }
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old) { return SetPoint(dc, &DCState::brushOrg, x, y, old, false); }
BOOL GetCurrentPositionEx(HDC dc, LPPOINT point) { return GetPoint(dc, &DCState::current, point); }

// ---- clipping ----

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return ERROR;
    if (!region) {
        if (mode != RGN_COPY) return ERROR;
        d->s.clipped = false;
        d->s.clip = Region();
        return d->Clip().Kind();
    }
    RegionObject* r = Get<RegionObject>(region);
    if (!r) return ERROR;
    // The region is copied: the caller keeps it and may delete it.
    switch (mode) {
    case RGN_COPY: return SetClip(*d, r->region);
    case RGN_AND: return SetClip(*d, Region::Combine(CurrentClip(*d), r->region, Region::Op::And));
    case RGN_OR: return SetClip(*d, Region::Combine(CurrentClip(*d), r->region, Region::Op::Or));
    case RGN_XOR: return SetClip(*d, Region::Combine(CurrentClip(*d), r->region, Region::Op::Xor));
    case RGN_DIFF: return SetClip(*d, Region::Combine(CurrentClip(*d), r->region, Region::Op::Diff));
    default: return ERROR;
    }
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return ERROR;
    RECT r = d->ToSurface(RECT{left, top, right, bottom});
    OffsetRect(&r, -d->offset.x, -d->offset.y);
    return SetClip(*d, CurrentClip(*d).Intersect(r));
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return ERROR;
    RECT r = d->ToSurface(RECT{left, top, right, bottom});
    OffsetRect(&r, -d->offset.x, -d->offset.y);
    return SetClip(*d, Region::Combine(CurrentClip(*d), Region(r), Region::Op::Diff));
}

int GetClipBox(HDC dc, LPRECT box) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !box) return ERROR;
    Region c = d->Clip();
    c.Offset(-d->offset.x, -d->offset.y);
    RECT b = c.Box();
    // Back to logical coordinates.
    POINT shift{d->s.windowOrg.x - d->s.viewportOrg.x, d->s.windowOrg.y - d->s.viewportOrg.y};
    *box = c.Empty() ? RECT{0, 0, 0, 0} : RECT{b.left + shift.x, b.top + shift.y, b.right + shift.x, b.bottom + shift.y};
    return c.Kind();
}

int GetClipRgn(HDC dc, HRGN region) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    RegionObject* r = Get<RegionObject>(region);
    if (!d || !r) return -1;
    if (!d->s.clipped) return 0;
    r->region = d->s.clip;
    return 1;
}

// ---- palettes: accepted and inert ----

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != 0x300) return nullptr;
    Guard g(Lock());
    auto p = std::make_unique<Palette>();
    p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return static_cast<HPALETTE>(Insert(std::move(p), OBJ_PAL));
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !Get<Palette>(palette)) return nullptr;
    HGDIOBJ old = d->s.palette;
    Reference(palette);
    d->s.palette = palette;
    Release(old);
    return static_cast<HPALETTE>(old);
}

UINT RealizePalette(HDC dc) {
    Guard g(Lock());
    return Get<DC>(dc) ? 0 : UINT(-1);
}
