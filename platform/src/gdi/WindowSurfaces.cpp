// Window painting: each top-level window's 32-bit surface, the DCs that draw in it (GetDC,
// BeginPaint), update regions, and what changed since the display was last told.
#include <map>

#include "WindowTable.h"
#include "gdi/DrawnText.h"
#include "gdi/GdiObjects.h"
#include "gdi/WindowSurfaces.h"
#include "platform/display.h"
#include "platform/windowcore.h"
#include "platform/winctrl.h"

namespace platform::gdi {

namespace {

std::map<HWND, std::shared_ptr<Bitmap>>& Surfaces() {
    static auto* surfaces = new std::map<HWND, std::shared_ptr<Bitmap>>;
    return *surfaces;
}

// A surface goes with its window.
class SurfaceKeeper : public WindowObserver {
public:
    void OnWindowDestroyed(HWND window) override {
        Guard g(Lock());
        Surfaces().erase(window);
    }
};

void WatchWindows() {
    static std::once_flag once;
    std::call_once(once, [] { AddWindowObserver(new SurfaceKeeper); });
}

// The top-level window's surface, made or remade at the window's size (GDI lock held).
std::shared_ptr<Bitmap> SurfaceFor(HWND top, SIZE size) {
    auto& slot = Surfaces()[top];
    int w = std::max<LONG>(size.cx, 0), h = std::max<LONG>(size.cy, 0);
    if (!slot || slot->width != w || slot->height != h) {
        std::unique_ptr<Bitmap> made = MakeBitmap(w, h, 32, false, false);
        if (!made) made = MakeBitmap(0, 0, 32, false, false);  // too large to keep: draws nowhere
        slot = std::shared_ptr<Bitmap>(made.release());
        slot->window = top;
        slot->MarkChanged(RECT{0, 0, w, h});
    }
    return slot;
}

// A DC on the window's client area; `paint` (client coordinates) narrows it further.
HDC WindowDC(HWND window, const Region* paint) {
    if (!window) {
        Guard g(Lock());
        return NewDC(false, false);  // the screen: compatible with everything, draws nowhere
    }
    platform::win::PaintGeometry geometry;
    if (!platform::win::GetPaintGeometry(window, &geometry)) return nullptr;
    WatchWindows();
    Guard g(Lock());
    HDC handle = NewDC(false, false);
    DC* d = Get<DC>(handle);
    d->window = window;
    d->surface = SurfaceFor(geometry.top, geometry.topSize);
    d->offset = geometry.origin;
    Region& visible = d->visible;
    visible.SetRect(geometry.visible);
    for (const RECT& child : geometry.children) visible.CombineWith(child, Region::Op::Diff);
    if (paint) {
        thread_local Region p;
        p = *paint;
        p.Offset(geometry.origin.x, geometry.origin.y);
        visible.CombineWith(p, Region::Op::And);
    }
    return handle;
}

}  // namespace

std::vector<std::pair<HWND, std::vector<RECT>>> TakeChangedSurfaces() {
    Guard g(Lock());
    std::vector<std::pair<HWND, std::vector<RECT>>> out;
    for (auto& [window, surface] : Surfaces()) {
        if (surface->changed.empty()) continue;
        out.emplace_back(window, std::move(surface->changed));
        surface->changed.clear();
    }
    return out;
}

}  // namespace platform::gdi

namespace platform {

bool ViewSurface(HWND topLevel, const std::function<void(const SurfaceView&)>& read) {
    using namespace platform::gdi;
    Guard g(Lock());
    auto it = Surfaces().find(topLevel);
    if (it == Surfaces().end()) return false;
    const Bitmap& b = *it->second;
    read(SurfaceView{b.width, b.height, b.stride, b.Data()});
    return true;
}

}  // namespace platform

using namespace platform::gdi;

HDC GetDC(HWND window) { return WindowDC(window, nullptr); }
HDC GetWindowDC(HWND window) { return WindowDC(window, nullptr); }

int ReleaseDC(HWND window, HDC dc) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || d->memory || d->info || d->window != window) return 0;
    FreeDC(d);
    return 1;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    if (!paint) return nullptr;
    *paint = PAINTSTRUCT{};
    // Per thread, so that its storage serves every paint (nothing reads it once the DC is made).
    thread_local Region update;
    bool erase = false;
    // The part that needs painting; the window is valid from here on.
    if (!platform::win::TakeUpdateRegion(window, &update, &erase)) return nullptr;
    paint->rcPaint = update.Box();
    paint->hdc = WindowDC(window, &update);
    if (paint->hdc) BeginDrawnText(window);
    // The background first, when erasing was asked; fErase stays set when nobody erased.
    paint->fErase = erase && paint->hdc && !::SendMessageA(window, WM_ERASEBKGND, WPARAM(paint->hdc), 0);
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (!paint || !paint->hdc) return TRUE;
    EndDrawnText(window);
    return ReleaseDC(window, paint->hdc) ? TRUE : FALSE;
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
    if (!region) return InvalidateRect(window, nullptr, erase);
    Region copy;
    {
        Guard g(Lock());
        RegionObject* r = Get<RegionObject>(region);
        if (!r) return FALSE;
        copy = r->region;
    }
    return platform::win::InvalidateRegion(window, copy, erase != FALSE) ? TRUE : FALSE;
}

BOOL ValidateRgn(HWND window, HRGN region) {
    if (!region) return ValidateRect(window, nullptr);
    Region copy;
    {
        Guard g(Lock());
        RegionObject* r = Get<RegionObject>(region);
        if (!r) return FALSE;
        copy = r->region;
    }
    return platform::win::ValidateRegion(window, &copy) ? TRUE : FALSE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL) {
    Region update;
    if (!platform::win::PeekUpdateRegion(window, &update)) return FALSE;
    if (rect) *rect = update.Box();
    return update.Empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND window, HRGN region, BOOL) {
    Region update;
    if (!platform::win::PeekUpdateRegion(window, &update)) return ERROR;
    Guard g(Lock());
    RegionObject* r = Get<RegionObject>(region);
    if (!r) return ERROR;
    r->region = update;
    return update.Kind();
}
