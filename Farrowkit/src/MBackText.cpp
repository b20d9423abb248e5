#include "MBackText.h"

#include <cstring>

BEGIN_MESSAGE_MAP(MBackText, CWnd)
    ON_WM_PAINT()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

MBackText::MBackText() : m_crText(::GetSysColor(COLOR_WINDOWTEXT)), m_crBack(::GetSysColor(COLOR_BTNFACE)) {
    LOGFONT font{};
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = FF_SWISS;
    std::strcpy(font.lfFaceName, "Arial");
    m_font.CreateFontIndirect(&font);
}

MBackText::~MBackText() = default;

void MBackText::SetBkColor(COLORREF color) {
    m_crBack = color;
    m_nBitmapMode = 0;
}

BOOL MBackText::LoadSkin(UINT id) {
    BOOL loaded = m_skin.LoadFromResource(id);
    if (loaded) m_nBitmapMode = 1;
    return loaded;
}

void MBackText::SizeToSkin() {
    if (!m_skin.GetSafeHandle() || !m_hWnd) return;
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&rect);
    MoveWindow(rect.left, rect.top, m_skin.GetWidth(), m_skin.GetHeight());
}

void MBackText::GetLogFont(LOGFONT* font) const { m_font.GetLogFont(font); }

void MBackText::SetLogFont(const LOGFONT* font) {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(font);
}

void MBackText::PreSubclassWindow() {
    if (!m_strText.IsEmpty())
        SetWindowText(m_strText);
    else
        CWnd::GetWindowText(m_strText);
    CWnd::PreSubclassWindow();
}

LRESULT MBackText::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        m_strText = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        Invalidate();
        return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void MBackText::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    CBitmap* oldBitmap = memory.SelectObject(&canvas);

    if (m_skin.GetSafeHandle() && m_nBitmapMode == 1) {
        if (client.Width() <= m_skin.GetWidth() && client.Height() <= m_skin.GetHeight())
            m_skin.Draw(&memory, 0, 0);
        else
            m_skin.StretchDraw(&memory, &client);
    } else {
        memory.FillSolidRect(&client, m_crBack);
    }

    CFont* oldFont = memory.SelectObject(&m_font);
    const int oldMode = memory.SetBkMode(TRANSPARENT);
    const COLORREF oldColor = memory.SetTextColor(m_crText);
    memory.DrawText(m_strText, &client, m_nFormat);
    memory.SelectObject(oldFont);
    memory.SetTextColor(oldColor);
    memory.SetBkMode(oldMode);

    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
}
