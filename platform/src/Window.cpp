// Window records and the calls that read and change them: creation, destruction, the tree, state
// and geometry. The class table is in WindowClassTable.cpp, the default procedure in
// DefWindowProc.cpp.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "Kernel.h"
#include "WindowTable.h"
#include "display/InputState.h"
#include "platform/winctrl.h"
#include "platform/wingdi.h"

namespace platform::win {

namespace {

struct Tables {
    std::mutex lock;
    std::map<HWND, std::unique_ptr<WindowRecord>> windows;
    std::vector<HWND> topLevel;
    uintptr_t nextHandle = 0x20000;
    std::mutex observerLock;
    // Replaced, never changed, so that a notification walks a list that no one alters under it
    // without copying it.
    std::shared_ptr<const std::vector<WindowObserver*>> observers = std::make_shared<std::vector<WindowObserver*>>();
    std::map<DWORD, HWND> focus;
};

Tables& T() {
    static auto* t = new Tables;
    return *t;
}

std::shared_ptr<const std::vector<WindowObserver*>> Observers() {
    std::lock_guard<std::mutex> g(T().observerLock);
    return T().observers;
}

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

bool VisibleLocked(WindowRecord* r) {
    for (; r; r = FindLocked(r->parent))
        if (!(r->style & WS_VISIBLE)) return false;
    return true;
}

}  // namespace

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

namespace {

// The part of the parent that a child covers (table lock held).
DWORD InvalidateBehindLocked(WindowRecord* r) {
    return r ? InvalidateLocked(FindLocked(r->parent), &r->rect) : 0;
}

thread_local void (*t_creationHook)(HWND, void*) = nullptr;
thread_local void* t_creationContext = nullptr;

// Shows or hides the windows `owner` owns, as its own visibility changed (table lock held). The
// windows that change are added to `changed`.
void ShowOwnedLocked(HWND owner, bool show, std::vector<HWND>* changed, std::vector<DWORD>* wake) {
    for (auto& [h, r] : T().windows) {
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

std::mutex& TableLock() { return T().lock; }

WindowRecord* FindLocked(HWND window) {
    auto it = T().windows.find(window);
    return it == T().windows.end() ? nullptr : it->second.get();
}

bool Route(HWND window, DWORD* threadId, WNDPROC* proc) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r) return false;
    if (threadId) *threadId = r->threadId;
    if (proc) *proc = r->proc;
    return true;
}

namespace {
void Notify(void (WindowObserver::*event)(HWND), HWND window) {
    const auto observers = Observers();  // held for the walk
    for (WindowObserver* o : *observers) (o->*event)(window);
}
}  // namespace

void NotifyCreated(HWND window) { Notify(&WindowObserver::OnWindowCreated, window); }
void NotifyDestroyed(HWND window) { Notify(&WindowObserver::OnWindowDestroyed, window); }
void NotifyChanged(HWND window) { Notify(&WindowObserver::OnWindowChanged, window); }

HWND TakeInvalidWindow(DWORD threadId, HWND filter, bool take) {
    std::lock_guard<std::mutex> g(T().lock);
    for (auto& [h, r] : T().windows) {
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
    std::lock_guard<std::mutex> g(T().lock);
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
        std::lock_guard<std::mutex> g(T().lock);
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
    std::lock_guard<std::mutex> g(T().lock);
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
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r) return false;
    *region = r->update;
    return true;
}

bool GetPaintGeometry(HWND window, PaintGeometry* geometry) {
    std::lock_guard<std::mutex> g(T().lock);
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
    // A minimised window shows its icon alone: its children draw nothing.
    bool iconic = (top->style & WS_MINIMIZE) != 0;
    if (iconic && r != top) visible = RECT{0, 0, 0, 0};
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

void SetCreationHook(void (*hook)(HWND, void*), void* context) {
    t_creationHook = hook;
    t_creationContext = context;
}

void DestroyThreadWindows(DWORD threadId) {
    for (;;) {
        HWND victim = nullptr;
        {
            std::lock_guard<std::mutex> g(T().lock);
            for (auto& [h, r] : T().windows) {
                // The outermost window of the thread first: its children and owned windows go with it.
                if (r->threadId != threadId || r->destroying) continue;
                WindowRecord* parent = FindLocked(r->parent);
                if (parent && parent->threadId == threadId) continue;
                victim = h;
                break;
            }
        }
        if (!victim || !DestroyWindow(victim)) return;
    }
}

}  // namespace platform::win

using namespace platform::win;

namespace platform {

void AddWindowObserver(WindowObserver* observer) {
    std::lock_guard<std::mutex> g(T().observerLock);
    auto v = std::make_shared<std::vector<WindowObserver*>>(*T().observers);
    v->push_back(observer);
    T().observers = std::move(v);
}

void RemoveWindowObserver(WindowObserver* observer) {
    std::lock_guard<std::mutex> g(T().observerLock);
    auto v = std::make_shared<std::vector<WindowObserver*>>(*T().observers);
    v->erase(std::remove(v->begin(), v->end(), observer), v->end());
    T().observers = std::move(v);
}

void NotifyWindowChanged(HWND window) { NotifyChanged(window); }

bool GetWindowSnapshot(HWND window, WindowSnapshot* snapshot) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r || !snapshot) return false;
    snapshot->hwnd = r->hwnd;
    snapshot->parent = r->parent;
    snapshot->className = r->className;
    snapshot->text = r->text;
    snapshot->style = r->style;
    snapshot->exStyle = r->exStyle;
    snapshot->id = r->id;
    snapshot->rect = r->rect;
    snapshot->threadId = r->threadId;
    return true;
}

std::vector<HWND> GetChildWindowList(HWND parent) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(parent);
    return r ? r->children : std::vector<HWND>{};
}

