// CRootGraph: one DirectShow filter graph with its capture graph builder, its control, event,
// video-window, seeking, basic-video and stream-control interfaces, and the list of the filter
// wrappers added through it, which it owns. Every filter enters through AddFilter (by CLSID) or
// AddDeviceFilter (by category and FriendlyName), which ask the filter-class registry for the
// wrapper class and fall back to a plain CRootFilter. A graph is made, used and destroyed on one
// thread; it initialises COM there (single-threaded apartment).
#pragma once

#include <afxwin.h>
#include <dshow.h>

#include "graph/NameText.h"
#include "graph/RootFilter.h"

// Graph events reported to a window by HandleGraphEvents: lParam one of the codes below.
#define WM_GRAPH_EVENT 0x5832
#define GRAPH_EVENT_DISK_FULL 0x1235           // EC_ERRORABORT of a full disk; wParam 0
#define GRAPH_EVENT_VIDEO_SIZE_CHANGED 0x1236  // wParam: width in the low word, height in the high
#define GRAPH_EVENT_PAUSED 0x1237              // wParam 0
#define GRAPH_EVENT_ERROR_ABORT 0x1238         // wParam: the HRESULT of the abort

// Run states.
#define GRAPH_STATE_STOPPED 0
#define GRAPH_STATE_RUNNING 1
#define GRAPH_STATE_PAUSED 2

class CRootGraph {
public:
    static constexpr int kMaxDeviceNames = 64;
    static constexpr int kDisconnectAttempts = 200;
    static constexpr DWORD kDisconnectRetryMs = 200;

    // Makes the graph (MakeGraph); a failure leaves every interface NULL.
    CRootGraph();
    CRootGraph(const CRootGraph&) = delete;
    CRootGraph& operator=(const CRootGraph&) = delete;
    virtual ~CRootGraph();
    // Stops the graph, disconnects every wrapper and takes each wrapper's filter out of the
    // DirectShow graph; the wrappers stay in the list.
    virtual void ResetGraph();

    BOOL MakeGraph();
    void DestroyGraph();

    // ---- interfaces, for callers that use them directly ----
    IGraphBuilder* GetGraphBuilder() const { return m_pGraph; }
    ICaptureGraphBuilder2* GetCaptureGraphBuilder() const { return m_pBuilder; }
    IMediaControl* GetMediaControl() const { return m_pControl; }
    IMediaEventEx* GetMediaEvent() const { return m_pEvent; }

    // ---- filters ----
    // NULL for a NULL name, when the matched class's creator made nothing, when the wrapper is not
    // valid or when the graph refuses it.
    CRootFilter* AddFilter(REFCLSID clsid, const char* name);
    // `friendlyName` selects the device, `name` names it in the graph, `flag` goes to the
    // registered class's creator, `instance` selects among devices of the same name (0 the first).
    CRootFilter* AddDeviceFilter(REFGUID category, const char* friendlyName, const char* name, int flag,
                                 int instance);
    // Adds a wrapper the caller built, running its set-up first where that has not run; on TRUE
    // the graph owns it, on FALSE (invalid, or refused by the graph) it stays the caller's. A
    // wrapper of a filter that is in this graph already is linked without adding it again.
    BOOL AttachWrapper(CRootFilter* wrapper);
    // Wraps a filter that is in the graph already (never creating another filter).
    void AttachFilter(IBaseFilter* filter);
    void AttachAllFilters();
    // Stops the graph, disconnects the wrapper's pins, takes its filter out of the graph and
    // deletes the wrapper.
    void RemoveFilter(CRootFilter* wrapper);
    void RemoveAllFilters();
    CRootFilter* FindFilter(const char* name);
    CRootFilter* FindFilterByInterface(IBaseFilter* filter);
    CRootFilter* GetFilterList() const { return m_pFilterList; }
    BOOL AddToGraph(CRootFilter* wrapper);
    // TRUE when `filter` is a member of this graph.
    BOOL IsInThisGraph(IBaseFilter* filter) const;
    BOOL RemoveFromGraph(CRootFilter* wrapper);
    BOOL RemoveFromGraph(const char* name);
    static HRESULT GetFilterClassID(IBaseFilter* filter, CLSID* clsid);

