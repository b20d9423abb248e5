// Where windows are and what of them shows: visibility, the enabled and minimised states,
// positions and sizes, coordinates, and the update regions that ask for painting. The records and
// the tree are in WindowTree.cpp.
#include <algorithm>

#include "WindowTable.h"
#include "platform/winctrl.h"
#include "platform/wingdi.h"

namespace platform::win {

namespace {

// Screen position of a window's client origin (table lock held).
POINT OriginLocked(HWND window) {
    POINT p{0, 0};
    for (WindowRecord* r = FindLocked(window); r; r = FindLocked(r->parent)) {
        p.x += r->rect.left;
        p.y += r->rect.top;
    }
    return p;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

// Shows or hides the windows `owner` owns, as its own visibility changed (table lock held). The
// windows that change are added to `changed`.
void ShowOwnedLocked(HWND owner, bool show, std::vector<HWND>* changed, std::vector<DWORD>* wake) {
    for (auto& [h, r] : WindowsLocked()) {
        if (r->owner != owner) continue;
        if (!show && (r->style & WS_VISIBLE)) {
            r->style &= ~DWORD(WS_VISIBLE);
            r->hiddenWithOwner = true;
        } else if (show && r->hiddenWithOwner) {
            r->style |= WS_VISIBLE;
            r->hiddenWithOwner = false;
            wake->push_back(InvalidateLocked(r.get(), nullptr));
        } else {
            continue;
        }
        changed->push_back(h);
        ShowOwnedLocked(h, show, changed, wake);
    }
}

}  // namespace

bool VisibleLocked(WindowRecord* r) {
    for (; r; r = FindLocked(r->parent))
        if (!(r->style & WS_VISIBLE)) return false;
    return true;
}

DWORD InvalidateLocked(WindowRecord* r, const RECT* area, bool erase) {
    if (!r) return 0;
    RECT client{0, 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top};
    RECT add = area ? *area : client;
    add = RECT{std::max(add.left, client.left), std::max(add.top, client.top), std::min(add.right, client.right),
               std::min(add.bottom, client.bottom)};
    if (add.left >= add.right || add.top >= add.bottom) {
        if (area || r->invalid) return 0;
        r->invalid = true;  // a window of no size still gets its WM_PAINT
        return r->threadId;
    }
    r->update.CombineWith(add, gdi::Region::Op::Or);
    r->erase = r->erase || erase;
    r->invalid = true;
    if (!(r->style & WS_CLIPCHILDREN)) {
        for (HWND c : r->children) {
            WindowRecord* child = FindLocked(c);
            if (!child || !(child->style & WS_VISIBLE)) continue;
            RECT part{std::max(add.left, child->rect.left) - child->rect.left,
                      std::max(add.top, child->rect.top) - child->rect.top,
                      std::min(add.right, child->rect.right) - child->rect.left,
                      std::min(add.bottom, child->rect.bottom) - child->rect.top};
            if (part.left < part.right && part.top < part.bottom) InvalidateLocked(child, &part, erase);
        }
    }
    return r->threadId;
}

void Wake(DWORD threadId) {
    if (threadId) WakeThread(threadId);
}

DWORD InvalidateBehindLocked(WindowRecord* r) {
    return r ? InvalidateLocked(FindLocked(r->parent), &r->rect) : 0;
}

HWND TakeInvalidWindow(DWORD threadId, HWND filter, bool take) {
    std::lock_guard<std::mutex> g(TableLock());
    for (auto& [h, r] : WindowsLocked()) {
        if (filter && h != filter) continue;
        // A hidden window keeps its update region until it is shown.
        if (r->threadId == threadId && r->invalid && !r->destroying && VisibleLocked(r.get())) {
            if (take) r->invalid = false;
            return h;
        }
    }
    return nullptr;
}

bool TakeUpdateRegion(HWND window, gdi::Region* region, bool* erase) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r) return false;
    RECT client{0, 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top};
    if (r->update.Empty()) region->SetRect(client);
    else *region = r->update;
    *erase = r->erase || r->update.Empty();
    r->update.Clear();  // keeps its storage for the next invalidation
    r->erase = false;
    r->invalid = false;
    return true;
}

