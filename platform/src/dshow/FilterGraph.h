// The filter graph manager (CLSID_FilterGraph): filters joined under unique names, direct and
// intelligent connection, rendering, the run state of every filter, the event queue, video
// window, basic video, seeking and stream synchronisation, and saving to a stream.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "GraphBasicVideo.h"
#include "GraphEventQueue.h"
#include "GraphSeeking.h"
#include "GraphVideoWindow.h"
#include "platform/dshow/CriticalSection.h"
#include "platform/dshow/GraphFilters.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class FilterGraphCore
    : public ComObject<IFilterGraph2, IMediaControl, IMediaFilter, IMediaEventSink, IAMGraphStreams, IPersistStream> {};

class FilterGraph
    : public With<FilterGraphCore, GraphEventQueue, GraphVideoWindow, GraphBasicVideo, GraphSeeking> {
public:
    // IFilterGraph
    STDMETHODIMP AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
    STDMETHODIMP RemoveFilter(IBaseFilter* pFilter) override;
    STDMETHODIMP EnumFilters(IEnumFilters** ppEnum) override;
    STDMETHODIMP FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) override;
    STDMETHODIMP ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Reconnect(IPin* ppin) override;
    STDMETHODIMP Disconnect(IPin* ppin) override;
    STDMETHODIMP SetDefaultSyncSource() override;
    // IGraphBuilder
    STDMETHODIMP Connect(IPin* ppinOut, IPin* ppinIn) override;
    STDMETHODIMP Render(IPin* ppinOut) override;
    STDMETHODIMP RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) override;
    STDMETHODIMP AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) override;
    STDMETHODIMP SetLogFile(DWORD_PTR hFile) override;
    STDMETHODIMP Abort() override;
    STDMETHODIMP ShouldOperationContinue() override;
    // IFilterGraph2
    STDMETHODIMP AddSourceFilterForMoniker(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                           IBaseFilter** ppFilter) override;
    STDMETHODIMP ReconnectEx(IPin* ppin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP RenderEx(IPin* pPinOut, DWORD dwFlags, DWORD* pvContext) override;
    // IMediaControl
    STDMETHODIMP Run() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP GetState(LONG msTimeout, OAFilterState* pfs) override;
    STDMETHODIMP RenderFile(BSTR strFilename) override;
    STDMETHODIMP AddSourceFilter(BSTR strFilename, IUnknown** ppUnk) override;
    STDMETHODIMP get_FilterCollection(IUnknown** ppUnk) override;
    STDMETHODIMP get_RegFilterCollection(IUnknown** ppUnk) override;
    STDMETHODIMP StopWhenReady() override;
    // IMediaFilter (Stop and Pause as IMediaControl's). A clock set, or none, stays the graph's
    // choice: with SetSyncSource(NULL) it runs unclocked.
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
    // IMediaEventSink
    STDMETHODIMP Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;
    // IAMGraphStreams
    STDMETHODIMP FindUpstreamInterface(IPin* pPin, REFIID riid, void** ppvInterface, DWORD dwFlags) override;
    STDMETHODIMP SyncUsingStreamOffset(BOOL bUseStreamOffset) override;
    STDMETHODIMP SetMaxGraphLatency(REFERENCE_TIME rtMaxGraphLatency) override;
    // IPersistStream
    STDMETHODIMP GetClassID(CLSID* pClassID) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* pStm) override;
    STDMETHODIMP Save(IStream* pStm, BOOL fClearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* pcbSize) override;

protected:
    ~FilterGraph() override;
    bool RendererFormat(VIDEOINFOHEADER* format) override;
    size_t RendererImage(BYTE* dib, size_t capacity) override;
    HWND RendererWindow() override;

private:
    struct Member {
        CComPtr<IBaseFilter> filter;
        std::wstring name;
    };
    std::vector<Member> Members() const;
    bool Contains(IBaseFilter* filter) const;
    bool PinInGraph(IPin* pin) const;
    FILTER_STATE GraphState() const;
    std::vector<CComPtr<IBaseFilter>> InStreamOrder(bool upstream) const;
    // The first video renderer with a connected input.
    CComPtr<IBaseFilter> VideoRenderer() const;
    std::wstring UniqueName(const std::wstring& wanted) const;
    // Every filter to `to`, recorded as the graph's state when every filter took it. The first
    // failure is the answer; after a failed Pause or Run the filters are stopped again.
    HRESULT ChangeFilters(FILTER_STATE to);
    HRESULT PauseFromStopped();
    HRESULT ConnectThrough(const GraphFilterEntry& entry, IPin* out, IPin* in);
    HRESULT RenderWith(IPin* out, bool existingOnly);

    // Held across state changes and changes of the graph's filters and connections, so that
    // none of them runs in the middle of another.
    CriticalSection m_graphLock;
    mutable std::mutex m_lock;
    std::vector<Member> m_members;  // in the order they joined
    std::atomic<bool> m_closing{false};  // the graph is being destroyed: events are dropped
    FILTER_STATE m_state = State_Stopped;
    CComPtr<IReferenceClock> m_clock;  // once SetDefaultSyncSource made it or SetSyncSource set it
    bool m_clockChosen = false;        // a clock (or none) was set: Run makes no default one
    int m_renderers = 0;               // renderers with a connected input, counted at start
    int m_completed = 0;               // of them, those that reported EC_COMPLETE
    bool m_hasRunStart = false;        // run since the graph last stopped
    REFERENCE_TIME m_runStart = 0;     // the clock's time at stream time 0
    REFERENCE_TIME m_pausedAt = 0;     // the clock's time when the run last paused
    BOOL m_streamOffset = FALSE;
    REFERENCE_TIME m_maxLatency = 0;
};

}  // namespace platform::dshow
