// CXPButton: an owner-drawn push button with rounded corners, a vertical colour gradient and a
// coloured frame while the mouse is over it or it has the focus. It tracks the mouse itself.
#pragma once

#include <afxwin.h>

class CXPButton : public CButton {
public:
    CXPButton();
    ~CXPButton() override;

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    virtual void DrawGradient(CDC* dc, CRect* rect);
    virtual void DrawFrame(CDC* dc, CRect* rect);

    BOOL IsHover() const { return m_bHover; }
    BOOL IsTracking() const { return m_bTracking; }

protected:
    void PreSubclassWindow() override;
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnMouseHover(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CPen m_penOutline;
    CPen m_penHover[4];
    CPen m_penFocus[4];
    CBrush m_brushHover;
    CBrush m_brushNormal;
    BOOL m_bHover = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bFocus = FALSE;
    BOOL m_bLit = FALSE;
};
