// CColorButton: an owner-drawn push button with a flat coloured face, a bevelled frame and its
// own text colours; every test page's fail button is one.
#pragma once

#include <afxwin.h>

class CColorButton : public CButton {
    DECLARE_DYNAMIC(CColorButton)
public:
    CColorButton() = default;

    // Subclasses the parent's item; FALSE, storing nothing, when the parent has no such item.
    BOOL Attach(UINT id, CWnd* parent, COLORREF face, COLORREF text, COLORREF disabledText, UINT bevel);
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    COLORREF GetFaceColor() const { return m_crFace; }

private:
    void DrawFrame(CDC* dc, CRect rect, int bevel);
    void DrawFilledRect(CDC* dc, const CRect& rect, COLORREF colour);
    void DrawLine(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour);
    void DrawButtonText(CDC* dc, CRect rect, const CString& text, COLORREF colour);

    COLORREF m_crText = 0;
    COLORREF m_crFace = 0;
    COLORREF m_crDisabledText = 0;
    UINT m_nBevel = 0;
};
