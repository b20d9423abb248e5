// The default window procedure: what a window does with the messages its own procedure leaves.
#include <algorithm>
#include <cstring>

#include "WindowTable.h"
#include "platform/winctrl.h"
#include "platform/wingdi.h"

using namespace platform::win;

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_SETTEXT: {
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
    case WM_GETTEXT: {
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
    case WM_GETTEXTLENGTH: {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        return r ? LRESULT(r->text.size()) : 0;
    }
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
        case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
        default: break;
        }
        return 0;
    case WM_ICONERASEBKGND: return DefWindowProcA(window, WM_ERASEBKGND, wParam, lParam);
    case WM_PAINT: {
        // An empty paint: the background erased where asked, the window valid again.
        PAINTSTRUCT ps;
        if (BeginPaint(window, &ps)) EndPaint(window, &ps);
        else ValidateRect(window, nullptr);
        return 0;
    }
    case WM_ERASEBKGND: {
        // The class's background brush (a system colour index plus one stands for its brush).
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
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        // The system colours: windows text on the dialog face, edits and lists on the window colour.
        bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(field ? COLOR_WINDOW : COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(field ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    case WM_SETFONT: {
        {
            std::lock_guard<std::mutex> g(TableLock());
            WindowRecord* r = FindLocked(window);
            if (!r) return 0;
            r->font = reinterpret_cast<HFONT>(wParam);
        }
        if (lParam) InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    case WM_GETFONT: {
        std::lock_guard<std::mutex> g(TableLock());
        WindowRecord* r = FindLocked(window);
        return r ? reinterpret_cast<LRESULT>(r->font) : 0;
    }
    default: return 0;
    }
}
