// The "Button" window class: push, default, owner-drawn, check and radio buttons, group boxes.
#include <algorithm>

#include "ControlPaint.h"
#include "ControlStates.h"
#include "DialogNavigation.h"
#include "platform/winctrl.h"
#include "platform/windowcore.h"

namespace mfc {

namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool held = false;  // the left button went down on it and is not released yet
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
        ::InvalidateRect(window, nullptr, TRUE);
    } else if (type == BS_AUTORADIOBUTTON) {
        HWND parent = ::GetParent(window);
        for (HWND sibling : platform::GetChildWindowList(parent)) {
            if (sibling != window && Type(sibling) == BS_AUTORADIOBUTTON) ::SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        ::SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
    }
    Notify(window, BN_CLICKED);
}

void PaintOwnerDrawn(HWND window, bool pushed) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    if (dc) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = UINT(::GetDlgCtrlID(window));
        item.itemAction = ODA_DRAWENTIRE;
        HWND parent = ::GetParent(window);
        LRESULT defId = parent ? ::SendMessageA(parent, DM_GETDEFID, 0, 0) : 0;
        bool isDefault = HIWORD(defId) == DC_HASDEFID && LOWORD(defId) == item.CtlID;
        item.itemState = (pushed ? ODS_SELECTED : 0) | (::IsWindowEnabled(window) ? 0 : ODS_DISABLED) |
                         (::GetFocus() == window ? ODS_FOCUS : 0) | (isDefault ? ODS_DEFAULT : 0);
        item.hwndItem = window;
        item.hDC = dc;
        ::GetClientRect(window, &item.rcItem);
        HGDIOBJ oldFont = SelectObject(dc, ControlFont(window));
        ::SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        SelectObject(dc, oldFont);
    }
    ::EndPaint(window, &ps);
}