    // ---- pins ----
    BOOL Connect(CRootPin* out, CRootPin* in);
    BOOL ConnectFilters(CRootFilter* up, CRootFilter* down);
    // NULL or empty pin names take the first unconnected pin of the direction.
    BOOL ConnectByPinName(CRootFilter* up, CRootFilter* down, const char* outPin, const char* inPin);
    void Disconnect(CRootPin* pin);
    // Disconnects one pin in the graph, retrying while the graph refuses (stopping it each time).
    void DisconnectPin(IPin* pin);
    void DisconnectFilter(CRootFilter* wrapper);
    void DisconnectAllFilters();
    HRESULT Render(CRootPin* out);
    HRESULT RenderEx(CRootPin* out, DWORD flags);
    void NotifyConnectStatusChange();

    // ---- running ----
    BOOL Run();
    BOOL Pause();
    BOOL Stop();
    HRESULT SetState(int state);
    int GetState() const { return m_nState; }
    HRESULT SyncUsingStreamOffset(BOOL use);

    // ---- video window ----
    HRESULT SetVideoOwner(OAHWND owner);
    HRESULT SetVideoMessageDrain(OAHWND drain);
    HRESULT SetVideoWindowStyle(long style);
    HRESULT SetVideoWindowPosition(RECT position);
    HRESULT GetVideoWindowPosition(POINT* position, SIZE* size);
    HRESULT SetVideoVisible(BOOL visible);
    BOOL IsVideoVisible();
    HRESULT GetCurrentImage(long* size, long* image);

    // ---- seeking ----
    HRESULT SetRate(double rate);
    LONGLONG GetCurrentPosition();
    HRESULT SetCurrentPosition(LONGLONG position);
    LONGLONG GetDuration();
    LONGLONG GetStopPosition();

    // ---- events ----
    HRESULT GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeout);
    HRESULT SetNotifyWindow(OAHWND window, long message, LONG_PTR instance);
    HRESULT FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2);
    // Drains the event queue, posting WM_GRAPH_EVENT for the events it reports; stops after an
    // EC_ERRORABORT.
    void HandleGraphEvents(HWND window);

    // ---- devices and files ----
    // kind 0 audio input, 1 video input, 2 audio compressors, 3 video compressors. Fills the
    // device-name table (at most 64 names) and answers its first row, NULL when there is none;
    // *count is the number of rows (0 on every early return).
    const char* EnumDevices(int kind, int* count);
    const char* GetDeviceName(int row) const;
    // Binds the first device of the category whose FriendlyName matches `name` (the compare of
    // CRootFilter's device binding). E_INVALIDARG for an empty name; a failure with *filter NULL
    // when no device matches.
    HRESULT CreateDeviceFilter(GUID category, const char* name, IBaseFilter** filter);
    // Appends each non-empty FriendlyName of the category, in enumeration order.
    HRESULT ListDeviceNames(REFGUID category, CStringArray* names);
    // A failure, with the graph unchanged, for a file that is not a structured-storage file.
    HRESULT LoadGraphFile(const char* path);
    HRESULT SaveGraphFile(const char* path);
    static HRESULT AddToRot(IUnknown* graph, DWORD* cookie);
    static void RemoveFromRot(DWORD cookie);
    static void ShowError(const char* format, ...);

private:
    CRootFilter* CreateWrapper(REFCLSID clsid, const GUID* category, const char* friendlyName, int flag,
                               int instance);
    CRootFilter* AdoptWrapper(CRootFilter* wrapper, const char* name);
    void LinkFilter(CRootFilter* wrapper);

    char m_szDeviceNames[kMaxDeviceNames][kFilterNameSize];
    CRootFilter* m_pFilterList;
    CComPtr<ICaptureGraphBuilder2> m_pBuilder;
    CComPtr<IGraphBuilder> m_pGraph;
    CComPtr<IMediaEventEx> m_pEvent;
    CComPtr<IMediaControl> m_pControl;
    CComPtr<IVideoWindow> m_pVideoWindow;
    CComPtr<IMediaSeeking> m_pSeeking;
    CComPtr<IBasicVideo> m_pBasicVideo;
    CComPtr<IAMGraphStreams> m_pStreams;
    int m_nState;
    DWORD m_dwRotCookie;
    BOOL m_bComInitialized;
};
