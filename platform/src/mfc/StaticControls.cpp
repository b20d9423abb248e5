// The "Static" and "Edit" window classes: text that the program sets, read-only text fields.
#include "ControlStates.h"
#include "platform/winctrl.h"

namespace mfc {

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONUP:
        if (::GetWindowLongPtrA(window, GWL_STYLE) & SS_NOTIFY) {
            ::SendMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), STN_CLICKED),
                           reinterpret_cast<LPARAM>(window));
        }
        return 0;
    default: return DefaultControlProc(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_SETREADONLY: {
        DWORD style = DWORD(::GetWindowLongPtrA(window, GWL_STYLE));
        style = wParam ? (style | ES_READONLY) : (style & ~DWORD(ES_READONLY));
        ::SetWindowLongPtrA(window, GWL_STYLE, LONG_PTR(LONG(style)));
        return TRUE;
    }
    case EM_SETSEL: return 0;
    case WM_SETTEXT: {
        LRESULT r = ::DefWindowProcA(window, message, wParam, lParam);
        HWND parent = ::GetParent(window);
        if (parent) ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), EN_CHANGE), reinterpret_cast<LPARAM>(window));
        return r;
    }
    default: return DefaultControlProc(window, message, wParam, lParam);
    }
}

}  // namespace mfc
