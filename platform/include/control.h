// The filter graph's control interfaces as applications call them: media control, the event
// queue, the video window and the basic-video properties. They answer automation-style
// (long, BSTR, OAHWND) arguments; the stand-in has no automation, so they derive from IUnknown.
#pragma once

#include "strmif.h"

#define OATRUE (-1)
#define OAFALSE (0)

DEFINE_DSHOW_GUID(IID_IMediaControl, 0x0130);
DEFINE_DSHOW_GUID(IID_IMediaEvent, 0x0131);
DEFINE_DSHOW_GUID(IID_IMediaEventEx, 0x0132);
DEFINE_DSHOW_GUID(IID_IVideoWindow, 0x0133);
DEFINE_DSHOW_GUID(IID_IBasicVideo, 0x0134);

struct IMediaControl : public IUnknown {
    STDMETHOD(Run)() PURE;
    STDMETHOD(Pause)() PURE;
    STDMETHOD(Stop)() PURE;
    STDMETHOD(GetState)(LONG msTimeout, OAFilterState* pfs) PURE;
    STDMETHOD(RenderFile)(BSTR strFilename) PURE;
    STDMETHOD(AddSourceFilter)(BSTR strFilename, IUnknown** ppUnk) PURE;
    STDMETHOD(get_FilterCollection)(IUnknown** ppUnk) PURE;
    STDMETHOD(get_RegFilterCollection)(IUnknown** ppUnk) PURE;
    STDMETHOD(StopWhenReady)() PURE;
};

struct IMediaEvent : public IUnknown {
    // A manual-reset event that is signalled while events are queued.
    STDMETHOD(GetEventHandle)(OAEVENT* hEvent) PURE;
    // The oldest queued event; E_ABORT when none arrives within msTimeout.
    STDMETHOD(GetEvent)(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long msTimeout) PURE;
    STDMETHOD(WaitForCompletion)(long msTimeout, long* pEvCode) PURE;
    STDMETHOD(CancelDefaultHandling)(long lEvCode) PURE;
    STDMETHOD(RestoreDefaultHandling)(long lEvCode) PURE;
    STDMETHOD(FreeEventParams)(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) PURE;
};

#define AM_MEDIAEVENT_NONOTIFY 0x01

struct IMediaEventEx : public IMediaEvent {
    // Posts `lMsg` (wParam 0, lParam lInstanceData) to `hwnd` when an event is queued.
    STDMETHOD(SetNotifyWindow)(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) PURE;
    STDMETHOD(SetNotifyFlags)(long lNoNotifyFlags) PURE;
    STDMETHOD(GetNotifyFlags)(long* lplNoNotifyFlags) PURE;
};

struct IVideoWindow : public IUnknown {
    STDMETHOD(put_Caption)(BSTR strCaption) PURE;
    STDMETHOD(get_Caption)(BSTR* strCaption) PURE;
    STDMETHOD(put_WindowStyle)(long WindowStyle) PURE;
    STDMETHOD(get_WindowStyle)(long* WindowStyle) PURE;
    STDMETHOD(put_WindowStyleEx)(long WindowStyleEx) PURE;
    STDMETHOD(get_WindowStyleEx)(long* WindowStyleEx) PURE;
    STDMETHOD(put_AutoShow)(long AutoShow) PURE;
    STDMETHOD(get_AutoShow)(long* AutoShow) PURE;
    STDMETHOD(put_WindowState)(long WindowState) PURE;
    STDMETHOD(get_WindowState)(long* WindowState) PURE;
    STDMETHOD(put_BackgroundPalette)(long BackgroundPalette) PURE;
    STDMETHOD(get_BackgroundPalette)(long* pBackgroundPalette) PURE;
    STDMETHOD(put_Visible)(long Visible) PURE;
    STDMETHOD(get_Visible)(long* pVisible) PURE;
    STDMETHOD(put_Left)(long Left) PURE;
    STDMETHOD(get_Left)(long* pLeft) PURE;
    STDMETHOD(put_Width)(long Width) PURE;
    STDMETHOD(get_Width)(long* pWidth) PURE;
    STDMETHOD(put_Top)(long Top) PURE;
    STDMETHOD(get_Top)(long* pTop) PURE;
    STDMETHOD(put_Height)(long Height) PURE;
    STDMETHOD(get_Height)(long* pHeight) PURE;
    STDMETHOD(put_Owner)(OAHWND Owner) PURE;
    STDMETHOD(get_Owner)(OAHWND* Owner) PURE;
    STDMETHOD(put_MessageDrain)(OAHWND Drain) PURE;
    STDMETHOD(get_MessageDrain)(OAHWND* Drain) PURE;
    STDMETHOD(get_BorderColor)(long* Color) PURE;
    STDMETHOD(put_BorderColor)(long Color) PURE;
    STDMETHOD(get_FullScreenMode)(long* FullScreenMode) PURE;
    STDMETHOD(put_FullScreenMode)(long FullScreenMode) PURE;
    STDMETHOD(SetWindowForeground)(long Focus) PURE;
    STDMETHOD(NotifyOwnerMessage)(OAHWND hwnd, long uMsg, LONG_PTR wParam, LONG_PTR lParam) PURE;
    STDMETHOD(SetWindowPosition)(long Left, long Top, long Width, long Height) PURE;
    STDMETHOD(GetWindowPosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) PURE;
    STDMETHOD(GetMinIdealImageSize)(long* pWidth, long* pHeight) PURE;
    STDMETHOD(GetMaxIdealImageSize)(long* pWidth, long* pHeight) PURE;
    STDMETHOD(GetRestorePosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) PURE;
    STDMETHOD(HideCursor)(long HideCursor) PURE;
    STDMETHOD(IsCursorHidden)(long* CursorHidden) PURE;
};

