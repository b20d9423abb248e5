// MBackText: a text label with its own background. It subclasses an existing dialog control and
// paints, through a memory bitmap, a solid colour or a skin with one line of text over it in its
// own font and colour.
#pragma once

#include <afxwin.h>

#include "SkinBitmap.h"

class MBackText : public CWnd {
public:
    MBackText();
    ~MBackText() override;

    void SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_crBack; }
    BOOL LoadSkin(UINT id);
    void SizeToSkin();
    void GetLogFont(LOGFONT* font) const;
    void SetLogFont(const LOGFONT* font);
    CString GetText() const { return m_strText; }

    // The text's colour, set by the pages before the control paints.
    COLORREF m_crText;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    // Enabling or disabling leaves the control as it is drawn.
    afx_msg void OnEnable(BOOL enable) {}
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crBack;
    CFont m_font;
    CSkinBitmap m_skin;
    CString m_strText;
    int m_nBitmapMode = 0;
    UINT m_nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
};