std::vector<HWND> GetTopLevelWindowList() {
    std::lock_guard<std::mutex> g(T().lock);
    return T().topLevel;
}

HWND GetThreadFocus(DWORD threadId) {
    std::lock_guard<std::mutex> g(T().lock);
    auto it = T().focus.find(threadId);
    return it == T().focus.end() ? nullptr : it->second;
}

void SetThreadFocus(HWND window) {
    DWORD tid = ::GetWindowThreadProcessId(window, nullptr);
    if (!tid) return;
    if (tid == platform::kernel::CurrentThreadId()) {
        ::SetFocus(window);
        return;
    }
    HWND old;
    {
        std::lock_guard<std::mutex> g(T().lock);
        if (!FindLocked(window)) return;
        old = T().focus[tid];
        T().focus[tid] = window;
    }
    // The owning thread hears of the change in its own loop.
    if (old == window) return;
    if (old) ::PostMessageA(old, WM_KILLFOCUS, WPARAM(window), 0);
    ::PostMessageA(window, WM_SETFOCUS, WPARAM(old), 0);
}

}  // namespace platform

// ---- creation and destruction ----

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    HWND hwnd;
    {
        std::lock_guard<std::mutex> g(T().lock);
        const WNDCLASSA* windowClass = FindClassLocked(className);
        if (!windowClass) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        if (parent && !FindLocked(parent)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        // A top-level window created with a parent is owned by the parent's top-level window.
        HWND owner = nullptr;
        if (parent && !(style & WS_CHILD)) {
            owner = parent;
            while (WindowRecord* p = FindLocked(FindLocked(owner)->parent)) owner = p->hwnd;
            parent = nullptr;
        }
        auto rec = std::make_unique<WindowRecord>();
        hwnd = reinterpret_cast<HWND>(T().nextHandle);
        T().nextHandle += 8;
        rec->hwnd = hwnd;
        rec->threadId = platform::kernel::CurrentThreadId();
        rec->className = windowClass->lpszClassName;
        rec->proc = windowClass->lpfnWndProc;
        rec->parent = parent;
        rec->owner = owner;
        rec->id = (style & WS_CHILD) ? int(reinterpret_cast<INT_PTR>(menu)) : 0;
        rec->style = style;
        rec->exStyle = exStyle;
        rec->text = windowName ? windowName : "";
        auto pos = [](int v) { return v == CW_USEDEFAULT ? 0 : v; };
        rec->rect = RECT{pos(x), pos(y), pos(x) + pos(width), pos(y) + pos(height)};
        InvalidateLocked(rec.get(), nullptr);
        if (parent) {
            FindLocked(parent)->children.push_back(hwnd);
        } else {
            T().topLevel.push_back(hwnd);
        }
        T().windows.emplace(hwnd, std::move(rec));
    }
    if (auto hook = t_creationHook) {
        void* context = t_creationContext;
        t_creationHook = nullptr;
        t_creationContext = nullptr;
        hook(hwnd, context);
    }
    CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, LONG(style), windowName, className, exStyle};
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) && IsWindow(hwnd)) {
        // A procedure that refuses WM_NCCREATE ends the creation (DefWindowProc accepts it).
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    NotifyCreated(hwnd);
    return hwnd;
}