struct IBasicVideo : public IUnknown {
    STDMETHOD(get_AvgTimePerFrame)(REFTIME* pAvgTimePerFrame) PURE;
    STDMETHOD(get_BitRate)(long* pBitRate) PURE;
    STDMETHOD(get_BitErrorRate)(long* pBitErrorRate) PURE;
    STDMETHOD(get_VideoWidth)(long* pVideoWidth) PURE;
    STDMETHOD(get_VideoHeight)(long* pVideoHeight) PURE;
    STDMETHOD(put_SourceLeft)(long SourceLeft) PURE;
    STDMETHOD(get_SourceLeft)(long* pSourceLeft) PURE;
    STDMETHOD(put_SourceWidth)(long SourceWidth) PURE;
    STDMETHOD(get_SourceWidth)(long* pSourceWidth) PURE;
    STDMETHOD(put_SourceTop)(long SourceTop) PURE;
    STDMETHOD(get_SourceTop)(long* pSourceTop) PURE;
    STDMETHOD(put_SourceHeight)(long SourceHeight) PURE;
    STDMETHOD(get_SourceHeight)(long* pSourceHeight) PURE;
    STDMETHOD(put_DestinationLeft)(long DestinationLeft) PURE;
    STDMETHOD(get_DestinationLeft)(long* pDestinationLeft) PURE;
    STDMETHOD(put_DestinationWidth)(long DestinationWidth) PURE;
    STDMETHOD(get_DestinationWidth)(long* pDestinationWidth) PURE;
    STDMETHOD(put_DestinationTop)(long DestinationTop) PURE;
    STDMETHOD(get_DestinationTop)(long* pDestinationTop) PURE;
    STDMETHOD(put_DestinationHeight)(long DestinationHeight) PURE;
    STDMETHOD(get_DestinationHeight)(long* pDestinationHeight) PURE;
    STDMETHOD(SetSourcePosition)(long Left, long Top, long Width, long Height) PURE;
    STDMETHOD(GetSourcePosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) PURE;
    STDMETHOD(SetDefaultSourcePosition)() PURE;
    STDMETHOD(SetDestinationPosition)(long Left, long Top, long Width, long Height) PURE;
    STDMETHOD(GetDestinationPosition)(long* pLeft, long* pTop, long* pWidth, long* pHeight) PURE;
    STDMETHOD(SetDefaultDestinationPosition)() PURE;
    STDMETHOD(GetVideoSize)(long* pWidth, long* pHeight) PURE;
    STDMETHOD(GetVideoPaletteEntries)(long StartIndex, long Entries, long* pRetrieved, long* pPalette) PURE;
    // The current image as a packed bitmap (BITMAPINFOHEADER, then pixels); with a NULL
    // pDIBImage, *pBufferSize gets the size needed.
    STDMETHOD(GetCurrentImage)(long* pBufferSize, long* pDIBImage) PURE;
    STDMETHOD(IsUsingDefaultSource)() PURE;
    STDMETHOD(IsUsingDefaultDestination)() PURE;
};

PLATFORM_INTERFACE_TRAITS(IMediaControl, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMediaEvent, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMediaEventEx, IMediaEvent);
PLATFORM_INTERFACE_TRAITS(IVideoWindow, IUnknown);
PLATFORM_INTERFACE_TRAITS(IBasicVideo, IUnknown);
