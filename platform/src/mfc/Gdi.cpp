// Device-context holders and menus.
#include "mfc/Gdi.h"

#include <map>
#include <mutex>

#include "WindowTable.h"
#include "display/DisplayHost.h"
#include "mfc/Wnd.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CMenu, CObject)

CDC* CDC::FromHandle(HDC dc) {
    static std::mutex lock;
    static auto* wrappers = new std::map<HDC, CDC*>;
    std::lock_guard<std::mutex> g(lock);
    CDC*& wrapper = (*wrappers)[dc];
    if (!wrapper) {
        wrapper = new CDC;
        wrapper->m_hDC = dc;
    }
    return wrapper;
}

BOOL CDC::Attach(HDC dc) {
    if (m_hDC) return FALSE;
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window ? window->m_hWnd : nullptr) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
    m_items.push_back(Item{flags, id, CString(text)});
    return TRUE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    if (!paint) return nullptr;
    *paint = PAINTSTRUCT{};
    // The part that needs painting; the window is valid from here on.
    if (!platform::win::TakeUpdateRect(window, &paint->rcPaint)) return nullptr;
    paint->hdc = platform::display::PaintSurface(window);
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) { return TRUE; }

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
    // No pointer moves over these displays, so no hover or leave ever follows; the request is taken.
    return track && track->cbSize == sizeof(TRACKMOUSEEVENT) && ::IsWindow(track->hwndTrack);
}
