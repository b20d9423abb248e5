// The controls' shared painting pieces.
#include "ControlPaint.h"

#include <vector>

namespace mfc {

HFONT ControlFont(HWND window) {
    auto font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

ControlPaint::ControlPaint(HWND w, UINT ctlColorMessage) : window(w) {
    dc = ::BeginPaint(window, &m_ps);
    ::GetClientRect(window, &client);
    style = DWORD(::GetWindowLongPtrA(window, GWL_STYLE));
    exStyle = DWORD(::GetWindowLongPtrA(window, GWL_EXSTYLE));
    enabled = ::IsWindowEnabled(window) != FALSE;
    std::vector<char> buffer(size_t(::GetWindowTextLengthA(window)) + 1);
    ::GetWindowTextA(window, buffer.data(), int(buffer.size()));
    text = buffer.data();
    if (!dc) return;
    m_saved = SaveDC(dc);
    m_oldFont = SelectObject(dc, ControlFont(window));
    HWND parent = ::GetParent(window);
    LRESULT brush = parent ? ::SendMessageA(parent, ctlColorMessage, WPARAM(dc), LPARAM(window)) : 0;
    if (!brush) brush = ::DefWindowProcA(window, ctlColorMessage, WPARAM(dc), LPARAM(window));
    background = reinterpret_cast<HBRUSH>(brush);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
}

ControlPaint::~ControlPaint() {
    if (dc) {
        SelectObject(dc, m_oldFont);
        RestoreDC(dc, m_saved);
    }
    ::EndPaint(window, &m_ps);
}

RECT ControlPaint::DrawBorder() const {
    RECT r = client;
    if (exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else if (exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (style & WS_BORDER) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    return r;
}

}  // namespace mfc