BOOL DestroyWindow(HWND window) {
    std::vector<HWND> children, owned;
    DWORD wake = 0;
    {
        std::lock_guard<std::mutex> g(T().lock);
        WindowRecord* r = FindLocked(window);
        if (!r || r->destroying) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        r->destroying = true;
        if (VisibleLocked(r)) wake = InvalidateBehindLocked(r);
        r->style &= ~DWORD(WS_VISIBLE);
        // Owned windows of the same thread go first; another thread's lose their owner.
        for (auto& [h, other] : T().windows) {
            if (other->owner != window) continue;
            if (other->threadId == r->threadId) owned.push_back(h);
            else other->owner = nullptr;
        }
    }
    Wake(wake);
    NotifyChanged(window);
    for (HWND w : owned) DestroyWindow(w);
    Send(window, WM_DESTROY, 0, 0);
    {
        std::lock_guard<std::mutex> g(T().lock);
        if (WindowRecord* r = FindLocked(window)) children = r->children;
    }
    for (HWND child : children) DestroyWindow(child);
    Send(window, WM_NCDESTROY, 0, 0);
    ForgetWindowMessages(window);
    {
        std::lock_guard<std::mutex> g(T().lock);
        WindowRecord* r = FindLocked(window);
        if (r) {
            if (WindowRecord* p = FindLocked(r->parent)) {
                auto& c = p->children;
                c.erase(std::remove(c.begin(), c.end(), window), c.end());
            }
            auto& top = T().topLevel;
            top.erase(std::remove(top.begin(), top.end(), window), top.end());
            for (auto& [tid, focus] : T().focus)
                if (focus == window) focus = nullptr;
            T().windows.erase(window);
        }
    }
    NotifyDestroyed(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    std::lock_guard<std::mutex> g(T().lock);
    return FindLocked(window) ? TRUE : FALSE;
}

// ---- tree ----

HWND GetParent(HWND window) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    return r ? r->parent : nullptr;
}

HWND SetParent(HWND window, HWND parent) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r || (parent && !FindLocked(parent))) return nullptr;
    HWND old = r->parent;
    if (WindowRecord* p = FindLocked(old)) {
        auto& c = p->children;
        c.erase(std::remove(c.begin(), c.end(), window), c.end());
    } else {
        auto& top = T().topLevel;
        top.erase(std::remove(top.begin(), top.end(), window), top.end());
    }
    r->parent = parent;
    if (parent) FindLocked(parent)->children.push_back(window);
    else T().topLevel.push_back(window);
    return old ? old : GetDesktopWindow();
}

BOOL IsChild(HWND parent, HWND window) {
    std::lock_guard<std::mutex> g(T().lock);
    for (WindowRecord* r = FindLocked(window); r; r = FindLocked(r->parent))
        if (r->parent == parent) return TRUE;
    return FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
    DWORD tid = 0;
    if (!Route(window, &tid, nullptr)) return 0;
    if (processId) *processId = GetCurrentProcessId();
    return tid;
}

int GetDlgCtrlID(HWND window) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    return r ? r->id : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(dialog);
    if (!r) return nullptr;
    for (HWND c : r->children) {
        WindowRecord* child = FindLocked(c);
        if (child && child->id == id) return c;
    }
    return nullptr;
}

HWND GetWindow(HWND window, UINT command) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r) return nullptr;
    if (command == GW_CHILD) return r->children.empty() ? nullptr : r->children.front();
    if (command == GW_OWNER) return r->owner;
    WindowRecord* parent = r->parent ? FindLocked(r->parent) : nullptr;
    if (r->parent && !parent) return nullptr;  // its parent is going away
    const std::vector<HWND>& siblings = parent ? parent->children : T().topLevel;
    auto it = std::find(siblings.begin(), siblings.end(), window);
    if (it == siblings.end()) return nullptr;
    switch (command) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return (it + 1) == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings.begin() ? nullptr : *(it - 1);
    default: return nullptr;
    }
}

BOOL GetClassNameA(HWND window, LPSTR name, int maxCount) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r || !name || maxCount <= 0) return 0;
    std::strncpy(name, r->className.c_str(), size_t(maxCount) - 1);
    name[maxCount - 1] = 0;
    return BOOL(std::strlen(name));
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    for (HWND w : platform::GetTopLevelWindowList())
        if (!callback(w, lParam)) break;
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM lParam) {
    for (HWND w : platform::GetTopLevelWindowList())
        if (GetWindowThreadProcessId(w, nullptr) == threadId && !callback(w, lParam)) break;
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
    for (HWND w : platform::GetChildWindowList(parent)) {
        if (!callback(w, lParam)) return TRUE;
        EnumChildWindows(w, callback, lParam);
    }
    return TRUE;
}

// ---- long values ----

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(r->proc);
    case GWL_STYLE: return LONG_PTR(LONG(r->style));
    case GWL_EXSTYLE: return LONG_PTR(LONG(r->exStyle));
    case GWL_USERDATA: return r->userData;
    case GWL_ID: return r->id;
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    LONG_PTR old = 0;
    bool visibleChange = false;
    {
        std::lock_guard<std::mutex> g(T().lock);
        WindowRecord* r = FindLocked(window);
        if (!r) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        switch (index) {
        case GWL_WNDPROC:
            old = reinterpret_cast<LONG_PTR>(r->proc);
            r->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWL_STYLE:
            old = LONG_PTR(LONG(r->style));
            r->style = DWORD(value);
            visibleChange = true;
            break;
        case GWL_EXSTYLE:
            old = LONG_PTR(LONG(r->exStyle));
            r->exStyle = DWORD(value);
            break;
        case GWL_USERDATA:
            old = r->userData;
            r->userData = value;
            break;
        case GWL_ID:
            old = r->id;
            r->id = int(value);
            break;
        default: break;
        }
    }
    if (visibleChange) NotifyChanged(window);
    return old;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(window, message, wParam, lParam) : 0;
}

