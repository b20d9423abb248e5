// What every control's painter shares: the paint's DC with the window's font and the colours
// its parent gives (WM_CTLCOLOR*), and the classic look's pieces. Internal.
#pragma once

#include <string>

#include "platform/wingdi.h"

namespace mfc {

class ControlPaint {
public:
    // BeginPaint, the window's font (the dialog font when none was set) and the parent's colours.
    ControlPaint(HWND window, UINT ctlColorMessage);
    ~ControlPaint();
    ControlPaint(const ControlPaint&) = delete;
    ControlPaint& operator=(const ControlPaint&) = delete;

    HWND window;
    HDC dc;
    RECT client{};
    DWORD style = 0;
    DWORD exStyle = 0;
    bool enabled = true;
    std::string text;
    HBRUSH background = nullptr;

    void FillBackground(const RECT& r) const { FillRect(dc, &r, background); }
    // The border its styles ask for (WS_BORDER, WS_EX_CLIENTEDGE, WS_EX_STATICEDGE); returns the inside.
    RECT DrawBorder() const;

private:
    PAINTSTRUCT m_ps{};
    HGDIOBJ m_oldFont = nullptr;
    int m_saved = 0;
};

// The window's font (WM_GETFONT), the dialog font when it has none.
HFONT ControlFont(HWND window);

}  // namespace mfc
