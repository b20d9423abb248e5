#include "XPButton.h"

BEGIN_MESSAGE_MAP(CXPButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_MOUSEHOVER()
END_MESSAGE_MAP()

namespace {

struct FramePen {
    int width;
    COLORREF colour;
};
const FramePen kHoverPens[4] = {{3, 0x58C4FA}, {3, 0x6ACAFB}, {2, 0x79D2FC}, {2, 0x0097E5}};
const FramePen kFocusPens[4] = {{3, 0xFCC699}, {3, 0xFCBDA2}, {2, 0xFFC9A2}, {2, 0xFFC9A2}};

}  // namespace

CXPButton::CXPButton() {
    m_penOutline.CreatePen(PS_INSIDEFRAME, 1, RGB(0, 0, 0));
    for (int i = 0; i < 4; ++i) {
        m_penHover[i].CreatePen(PS_INSIDEFRAME, kHoverPens[i].width, kHoverPens[i].colour);
        m_penFocus[i].CreatePen(PS_INSIDEFRAME, kFocusPens[i].width, kFocusPens[i].colour);
    }
    m_brushHover.CreateSolidBrush(0xECDEDF);
    m_brushNormal.CreateSolidBrush(0xECDFDE);
}

CXPButton::~CXPButton() = default;

void CXPButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

void CXPButton::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 1;
        m_bTracking = ::TrackMouseEvent(&track);
    }
    CButton::OnMouseMove(flags, point);
}

void CXPButton::OnMouseHover(UINT, CPoint) {
    m_bHover = TRUE;
    Invalidate(TRUE);
}

void CXPButton::OnMouseLeave() {
    m_bHover = FALSE;
    m_bTracking = FALSE;
    Invalidate(FALSE);
}

void CXPButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const int saved = dc->SaveDC();
    char buffer[261] = {};
    GetWindowText(buffer, 260);
    const CString text(buffer);
    CRect rect = drawItem->rcItem;
    const UINT state = drawItem->itemState;

    dc->SelectObject(&m_penOutline);
    dc->SelectStockObject(NULL_BRUSH);
    dc->RoundRect(&rect, CPoint(5, 5));

    m_bFocus = (state & ODS_FOCUS) != 0;
    m_bLit = (state & (ODS_FOCUS | ODS_SELECTED | ODS_DEFAULT)) != 0;

    rect.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
    dc->SelectObject(m_bHover ? &m_brushHover : &m_brushNormal);
    DrawGradient(dc, &rect);
    if (m_bHover || m_bFocus) DrawFrame(dc, &rect);

    if (!text.IsEmpty()) {
        dc->SelectObject(GetFont());
        const CSize extent = dc->GetTextExtent(text);
        CPoint at(rect.CenterPoint().x - extent.cx / 2, rect.CenterPoint().y - extent.cy / 2);
        if (state & ODS_SELECTED) at.Offset(1, 1);
        dc->SetBkMode(TRANSPARENT);
        dc->DrawState(at, extent, text, (state & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL, TRUE, 0,
                      static_cast<CBrush*>(nullptr));
    }
    dc->RestoreDC(saved);
}

void CXPButton::DrawGradient(CDC* dc, CRect* rect) {
    CBrush brushes[64];
    for (int k = 0; k < 64; ++k) {
        int red, green, blue;
        if (m_bHover) {
            red = green = 255 - k / 4;
            blue = m_bLit ? 255 - k / 3 : 255 - k / 5;
        } else {
            red = green = 255 - k / 3;
            blue = m_bLit ? 255 - k / 4 : 255 - k / 5;
        }
        brushes[k].CreateSolidBrush(RGB(red, green, blue));
    }
    const int height = rect->Height();
    for (int i = 0; i < height; ++i) {
        CRect row(rect->left, rect->top + i, rect->right, rect->top + i + 1);
        dc->FillRect(&row, &brushes[i * 63 / height]);
    }
}

void CXPButton::DrawFrame(CDC* dc, CRect* rect) {
    const bool focusLook = m_bFocus && !m_bHover;
    CPen* pens = focusLook ? m_penFocus : m_penHover;
    // Each line runs along one edge, its pen's width inside the rectangle.
    const CRect& r = *rect;
    const FramePen* look = focusLook ? kFocusPens : kHoverPens;
    const int w[4] = {look[0].width, look[1].width, look[2].width, look[3].width};
    dc->SelectObject(&pens[0]);
    dc->MoveTo(r.left, r.top + w[0] / 2);
    dc->LineTo(r.right, r.top + w[0] / 2);
    dc->SelectObject(&pens[1]);
    dc->MoveTo(r.left + w[1] / 2, r.top);
    dc->LineTo(r.left + w[1] / 2, r.bottom);
    dc->SelectObject(&pens[2]);
    dc->MoveTo(r.left, r.bottom - 1 - w[2] / 2);
    dc->LineTo(r.right, r.bottom - 1 - w[2] / 2);
    dc->SelectObject(&pens[3]);
    dc->MoveTo(r.right - 1 - w[3] / 2, r.top);
    dc->LineTo(r.right - 1 - w[3] / 2, r.bottom);
    if (focusLook) dc->DrawFocusRect(rect);
}
