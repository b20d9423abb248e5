// Device-context holders and menus.
#include "mfc/Gdi.h"

#include <cstring>

#include "WindowTable.h"
#include "display/InputState.h"
#include "mfc/GdiWrappers.h"
#include "mfc/Wnd.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CMenu, CObject)

// ---- GDI objects ----

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (!object || m_hObject) return FALSE;
    m_hObject = object;
    platform::mfc::Own(object, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    if (h) platform::mfc::Disown(h, this);
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) {
    return bitmap ? Attach(::CreatePatternBrush(*bitmap)) : FALSE;
}

BOOL CFont::CreatePointFont(int pointSizeTenths, LPCSTR face, CDC*) {
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(pointSizeTenths, 96, 720);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face) strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

CFont* CFont::FromHandle(HFONT font) { return static_cast<CFont*>(platform::mfc::WrapperOf(HGDIOBJ(font))); }

BOOL CBitmap::LoadBitmap(UINT id) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCE(id))); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

// ---- device contexts ----

namespace {

// The wrapper of what a selection handed back: the object's own, or a temporary one.
template <class T>
T* Selected(HGDIOBJ old) {
    return static_cast<T*>(platform::mfc::WrapperOf(old));
}

}  // namespace

// As the framework's: a DC it created (or was given) goes with it; CPaintDC and CClientDC give
// theirs back themselves, a temporary wrapper holds none by then.
CDC::~CDC() {
    if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC dc) { return platform::mfc::WrapperOf(dc); }
void CDC::DeleteTempMap() { platform::mfc::FreeTemporaries(false); }
CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return platform::mfc::WrapperOf(object); }
void CGdiObject::DeleteTempMap() { platform::mfc::FreeTemporaries(true); }

BOOL CDC::Attach(HDC dc) {
    if (!dc || m_hDC) return FALSE;
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pen) { return Selected<CPen>(::SelectObject(m_hDC, pen ? pen->m_hObject : nullptr)); }
CBrush* CDC::SelectObject(CBrush* brush) {
    return Selected<CBrush>(::SelectObject(m_hDC, brush ? brush->m_hObject : nullptr));
}
CFont* CDC::SelectObject(CFont* font) { return Selected<CFont>(::SelectObject(m_hDC, font ? font->m_hObject : nullptr)); }
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return Selected<CBitmap>(::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : nullptr));
}
CGdiObject* CDC::SelectStockObject(int index) {
    return Selected<CGdiObject>(::SelectObject(m_hDC, ::GetStockObject(index)));
}
CPalette* CDC::SelectPalette(CPalette* palette, BOOL background) {
    return Selected<CPalette>(::SelectPalette(m_hDC, palette ? HPALETTE(*palette) : nullptr, background));
}

CPoint CDC::SetBrushOrg(int x, int y) {
    POINT old{};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}
CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}
CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}
CPoint CDC::GetViewportOrg() const {
    POINT p{};
    ::GetViewportOrgEx(m_hDC, &p);
    return CPoint(p.x, p.y);
}
CPoint CDC::MoveTo(int x, int y) {
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old.x, old.y);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    // The background colour paints it, and stays set, as the framework does.
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

BOOL CDC::DrawState(CPoint p, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int count, CBrush* brush) {
    return ::DrawStateA(m_hDC, brush ? HBRUSH(*brush) : nullptr, nullptr, reinterpret_cast<LPARAM>(text),
                        WPARAM(count), p.x, p.y, size.cx, size.cy, flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint p, CSize size, HBITMAP bitmap, UINT flags, CBrush* brush) {
    return ::DrawStateA(m_hDC, brush ? HBRUSH(*brush) : nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, p.x,
                        p.y, size.cx, size.cy, flags | DST_BITMAP);
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const {
    SIZE s{0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, count, &s);
    return CSize(s.cx, s.cy);
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window ? window->m_hWnd : nullptr) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window ? window->m_hWnd : nullptr) { m_hDC = ::GetDC(m_hWnd); }

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
    m_items.push_back(Item{flags, id, CString(text)});
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN: return 1024;
    case SM_CYSCREEN: return 768;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    default: return 0;
    }
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    // Icons are named by resource id; the handle stands for the id (no pixels are drawn).
    return reinterpret_cast<HICON>(reinterpret_cast<ULONG_PTR>(name) | 0x10000);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) { return LoadIconA(instance, name); }

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    // The display that moves the pointer gives the notices; the others never do.
    return track ? platform::input::Track(*track) : FALSE;
}