bool InvalidateRegion(HWND window, const gdi::Region& region, bool erase) {
    DWORD tid = 0;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return false;
        for (const RECT& rect : region.Rects())
            if (DWORD t = InvalidateLocked(r, &rect, erase)) tid = t;
    }
    Wake(tid);
    NotifyChanged(window);
    return true;
}

bool ValidateRegion(HWND window, const gdi::Region* region) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r) return false;
    r->update = region ? gdi::Region::Combine(r->update, *region, gdi::Region::Op::Diff) : gdi::Region();
    if (r->update.Empty()) {
        r->invalid = false;
        r->erase = false;
    }
    return true;
}

bool PeekUpdateRegion(HWND window, gdi::Region* region) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r) return false;
    *region = r->update;
    return true;
}

bool GetPaintGeometry(HWND window, PaintGeometry* geometry) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r) return false;
    // The top-level window, whose surface the window draws in, and the window's origin in it:
    // the sum of the positions below the top.
    WindowRecord* top = r;
    POINT origin{0, 0};
    for (WindowRecord* p = FindLocked(r->parent); p; p = FindLocked(top->parent)) {
        origin.x += top->rect.left;
        origin.y += top->rect.top;
        top = p;
    }
    geometry->top = top->hwnd;
    geometry->topSize = SIZE{top->rect.right - top->rect.left, top->rect.bottom - top->rect.top};
    // What every client area on the way up leaves visible, from the window up to the top.
    RECT visible{0, 0, geometry->topSize.cx, geometry->topSize.cy};
    POINT at = origin;
    for (WindowRecord* w = r; w != top; w = FindLocked(w->parent)) {
        RECT client{at.x, at.y, at.x + w->rect.right - w->rect.left, at.y + w->rect.bottom - w->rect.top};
        visible = RECT{std::max(visible.left, client.left), std::max(visible.top, client.top),
                       std::min(visible.right, client.right), std::min(visible.bottom, client.bottom)};
        at.x -= w->rect.left;
        at.y -= w->rect.top;
    }
    // A minimised window shows its icon alone: its children draw nothing. Nor does a child that is
    // hidden, or below a hidden one: what it draws would land on its parent's pixels.
    bool iconic = (top->style & WS_MINIMIZE) != 0;
    bool hidden = iconic && r != top;
    for (WindowRecord* w = r; w != top && !hidden; w = FindLocked(w->parent)) hidden = !(w->style & WS_VISIBLE);
    if (hidden) visible = RECT{0, 0, 0, 0};
    geometry->origin = origin;
    geometry->visible = visible;
    geometry->children.clear();
    if ((r->style & WS_CLIPCHILDREN) && !iconic) {
        for (HWND c : r->children) {
            WindowRecord* child = FindLocked(c);
            if (!child || !(child->style & WS_VISIBLE)) continue;
            geometry->children.push_back(RECT{origin.x + child->rect.left, origin.y + child->rect.top,
                                              origin.x + child->rect.right, origin.y + child->rect.bottom});
        }
    }
    return true;
}

}  // namespace platform::win

using namespace platform::win;

namespace {
// Sets or clears style bits; returns the previous style, or -1 for no window.
LONG_PTR ChangeStyle(HWND window, DWORD set, DWORD clear) {
    DWORD old;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return -1;
        old = r->style;
        r->style = (r->style | set) & ~clear;
        if (old == r->style) return LONG_PTR(old);
    }
    NotifyChanged(window);
    return LONG_PTR(old);
}
}  // namespace

