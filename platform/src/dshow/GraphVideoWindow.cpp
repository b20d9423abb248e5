// The filter graph's video window state.
#include "GraphVideoWindow.h"

#include "Inject.h"
#include "platform/winnls.h"
#include "platform/winuser.h"
#include "StoreLocked.h"

namespace platform::dshow {

template <class T>
HRESULT GraphVideoWindow::Put(const char* call, T* field, T value) {
    HRESULT hr;
    if (Injected(call, E_FAIL, &hr)) return hr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        *field = value;
    }
    ApplyWindowState();
    return S_OK;
}

template <class T>
HRESULT GraphVideoWindow::GetValue(const T& field, T* value) {
    if (!value) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *value = field;
    return S_OK;
}

STDMETHODIMP GraphVideoWindow::put_Caption(BSTR strCaption) {
    StoreLocked(m_lock, std::tie(m_caption), strCaption ? strCaption : L"");
    ApplyWindowState();
    return S_OK;
}

STDMETHODIMP GraphVideoWindow::get_Caption(BSTR* strCaption) {
    if (!strCaption) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *strCaption = SysAllocString(m_caption.c_str());
    return *strCaption ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP GraphVideoWindow::put_WindowStyle(long v) { return Put("IVideoWindow::put_WindowStyle", &m_style, v); }
STDMETHODIMP GraphVideoWindow::get_WindowStyle(long* v) { return GetValue(m_style, v); }
STDMETHODIMP GraphVideoWindow::put_WindowStyleEx(long v) { return Put("IVideoWindow::put_WindowStyleEx", &m_styleEx, v); }
STDMETHODIMP GraphVideoWindow::get_WindowStyleEx(long* v) { return GetValue(m_styleEx, v); }
STDMETHODIMP GraphVideoWindow::put_AutoShow(long v) { return Put("IVideoWindow::put_AutoShow", &m_autoShow, v); }
STDMETHODIMP GraphVideoWindow::get_AutoShow(long* v) { return GetValue(m_autoShow, v); }
STDMETHODIMP GraphVideoWindow::put_WindowState(long v) { return Put("IVideoWindow::put_WindowState", &m_windowState, v); }
STDMETHODIMP GraphVideoWindow::get_WindowState(long* v) { return GetValue(m_windowState, v); }
STDMETHODIMP GraphVideoWindow::put_BackgroundPalette(long v) {
    return Put("IVideoWindow::put_BackgroundPalette", &m_backgroundPalette, v);
}
STDMETHODIMP GraphVideoWindow::get_BackgroundPalette(long* v) { return GetValue(m_backgroundPalette, v); }
STDMETHODIMP GraphVideoWindow::put_Visible(long v) { return Put("IVideoWindow::put_Visible", &m_visible, v); }
STDMETHODIMP GraphVideoWindow::get_Visible(long* v) { return GetValue(m_visible, v); }
STDMETHODIMP GraphVideoWindow::put_Left(long v) { return Put("IVideoWindow::put_Left", &m_left, v); }
STDMETHODIMP GraphVideoWindow::get_Left(long* v) { return GetValue(m_left, v); }
STDMETHODIMP GraphVideoWindow::put_Width(long v) { return Put("IVideoWindow::put_Width", &m_width, v); }
STDMETHODIMP GraphVideoWindow::get_Width(long* v) { return GetValue(m_width, v); }
STDMETHODIMP GraphVideoWindow::put_Top(long v) { return Put("IVideoWindow::put_Top", &m_top, v); }
STDMETHODIMP GraphVideoWindow::get_Top(long* v) { return GetValue(m_top, v); }
STDMETHODIMP GraphVideoWindow::put_Height(long v) { return Put("IVideoWindow::put_Height", &m_height, v); }
STDMETHODIMP GraphVideoWindow::get_Height(long* v) { return GetValue(m_height, v); }
STDMETHODIMP GraphVideoWindow::get_BorderColor(long* v) { return GetValue(m_borderColor, v); }
STDMETHODIMP GraphVideoWindow::put_BorderColor(long v) { return Put("IVideoWindow::put_BorderColor", &m_borderColor, v); }
STDMETHODIMP GraphVideoWindow::get_FullScreenMode(long* v) { return GetValue(m_fullScreen, v); }
STDMETHODIMP GraphVideoWindow::put_FullScreenMode(long v) {
    return Put("IVideoWindow::put_FullScreenMode", &m_fullScreen, v);
}
STDMETHODIMP GraphVideoWindow::HideCursor(long v) { return Put("IVideoWindow::HideCursor", &m_cursorHidden, v); }
STDMETHODIMP GraphVideoWindow::IsCursorHidden(long* v) { return GetValue(m_cursorHidden, v); }

STDMETHODIMP GraphVideoWindow::put_Owner(OAHWND Owner) { return Put("IVideoWindow::put_Owner", &m_owner, Owner); }
STDMETHODIMP GraphVideoWindow::get_Owner(OAHWND* Owner) { return GetValue(m_owner, Owner); }
STDMETHODIMP GraphVideoWindow::put_MessageDrain(OAHWND Drain) {
    return Put("IVideoWindow::put_MessageDrain", &m_drain, Drain);
}
STDMETHODIMP GraphVideoWindow::get_MessageDrain(OAHWND* Drain) { return GetValue(m_drain, Drain); }

STDMETHODIMP GraphVideoWindow::SetWindowForeground(long) { return S_OK; }
STDMETHODIMP GraphVideoWindow::NotifyOwnerMessage(OAHWND, long, LONG_PTR, LONG_PTR) { return S_OK; }

STDMETHODIMP GraphVideoWindow::SetWindowPosition(long Left, long Top, long Width, long Height) {
    HRESULT hr;
    if (Injected("IVideoWindow::SetWindowPosition", E_FAIL, &hr)) return hr;
    if (Width < 0 || Height < 0) return E_INVALIDARG;
    StoreLocked(m_lock, std::tie(m_left, m_top, m_width, m_height), Left, Top, Width, Height);
    ApplyWindowState();
    return S_OK;
}

void GraphVideoWindow::ShowOnStart() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_autoShow) m_visible = OATRUE;
    }
    ApplyWindowState();
}

