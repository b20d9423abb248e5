#include "colorbtn.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CColorButton, CButton)

BOOL CColorButton::Attach(UINT id, CWnd* parent, COLORREF face, COLORREF text, COLORREF disabledText, UINT bevel) {
    if (!SubclassDlgItem(id, parent)) return FALSE;
    m_crFace = face;
    m_crText = text;
    m_crDisabledText = disabledText;
    m_nBevel = bevel;
    return TRUE;
}

void CColorButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const UINT state = drawItem->itemState;
    CRect focus = drawItem->rcItem;
    focus.DeflateRect(4, 4);
    const CRect button = drawItem->rcItem;
    char buffer[513] = {};
    GetWindowText(buffer, 512);
    const CString text(buffer);

    DrawFilledRect(dc, button, m_crFace);
    DrawFrame(dc, button, int(m_nBevel));
    DrawButtonText(dc, button, text, m_crText);

    if (state & ODS_FOCUS) {
        dc->DrawFocusRect(&focus);
        if (state & ODS_SELECTED) {
            DrawFilledRect(dc, button, m_crFace);
            DrawFrame(dc, button, -1);
            DrawButtonText(dc, button, text, m_crText);
            dc->DrawFocusRect(&focus);
        }
    } else if (state & ODS_DISABLED) {
        DrawButtonText(dc, button, text, m_crDisabledText);
    }
}

void CColorButton::DrawFrame(CDC* dc, CRect rect, int bevel) {
    const int rings = std::abs(bevel);
    for (int i = 0; i < rings; ++i) {
        const int darkGrey = 255 / (i + 2);
        const int lightGrey = 63 / (i + 1) + 192;
        COLORREF dark = PALETTERGB(darkGrey, darkGrey, darkGrey);
        COLORREF light = PALETTERGB(lightGrey, lightGrey, lightGrey);
        if (rings == 1) {
            light = RGB(255, 255, 255);
            dark = RGB(128, 128, 128);
        }
        const COLORREF topLeft = bevel >= 0 ? light : dark;
        COLORREF bottomRight = bevel >= 0 ? dark : light;
        if (bevel < 0 && rings > 1 && i == rings - 1) bottomRight = RGB(1, 1, 1);
        DrawLine(dc, rect.left, rect.top, rect.right, rect.top, topLeft);
        DrawLine(dc, rect.left, rect.top, rect.left, rect.bottom, topLeft);
        DrawLine(dc, rect.left + 1, rect.bottom - 1, rect.right, rect.bottom - 1, bottomRight);
        DrawLine(dc, rect.right - 1, rect.top + 1, rect.right - 1, rect.bottom, bottomRight);
        rect.DeflateRect(1, 1);
    }
}

void CColorButton::DrawFilledRect(CDC* dc, const CRect& rect, COLORREF colour) {
    CBrush brush(colour);
    dc->FillRect(&rect, &brush);
}

void CColorButton::DrawLine(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
    dc->SelectObject(old);
}

void CColorButton::DrawButtonText(CDC* dc, CRect rect, const CString& text, COLORREF colour) {
    const COLORREF old = dc->SetTextColor(colour);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawText(text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(old);
}
