// The default window procedure: what a window does with the messages its own procedure leaves.
#include <algorithm>
#include <cstring>

#include "WindowTable.h"
#include "platform/winctrl.h"
#include "platform/wingdi.h"

using namespace platform::win;

namespace {

// ---- the window's text ----

LRESULT SetText(HWND window, LPARAM lParam) {
    DWORD wake;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return FALSE;
        r->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        wake = InvalidateLocked(r, nullptr);
    }
    Wake(wake);
    NotifyChanged(window);
    return TRUE;
}

LRESULT GetText(HWND window, WPARAM wParam, LPARAM lParam) {
    char* out = reinterpret_cast<char*>(lParam);
    if (!out || wParam == 0) return 0;
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    if (!r) return 0;
    size_t n = std::min(r->text.size(), size_t(wParam) - 1);
    std::memcpy(out, r->text.data(), n);
    out[n] = 0;
    return LRESULT(n);
}

LRESULT GetTextLength(HWND window) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    return r ? LRESULT(r->text.size()) : 0;
}

// ---- the system menu's commands ----

LRESULT SysCommand(HWND window, WPARAM wParam) {
    switch (wParam & 0xFFF0) {
    case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
    case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
    default: break;
    }
    return 0;
}

// ---- painting ----

// An empty paint: the background erased where asked, the window valid again.
LRESULT Paint(HWND window) {
    PAINTSTRUCT ps;
    if (BeginPaint(window, &ps))
        EndPaint(window, &ps);
    else
        ValidateRect(window, nullptr);
    return 0;
}

// The class's background brush (a system colour index plus one stands for its brush).
LRESULT EraseBackground(HWND window, WPARAM wParam) {
    HBRUSH brush = nullptr;
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return 0;
        if (const WNDCLASSA* windowClass = FindClassLocked(r->className.c_str())) brush = windowClass->hbrBackground;
    }
    if (!brush) return 0;
    RECT client;
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    return 1;
}

// The system colours: windows text on the dialog face, edits and lists on the window colour.
LRESULT ControlColor(UINT message, WPARAM wParam) {
    bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(field ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(field ? COLOR_WINDOW : COLOR_BTNFACE));
}

// ---- the font ----

LRESULT SetFont(HWND window, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        if (!r) return 0;
        r->font = reinterpret_cast<HFONT>(wParam);
    }
    if (lParam) InvalidateRect(window, nullptr, TRUE);
    return 0;
}

LRESULT GetFont(HWND window) {
    std::lock_guard<std::mutex> g(TableLock());
    WindowRecord* r = FindLocked(window);
    return r ? reinterpret_cast<LRESULT>(r->font) : 0;
}

}  // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_SETTEXT: return SetText(window, lParam);
    case WM_GETTEXT: return GetText(window, wParam, lParam);
    case WM_GETTEXTLENGTH: return GetTextLength(window);
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SYSCOMMAND: return SysCommand(window, wParam);
    case WM_PAINT: return Paint(window);
    case WM_ICONERASEBKGND:
    case WM_ERASEBKGND: return EraseBackground(window, wParam);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return ControlColor(message, wParam);
    case WM_SETFONT: return SetFont(window, wParam, lParam);
    case WM_GETFONT: return GetFont(window);
    default: return 0;
    }
}