void GraphVideoWindow::ApplyWindowState() {
    HWND window = RendererWindow();
    if (!window) return;
    std::wstring caption;
    long style, left, top, width, height, visible;
    HWND owner;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        caption = m_caption;
        style = m_style;
        left = m_left, top = m_top, width = m_width, height = m_height;
        visible = m_visible;
        owner = reinterpret_cast<HWND>(m_owner);
    }
    if (owner && !IsWindow(owner)) owner = nullptr;
    style &= ~long(WS_VISIBLE);
    style = owner ? (style | WS_CHILD) & ~long(WS_POPUP) : (style & ~long(WS_CHILD)) | WS_CAPTION;
    if (GetParent(window) != owner) SetParent(window, owner);
    SetWindowLongPtrA(window, GWL_STYLE, style | (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE));
    SetWindowTextA(window, WideToUtf8(caption).c_str());
    MoveWindow(window, left, top, width, height, TRUE);
    ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

STDMETHODIMP GraphVideoWindow::GetWindowPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
    if (!pLeft || !pTop || !pWidth || !pHeight) return E_POINTER;
    HRESULT hr;
    if (Injected("IVideoWindow::GetWindowPosition", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *pLeft = m_left;
    *pTop = m_top;
    *pWidth = m_width;
    *pHeight = m_height;
    return S_OK;
}

STDMETHODIMP GraphVideoWindow::GetMinIdealImageSize(long* pWidth, long* pHeight) {
    if (!pWidth || !pHeight) return E_POINTER;
    *pWidth = *pHeight = 1;
    return S_OK;
}

STDMETHODIMP GraphVideoWindow::GetMaxIdealImageSize(long* pWidth, long* pHeight) {
    if (!pWidth || !pHeight) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pWidth = m_width;
    *pHeight = m_height;
    return S_OK;
}

STDMETHODIMP GraphVideoWindow::GetRestorePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
    return GetWindowPosition(pLeft, pTop, pWidth, pHeight);
}

}  // namespace platform::dshow