// The caption; etched when disabled: the shadow grey over the highlight white one pixel down and
// to the right.
void DrawCaption(const ControlPaint& p, RECT r, UINT format) {
    SetBkMode(p.dc, TRANSPARENT);
    if (p.enabled) {
        DrawTextA(p.dc, p.text.c_str(), -1, &r, format);
        return;
    }
    COLORREF old = SetTextColor(p.dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT below = r;
    OffsetRect(&below, 1, 1);
    DrawTextA(p.dc, p.text.c_str(), -1, &below, format);
    SetTextColor(p.dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(p.dc, p.text.c_str(), -1, &r, format);
    SetTextColor(p.dc, old);
}

bool IsPush(HWND window) {
    DWORD type = Type(window);
    return mfc::IsPushButton(window) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// As the dialog manager shows it: a push button with the focus is the default one; the dialog's
// default button is while the focus is on no other push button of the dialog.
bool LooksDefault(HWND window) {
    HWND focus = ::GetFocus();
    if (focus == window) return true;
    if (Type(window) != BS_DEFPUSHBUTTON) return false;
    return !(focus && ::GetParent(focus) == ::GetParent(window) && IsPush(focus));
}

// The focus came to or left a push button: the dialog's default button changes its look too.
void RepaintDefault(HWND window) {
    if (!IsPush(window)) return;
    for (HWND sibling : platform::GetChildWindowList(::GetParent(window)))
        if (sibling != window && Type(sibling) == BS_DEFPUSHBUTTON) ::InvalidateRect(sibling, nullptr, TRUE);
}

void PaintPush(HWND window, bool pushed) {
    ControlPaint p(window, WM_CTLCOLORBTN);
    if (!p.dc) return;
    RECT r = p.client;
    FillRect(p.dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (LooksDefault(window)) {
        FrameRect(p.dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (pushed) {
        FrameRect(p.dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&r, -1, -1);
    } else {
        DrawEdge(p.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    RECT text = r;
    if (pushed) OffsetRect(&text, 1, 1);
    SetTextColor(p.dc, GetSysColor(COLOR_BTNTEXT));
    DrawCaption(p, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (::GetFocus() == window) {
        RECT focus = p.client;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(p.dc, &focus);
    }
}

void PaintGroupBox(HWND window) {
    ControlPaint p(window, WM_CTLCOLORSTATIC);
    if (!p.dc) return;
    TEXTMETRICA tm{};
    GetTextMetricsA(p.dc, &tm);
    RECT frame = p.client;
    frame.top += tm.tmHeight / 2;
    DrawEdge(p.dc, &frame, EDGE_ETCHED, BF_RECT);
    if (p.text.empty()) return;
    RECT text{8, 0, p.client.right - 8, tm.tmHeight};
    int height = DrawTextA(p.dc, p.text.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
    RECT behind{text.left - 2, 0, text.right + 2, height};
    p.FillBackground(behind);
    DrawCaption(p, text, DT_SINGLELINE);
}

void PaintCheck(HWND window, UINT check) {
    ControlPaint p(window, WM_CTLCOLORSTATIC);
    if (!p.dc) return;
    p.FillBackground(p.client);
    int y = (p.client.bottom - 13) / 2;
    RECT box{0, y, 13, y + 13};
    DWORD type = Type(window);
    bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    HBRUSH field = GetSysColorBrush(p.enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    if (radio) {
        HGDIOBJ oldPen = SelectObject(p.dc, GetStockObject(BLACK_PEN));
        HGDIOBJ oldBrush = SelectObject(p.dc, field);
        Ellipse(p.dc, box.left, box.top, box.right, box.bottom);
        if (check) {
            SelectObject(p.dc, GetStockObject(BLACK_BRUSH));
            Ellipse(p.dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
        }
        SelectObject(p.dc, oldPen);
        SelectObject(p.dc, oldBrush);
    } else {
        RECT inside = box;
        DrawEdge(p.dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(p.dc, &inside, field);
        if (check) {
            // A tick: a short stroke down, a long one up.
            for (int i = 0; i < 2; ++i) {
                RECT stroke{3 + i, y + 5 + i, 4 + i, y + 8 + i};
                FillRect(p.dc, &stroke, GetSysColorBrush(COLOR_WINDOWTEXT));
            }
            for (int i = 0; i < 5; ++i) {
                RECT stroke{5 + i, y + 7 - i, 6 + i, y + 10 - i};
                FillRect(p.dc, &stroke, GetSysColorBrush(COLOR_WINDOWTEXT));
            }
        }
    }
    RECT text{17, 0, p.client.right, p.client.bottom};
    DrawCaption(p, text, DT_SINGLELINE | DT_VCENTER);
    if (::GetFocus() == window) {
        RECT focus = text;
        DrawTextA(p.dc, p.text.c_str(), -1, &focus, DT_SINGLELINE | DT_CALCRECT);
        int h = focus.bottom - focus.top;
        focus = RECT{focus.left - 1, (p.client.bottom - h) / 2 - 1, focus.right + 1, (p.client.bottom + h) / 2 + 1};
        DrawFocusRect(p.dc, &focus);
    }
}

// A pointer position (client coordinates, signed) inside the button.
bool Inside(HWND window, LPARAM position) {
    RECT client;
    ::GetClientRect(window, &client);
    POINT p{short(LOWORD(position)), short(HIWORD(position))};
    return ::PtInRect(&client, p) != FALSE;
}

void Paint(HWND window) {
    ButtonState s = States().With(window, [](ButtonState& st) { return st; });
    switch (Type(window)) {
    case BS_OWNERDRAW: PaintOwnerDrawn(window, s.pushed); break;
    case BS_GROUPBOX: PaintGroupBox(window); break;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_USERBUTTON: PaintPush(window, s.pushed); break;
    default: PaintCheck(window, s.check); break;
    }
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_CLICK: Click(window); return 0;
    case BM_GETCHECK: return States().With(window, [](ButtonState& s) { return LRESULT(s.check); });
    case BM_SETCHECK:
        States().With(window, [&](ButtonState& s) { s.check = UINT(wParam); });
        Changed(window);
        ::InvalidateRect(window, nullptr, TRUE);
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
    // Pressed while the left button is held over it; a release over it clicks, a release after
    // the pointer left it does not. The press takes the focus, so the dialog's keys (Space, and
    // Enter on a push button, which then wears the default frame) act on the button clicked.
    case WM_LBUTTONDOWN:
        if (Type(window) != BS_GROUPBOX && ::GetFocus() != window) ::SetFocus(window);
        States().With(window, [](ButtonState& s) { s.pushed = s.held = true; });
        ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE: {
        bool inside = Inside(window, lParam);
        bool changed = States().With(window, [&](ButtonState& s) {
            if (!s.held || s.pushed == inside) return false;
            s.pushed = inside;
            return true;
        });
        if (changed) ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    case WM_LBUTTONUP: {
        bool wasPushed = States().With(window, [](ButtonState& s) {
            bool p = s.pushed;
            s.pushed = s.held = false;
            return p;
        });
        if (wasPushed) {
            ::InvalidateRect(window, nullptr, TRUE);
            if (Inside(window, lParam)) Click(window);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) Click(window);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        RepaintDefault(window);
        ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

}  // namespace mfc