// ---- text ----

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR text, int maxCount) {
    if (!text || maxCount <= 0) return 0;
    DWORD tid = 0;
    if (!Route(window, &tid, nullptr)) {
        text[0] = 0;
        return 0;
    }
    if (tid == platform::kernel::CurrentThreadId())
        return int(SendMessageA(window, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(text)));
    // Another thread's window: read the stored text without waiting for that thread.
    return int(DefWindowProcA(window, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND window) {
    DWORD tid = 0;
    if (!Route(window, &tid, nullptr)) return 0;
    if (tid == platform::kernel::CurrentThreadId()) return int(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    return int(DefWindowProcA(window, WM_GETTEXTLENGTH, 0, 0));
}

// ---- state and geometry ----

namespace {
// Sets or clears style bits; returns the previous style, or -1 for no window.
LONG_PTR ChangeStyle(HWND window, DWORD set, DWORD clear) {
    DWORD old;
    {
        std::lock_guard<std::mutex> g(T().lock);
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
        std::lock_guard<std::mutex> g(T().lock);
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
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    return r && (r->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    std::lock_guard<std::mutex> g(T().lock);
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
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    return (r && !(r->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    std::vector<DWORD> wake;
    {
        std::lock_guard<std::mutex> g(T().lock);
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
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r || !rect) return FALSE;
    POINT o = OriginLocked(r->parent);
    *rect = RECT{r->rect.left + o.x, r->rect.top + o.y, r->rect.right + o.x, r->rect.bottom + o.y};
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    std::lock_guard<std::mutex> g(T().lock);
    WindowRecord* r = FindLocked(window);
    if (!r || !rect) return FALSE;
    *rect = RECT{0, 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top};
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    std::lock_guard<std::mutex> g(T().lock);
    if (!FindLocked(window) || !point) return FALSE;
    POINT o = OriginLocked(window);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    std::lock_guard<std::mutex> g(T().lock);
    if (!FindLocked(window) || !point) return FALSE;
    POINT o = OriginLocked(window);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    DWORD tid;
    {
        std::lock_guard<std::mutex> g(T().lock);
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
        std::lock_guard<std::mutex> g(T().lock);
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
            std::lock_guard<std::mutex> g(T().lock);
            WindowRecord* r = FindLocked(w);
            paint = r && r->invalid && !r->destroying && VisibleLocked(r);
            if (paint) r->invalid = false;
        }
        if (paint) Send(w, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HWND SetFocus(HWND window) {
    DWORD tid = platform::kernel::CurrentThreadId();
    HWND old;
    {
        std::lock_guard<std::mutex> g(T().lock);
        old = T().focus[tid];
        if (window && !FindLocked(window)) return nullptr;
        T().focus[tid] = window;
    }
    if (old != window) {
        if (old) Send(old, WM_KILLFOCUS, WPARAM(window), 0);
        if (window) Send(window, WM_SETFOCUS, WPARAM(old), 0);
    }
    return old;
}

HWND GetFocus() {
    std::lock_guard<std::mutex> g(T().lock);
    auto it = T().focus.find(platform::kernel::CurrentThreadId());
    return it == T().focus.end() ? nullptr : it->second;
}

HWND GetActiveWindow() {
    std::lock_guard<std::mutex> g(T().lock);
    DWORD tid = platform::kernel::CurrentThreadId();
    for (auto it = T().topLevel.rbegin(); it != T().topLevel.rend(); ++it) {
        WindowRecord* r = FindLocked(*it);
        if (r && r->threadId == tid && (r->style & WS_VISIBLE)) return *it;
    }
    return nullptr;
}

HWND SetActiveWindow(HWND window) { return GetActiveWindow() == window ? window : GetActiveWindow(); }
BOOL SetForegroundWindow(HWND window) { return IsWindow(window); }
HWND GetDesktopWindow() { return reinterpret_cast<HWND>(uintptr_t(0x10010)); }

// Held keys, as the display reports them; the high bit says "down".
SHORT GetKeyState(int key) { return platform::input::IsKeyDown(UINT(key)) ? SHORT(-0x8000) : SHORT(0); }
SHORT GetAsyncKeyState(int key) { return GetKeyState(key); }
