// The "Button" window class: push, default, owner-drawn, check and radio buttons, group boxes.
#include <algorithm>

#include "ControlStates.h"
#include "display/DisplayHost.h"
#include "platform/winctrl.h"

namespace mfc {

namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
};

ControlStates<ButtonState>& States() {
    static auto* states = new ControlStates<ButtonState>;
    return *states;
}

DWORD Type(HWND window) { return DWORD(::GetWindowLongPtrA(window, GWL_STYLE)) & BS_TYPEMASK; }

void Notify(HWND window, WORD code) {
    HWND parent = ::GetParent(window);
    if (parent) ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), code), reinterpret_cast<LPARAM>(window));
}

void Click(HWND window) {
    if (!::IsWindowEnabled(window) || Type(window) == BS_GROUPBOX) return;
    DWORD type = Type(window);
    if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE) {
        States().With(window, [&](ButtonState& s) {
            s.check = type == BS_AUTO3STATE ? (s.check + 1) % 3 : (s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        });
        Changed(window);
    } else if (type == BS_AUTORADIOBUTTON) {
        HWND parent = ::GetParent(window);
        for (HWND sibling : platform::GetChildWindowList(parent)) {
            if (sibling != window && Type(sibling) == BS_AUTORADIOBUTTON) ::SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        ::SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
    }
    Notify(window, BN_CLICKED);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    if (dc && Type(window) == BS_OWNERDRAW) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = UINT(::GetDlgCtrlID(window));
        item.itemAction = ODA_DRAWENTIRE;
        bool pushed = States().With(window, [](ButtonState& s) { return s.pushed; });
        item.itemState = (pushed ? ODS_SELECTED : 0) | (::IsWindowEnabled(window) ? 0 : ODS_DISABLED) |
                         (::GetFocus() == window ? ODS_FOCUS : 0);
        item.hwndItem = window;
        item.hDC = dc;
        ::GetClientRect(window, &item.rcItem);
        ::SendMessageA(::GetParent(window), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
    ::EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_CLICK: Click(window); return 0;
    case BM_GETCHECK: return States().With(window, [](ButtonState& s) { return LRESULT(s.check); });
    case BM_SETCHECK:
        States().With(window, [&](ButtonState& s) { s.check = UINT(wParam); });
        Changed(window);
        return 0;
    case BM_GETSTATE:
        return States().With(window, [&](ButtonState& s) {
            return LRESULT(s.check | (s.pushed ? BST_PUSHED : 0) | (::GetFocus() == window ? BST_FOCUS : 0));
        });
    case BM_SETSTATE:
        States().With(window, [&](ButtonState& s) { s.pushed = wParam != 0; });
        ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    case BM_SETSTYLE: {
        DWORD style = DWORD(::GetWindowLongPtrA(window, GWL_STYLE));
        ::SetWindowLongPtrA(window, GWL_STYLE, LONG_PTR(LONG((style & ~BS_TYPEMASK) | (DWORD(wParam) & BS_TYPEMASK))));
        if (lParam) ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    case WM_LBUTTONDOWN:
        States().With(window, [](ButtonState& s) { s.pushed = true; });
        return 0;
    case WM_LBUTTONUP: {
        bool wasPushed = States().With(window, [](ButtonState& s) {
            bool p = s.pushed;
            s.pushed = false;
            return p;
        });
        if (wasPushed) Click(window);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) Click(window);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

}  // namespace mfc
