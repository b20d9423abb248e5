// The filter graph's video window (IVideoWindow): the window's owner, drain, style, position,
// visibility and the rest, kept as set and given back, and applied to the video renderer's
// window whenever they change and when the graph starts: with an owner the window is its
// child (WS_CHILD) at the position given, without one a top-level window with a caption.
#pragma once

#include <mutex>
#include <string>

#include "control.h"

namespace platform::dshow {

class GraphVideoWindow : public IVideoWindow {
public:
    using Interface = IVideoWindow;

    STDMETHODIMP put_Caption(BSTR strCaption) override;
    STDMETHODIMP get_Caption(BSTR* strCaption) override;
    STDMETHODIMP put_WindowStyle(long WindowStyle) override;
    STDMETHODIMP get_WindowStyle(long* WindowStyle) override;
    STDMETHODIMP put_WindowStyleEx(long WindowStyleEx) override;
    STDMETHODIMP get_WindowStyleEx(long* WindowStyleEx) override;
    STDMETHODIMP put_AutoShow(long AutoShow) override;
    STDMETHODIMP get_AutoShow(long* AutoShow) override;
    STDMETHODIMP put_WindowState(long WindowState) override;
    STDMETHODIMP get_WindowState(long* WindowState) override;
    STDMETHODIMP put_BackgroundPalette(long BackgroundPalette) override;
    STDMETHODIMP get_BackgroundPalette(long* pBackgroundPalette) override;
    STDMETHODIMP put_Visible(long Visible) override;
    STDMETHODIMP get_Visible(long* pVisible) override;
    STDMETHODIMP put_Left(long Left) override;
    STDMETHODIMP get_Left(long* pLeft) override;
    STDMETHODIMP put_Width(long Width) override;
    STDMETHODIMP get_Width(long* pWidth) override;
    STDMETHODIMP put_Top(long Top) override;
    STDMETHODIMP get_Top(long* pTop) override;
    STDMETHODIMP put_Height(long Height) override;
    STDMETHODIMP get_Height(long* pHeight) override;
    STDMETHODIMP put_Owner(OAHWND Owner) override;
    STDMETHODIMP get_Owner(OAHWND* Owner) override;
    STDMETHODIMP put_MessageDrain(OAHWND Drain) override;
    STDMETHODIMP get_MessageDrain(OAHWND* Drain) override;
    STDMETHODIMP get_BorderColor(long* Color) override;
    STDMETHODIMP put_BorderColor(long Color) override;
    STDMETHODIMP get_FullScreenMode(long* FullScreenMode) override;
    STDMETHODIMP put_FullScreenMode(long FullScreenMode) override;
    STDMETHODIMP SetWindowForeground(long Focus) override;
    STDMETHODIMP NotifyOwnerMessage(OAHWND hwnd, long uMsg, LONG_PTR wParam, LONG_PTR lParam) override;
    STDMETHODIMP SetWindowPosition(long Left, long Top, long Width, long Height) override;
    STDMETHODIMP GetWindowPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
    STDMETHODIMP GetMinIdealImageSize(long* pWidth, long* pHeight) override;
    STDMETHODIMP GetMaxIdealImageSize(long* pWidth, long* pHeight) override;
    STDMETHODIMP GetRestorePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
    STDMETHODIMP HideCursor(long HideCursor) override;
    STDMETHODIMP IsCursorHidden(long* CursorHidden) override;

protected:
    virtual ~GraphVideoWindow() = default;
    // The connected video renderer's window, null when there is none (yet).
    virtual HWND RendererWindow() = 0;
    // The graph paused or ran: with AutoShow the window becomes visible; the state is applied.
    void ShowOnStart();
    void ApplyWindowState();

private:
    template <class T>
    HRESULT Put(const char* call, T* field, T value);
    template <class T>
    HRESULT GetValue(const T& field, T* value);

    std::mutex m_lock;
    std::wstring m_caption = L"ActiveMovie Window";
    long m_style = 0x06CF0000;  // WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
    long m_styleEx = 0;
    long m_autoShow = OATRUE;
    long m_windowState = 1;  // SW_SHOWNORMAL
    long m_backgroundPalette = OAFALSE;
    long m_visible = OAFALSE;
    long m_left = 0, m_top = 0, m_width = 240, m_height = 180;
    OAHWND m_owner = 0, m_drain = 0;
    long m_borderColor = 0;
    long m_fullScreen = OAFALSE;
    long m_cursorHidden = OAFALSE;
};

}  // namespace platform::dshow