BOOL ShowWindow(HWND window, int command) {
    bool show = command != SW_HIDE;
    // Minimised or restored: the whole window is painted again (an icon, or its face).
    bool minimise = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED;
    bool restore = command == SW_RESTORE || command == SW_SHOWNORMAL;
    DWORD old;
    bool showChanged;
    std::vector<HWND> owned;
    std::vector<DWORD> wake;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return FALSE;
        old = r->style;
        DWORD style = minimise ? (old | WS_MINIMIZE) : restore ? (old & ~DWORD(WS_MINIMIZE)) : old;
        showChanged = bool(old & WS_VISIBLE) != show;
        if (!showChanged && style == old) return (old & WS_VISIBLE) ? TRUE : FALSE;
        if (showChanged) {
            if (!show) wake.push_back(InvalidateBehindLocked(r));
            style = show ? (style | WS_VISIBLE) : (style & ~DWORD(WS_VISIBLE));
            r->hiddenWithOwner = false;
        }
        r->style = style;
        if (show) wake.push_back(InvalidateLocked(r, nullptr));
        if (showChanged) ShowOwnedLocked(window, show, &owned, &wake);
    }
    for (DWORD tid : wake) Wake(tid);
    NotifyChanged(window);
    for (HWND w : owned) NotifyChanged(w);
    if (showChanged) Send(window, WM_SHOWWINDOW, show, 0);
    return (old & WS_VISIBLE) ? TRUE : FALSE;
}

BOOL IsIconic(HWND window) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    return r && (r->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r) return FALSE;
    for (; r; r = FindLocked(r->parent))
        if (!(r->style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    LONG_PTR old = ChangeStyle(window, enable ? 0 : WS_DISABLED, enable ? WS_DISABLED : 0);
    if (old == -1) return FALSE;
    bool wasDisabled = (old & WS_DISABLED) != 0;
    if (wasDisabled == bool(enable)) Send(window, WM_ENABLE, enable, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    return (r && !(r->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    std::vector<DWORD> wake;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return FALSE;
        RECT now{x, y, x + width, y + height};
        RECT old = r->rect;
        bool moved = old.left != now.left || old.top != now.top || old.right != now.right || old.bottom != now.bottom;
        if (moved && VisibleLocked(r)) wake.push_back(InvalidateBehindLocked(r));  // where it was
        r->rect = now;
        if (moved) {
            wake.push_back(InvalidateLocked(r, nullptr));
            if (VisibleLocked(r)) wake.push_back(InvalidateBehindLocked(r));  // where it is
        }
    }
    for (DWORD tid : wake) Wake(tid);
    Send(window, WM_MOVE, 0, MAKELPARAM(x, y));
    Send(window, WM_SIZE, 0, MAKELPARAM(width, height));
    NotifyChanged(window);
    return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r || !rect) return FALSE;
    POINT o = OriginLocked(r->parent);
    *rect = RECT{r->rect.left + o.x, r->rect.top + o.y, r->rect.right + o.x, r->rect.bottom + o.y};
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r || !rect) return FALSE;
    *rect = RECT{0, 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top};
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    std::lock_guard<std::mutex> g(TableLock());
    if (!FindLocked(window) || !point) return FALSE;
    POINT o = OriginLocked(window);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    std::lock_guard<std::mutex> g(TableLock());
    if (!FindLocked(window) || !point) return FALSE;
    POINT o = OriginLocked(window);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    DWORD tid;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return FALSE;
        tid = InvalidateLocked(r, rect, erase != FALSE);
    }
    Wake(tid);
    NotifyChanged(window);
    return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
    if (!rect) return ValidateRegion(window, nullptr) ? TRUE : FALSE;
    platform::gdi::Region area(*rect);
    return ValidateRegion(window, &area) ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
    // The window, then its descendants that share its pixels, parents before children.
    std::vector<HWND> order{window};
    {
        std::lock_guard<std::mutex> g(TableLock());
        if (!FindLocked(window)) return FALSE;
        for (size_t i = 0; i < order.size(); ++i) {
            WindowRecord* r = FindLocked(order[i]);
            if (r && !(r->style & WS_CLIPCHILDREN))
                order.insert(order.end(), r->children.begin(), r->children.end());
        }
    }
    for (HWND w : order) {
        bool paint = false;
        {
            std::lock_guard<std::mutex> g(TableLock());
            WindowRecord* r = FindLocked(w);
            paint = r && r->invalid && !r->destroying && VisibleLocked(r);
            if (paint) r->invalid = false;
        }
        if (paint) Send(w, WM_PAINT, 0, 0);
    }
    return TRUE;
}
