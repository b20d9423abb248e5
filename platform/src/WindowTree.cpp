// Window records and the tree they make: creation, destruction, parents, owners and children,
// long values, text, observers and focus. Where windows are and what of them shows is in
// WindowGeometry.cpp, the class table in WindowClassTable.cpp, the default procedure in
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

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

thread_local void (*t_creationHook)(HWND, void*) = nullptr;
thread_local void* t_creationContext = nullptr;

}  // namespace

std::mutex& TableLock() { return T().lock; }

std::map<HWND, std::unique_ptr<WindowRecord>>& WindowsLocked() { return T().windows; }

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

// ---- focus ----

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
