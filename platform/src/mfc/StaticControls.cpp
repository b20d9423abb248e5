// The "Static" and "Edit" window classes: text that the program sets, read-only text fields,
// frames, etched lines and pictures, painted in the classic look.
#include <cstdlib>

#include "ControlPaint.h"
#include "ControlStates.h"
#include "platform/winctrl.h"

namespace mfc {

namespace {

struct StaticState {
    HANDLE image = nullptr;  // STM_SETIMAGE: the bitmap a bitmap static shows
};

ControlStates<StaticState>& States() {
    static auto* states = new ControlStates<StaticState>;
    return *states;
}

void PaintStatic(HWND window) {
    ControlPaint p(window, WM_CTLCOLORSTATIC);
    if (!p.dc) return;
    DWORD type = p.style & SS_TYPEMASK;
    RECT r = p.client;
    switch (type) {
    case SS_BLACKRECT: FillRect(p.dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW)); return;
    case SS_GRAYRECT: FillRect(p.dc, &r, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: FillRect(p.dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); return;
    case SS_BLACKFRAME: FrameRect(p.dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW)); return;
    case SS_GRAYFRAME: FrameRect(p.dc, &r, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITEFRAME: FrameRect(p.dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); return;
    case SS_ETCHEDHORZ: DrawEdge(p.dc, &r, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: DrawEdge(p.dc, &r, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: DrawEdge(p.dc, &r, EDGE_ETCHED, BF_RECT); return;
    default: break;
    }
    p.FillBackground(r);
    if (p.style & SS_SUNKEN) DrawEdge(p.dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    r = p.DrawBorder();
    if (type == SS_BITMAP) {
        auto bitmap = static_cast<HBITMAP>(States().With(window, [](StaticState& s) { return s.image; }));
        BITMAP bm{};
        if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return;
        HDC mem = CreateCompatibleDC(p.dc);
        HGDIOBJ old = SelectObject(mem, bitmap);
        int x = r.left, y = r.top;
        if (p.style & SS_CENTERIMAGE) {
            x = (r.left + r.right - bm.bmWidth) / 2;
            y = (r.top + r.bottom - bm.bmHeight) / 2;
        }
        BitBlt(p.dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return;
    }
    if (type == SS_ICON) {
        auto icon = static_cast<HICON>(States().With(window, [](StaticState& s) { return s.image; }));
        if (icon) DrawIcon(p.dc, r.left, r.top, icon);
        return;
    }
    if (type == SS_OWNERDRAW) return;
    UINT format = DT_EXPANDTABS;
    if (type == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
    else if (type == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
    else if (type == SS_LEFT) format |= DT_WORDBREAK;
    else format |= DT_SINGLELINE;
    if (p.style & SS_CENTERIMAGE) format = (format & ~UINT(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    if (p.style & SS_NOPREFIX) format |= DT_NOPREFIX;
    SetBkMode(p.dc, TRANSPARENT);
    DrawTextA(p.dc, p.text.c_str(), -1, &r, format);
}

void PaintEdit(HWND window) {
    DWORD style = DWORD(::GetWindowLongPtrA(window, GWL_STYLE));
    // A read-only or disabled edit is coloured as a static.
    bool field = !(style & ES_READONLY) && ::IsWindowEnabled(window);
    ControlPaint p(window, field ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
    if (!p.dc) return;
    p.FillBackground(p.client);
    RECT r = p.DrawBorder();
    InflateRect(&r, -1, -1);
    UINT format = DT_NOPREFIX | DT_EXPANDTABS | ((style & ES_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
    if (style & ES_CENTER) format |= DT_CENTER;
    else if (style & ES_RIGHT) format |= DT_RIGHT;
    SetBkMode(p.dc, TRANSPARENT);
    DrawTextA(p.dc, p.text.c_str(), -1, &r, format);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        // An icon static of a template names its icon resource by its text ("#128").
        auto create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const char* name = create ? create->lpszName : nullptr;
        if ((DWORD(create ? create->style : 0) & SS_TYPEMASK) == SS_ICON && name && name[0] == '#') {
            HICON icon = LoadIconA(nullptr, MAKEINTRESOURCE(std::atoi(name + 1)));
            States().With(window, [&](StaticState& s) { s.image = icon; });
        }
        return DefaultControlProc(States(), window, message, wParam, lParam);
    }
    case WM_LBUTTONUP:
        if (::GetWindowLongPtrA(window, GWL_STYLE) & SS_NOTIFY) {
            ::SendMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), STN_CLICKED),
                           reinterpret_cast<LPARAM>(window));
        }
        return 0;
    case STM_SETIMAGE: {
        HANDLE old = States().With(window, [&](StaticState& s) {
            HANDLE previous = s.image;
            s.image = reinterpret_cast<HANDLE>(lParam);
            return previous;
        });
        ::InvalidateRect(window, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(States().With(window, [](StaticState& s) { return s.image; }));
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: PaintStatic(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_SETREADONLY: {
        DWORD style = DWORD(::GetWindowLongPtrA(window, GWL_STYLE));
        style = wParam ? (style | ES_READONLY) : (style & ~DWORD(ES_READONLY));
        ::SetWindowLongPtrA(window, GWL_STYLE, LONG_PTR(LONG(style)));
        ::InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    }
    case EM_SETSEL: return 0;
    case WM_SETTEXT: {
        LRESULT r = ::DefWindowProcA(window, message, wParam, lParam);
        HWND parent = ::GetParent(window);
        if (parent) ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), EN_CHANGE), reinterpret_cast<LPARAM>(window));
        return r;
    }
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: PaintEdit(window); return 0;
    default: return DefaultControlProc(window, message, wParam, lParam);
    }
}

}  // namespace mfc
