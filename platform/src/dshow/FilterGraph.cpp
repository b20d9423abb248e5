// The filter graph manager.
#include "FilterGraph.h"

#include <algorithm>
#include <cstdio>

#include "Enumerators.h"
#include "GraphFile.h"
#include "Inject.h"
#include "ReferenceClock.h"
#include "filters/VideoRenderer.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/RendererBase.h"
#include "evcode.h"
#include "StoreLocked.h"
#include "uuids.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

constexpr size_t kMaxName = MAX_FILTER_NAME - 1;

CComPtr<IBaseFilter> PinFilter(IPin* pin) {
    CComPtr<IBaseFilter> filter;
    PIN_INFO info;
    if (pin && SUCCEEDED(pin->QueryPinInfo(&info))) filter.Attach(info.pFilter);
    return filter;
}

std::vector<CComPtr<IPin>> FilterPins(IBaseFilter* filter, PIN_DIRECTION direction, bool unconnectedOnly) {
    std::vector<CComPtr<IPin>> pins;
    CComPtr<IEnumPins> e;
    if (!filter || FAILED(filter->EnumPins(&e)) || !e) return pins;
    CComPtr<IPin> pin;
    while (e->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        CComPtr<IPin> peer;
        bool connected = pin->ConnectedTo(&peer) == S_OK;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction && !(unconnectedOnly && connected))
            pins.push_back(pin);
        pin.Release();
    }
    return pins;
}

bool IsRenderer(IBaseFilter* filter) {
    return FilterPins(filter, PINDIR_OUTPUT, false).empty() && !FilterPins(filter, PINDIR_INPUT, false).empty();
}

// The filters connected to a filter's pins of `direction`: its inputs' feeders, or what its
// outputs feed.
std::vector<CComPtr<IBaseFilter>> NeighboursOf(IBaseFilter* filter, PIN_DIRECTION direction) {
    std::vector<CComPtr<IBaseFilter>> found;
    for (auto& pin : FilterPins(filter, direction, false)) {
        CComPtr<IPin> peer;
        if (pin->ConnectedTo(&peer) == S_OK) found.push_back(PinFilter(peer));
    }
    return found;
}

// Ends the streaming threads of the graph's filters (sources), each joined.
void EndStreaming(const std::vector<CComPtr<IBaseFilter>>& filters) {
    for (auto& filter : filters)
        if (auto* base = dynamic_cast<FilterBase*>(filter.p)) base->EndStreaming();
}

// Breaks a pin's connection at both ends.
void DisconnectBoth(IPin* pin) {
    CComPtr<IPin> peer;
    if (pin->ConnectedTo(&peer) == S_OK) peer->Disconnect();
    pin->Disconnect();
}

}  // namespace

// The graph's filters leave stopped and disconnected, as RemoveFilter leaves them. They leave
// the graph first, so that no event they report while stopping reaches the dying graph.
FilterGraph::~FilterGraph() {
    m_closing = true;
    for (Member& m : m_members) m.filter->JoinFilterGraph(nullptr, nullptr);
    EndStreaming(InStreamOrder(false));
    for (Member& m : m_members) m.filter->Stop();
    for (Member& m : m_members) m.filter->SetSyncSource(nullptr);
    for (Member& m : m_members)
        for (PIN_DIRECTION d : {PINDIR_INPUT, PINDIR_OUTPUT})
            for (auto& pin : FilterPins(m.filter, d, false)) DisconnectBoth(pin);
}

std::vector<FilterGraph::Member> FilterGraph::Members() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_members;
}

bool FilterGraph::Contains(IBaseFilter* filter) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return std::any_of(m_members.begin(), m_members.end(), [filter](const Member& m) { return m.filter == filter; });
}

bool FilterGraph::PinInGraph(IPin* pin) const {
    CComPtr<IBaseFilter> filter = PinFilter(pin);
    return filter && Contains(filter);
}

FILTER_STATE FilterGraph::GraphState() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}

std::wstring FilterGraph::UniqueName(const std::wstring& wanted) const {
    std::lock_guard<std::mutex> lock(m_lock);
    auto taken = [this](const std::wstring& name) {
        return std::any_of(m_members.begin(), m_members.end(), [&](const Member& m) { return m.name == name; });
    };
    std::wstring base = wanted.substr(0, kMaxName);
    if (!taken(base)) return base;
    base = wanted.substr(0, kMaxName - 5);
    for (int n = 1; n <= 9999; ++n) {
        wchar_t suffix[8];
        std::swprintf(suffix, 8, L" %04d", n);
        if (!taken(base + suffix)) return base + suffix;
    }
    return std::wstring();
}

// ---- IFilterGraph ----

STDMETHODIMP FilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
    if (!pFilter) return E_POINTER;
    HRESULT hr;
    if (Injected("IFilterGraph::AddFilter", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (Contains(pFilter)) return E_INVALIDARG;
    std::wstring wanted = pName && *pName ? pName : L"Filter";
    std::wstring name = UniqueName(wanted);
    if (name.empty()) return VFW_E_DUPLICATE_NAME;
    hr = pFilter->JoinFilterGraph(this, name.c_str());
    if (FAILED(hr)) return hr;
    CComPtr<IReferenceClock> clock;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_members.push_back(Member{pFilter, name});
        clock = m_clock;
    }
    if (clock) pFilter->SetSyncSource(clock);
    return pName && *pName && name != wanted.substr(0, kMaxName) ? VFW_S_DUPLICATE_NAME : S_OK;
}

STDMETHODIMP FilterGraph::RemoveFilter(IBaseFilter* pFilter) {
    if (!pFilter) return E_POINTER;
    HRESULT hr;
    if (Injected("IFilterGraph::RemoveFilter", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (!Contains(pFilter)) return VFW_E_NOT_FOUND;
    if (GraphState() != State_Stopped) return VFW_E_NOT_STOPPED;
    for (PIN_DIRECTION d : {PINDIR_INPUT, PINDIR_OUTPUT})
        for (auto& pin : FilterPins(pFilter, d, false)) DisconnectBoth(pin);
    CComPtr<IBaseFilter> keep(pFilter);  // alive until it has left
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_members.erase(std::remove_if(m_members.begin(), m_members.end(),
                                       [pFilter](const Member& m) { return m.filter == pFilter; }),
                        m_members.end());
    }
    pFilter->JoinFilterGraph(nullptr, nullptr);
    pFilter->SetSyncSource(nullptr);
    return S_OK;
}

STDMETHODIMP FilterGraph::EnumFilters(IEnumFilters** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<CComPtr<IBaseFilter>> filters;
    for (Member& m : Members()) filters.push_back(m.filter);
    return CreateComObject<InterfaceEnumerator<IEnumFilters, IBaseFilter>>(
        IID_IEnumFilters, reinterpret_cast<void**>(ppEnum), std::move(filters));
}

STDMETHODIMP FilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) {
    if (!pName || !ppFilter) return E_POINTER;
    *ppFilter = nullptr;
    for (Member& m : Members()) {
        if (m.name == pName) {
            *ppFilter = m.filter.Detach();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP FilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
    if (!ppinOut || !ppinIn) return E_POINTER;
    HRESULT hr;
    if (Injected("IFilterGraph::ConnectDirect", VFW_E_CANNOT_CONNECT, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (!PinInGraph(ppinOut) || !PinInGraph(ppinIn)) return VFW_E_NOT_IN_GRAPH;
    if (GraphState() != State_Stopped) return VFW_E_NOT_STOPPED;
    return ppinOut->Connect(ppinIn, pmt);
}

STDMETHODIMP FilterGraph::Reconnect(IPin*) { return E_NOTIMPL; }

STDMETHODIMP FilterGraph::Disconnect(IPin* ppin) {
    if (!ppin) return E_POINTER;
    HRESULT hr;
    if (Injected("IFilterGraph::Disconnect", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (GraphState() != State_Stopped) return VFW_E_NOT_STOPPED;
    return ppin->Disconnect();
}

// The graph's clock over the platform clock, given to every filter (and to those added later).
STDMETHODIMP FilterGraph::SetDefaultSyncSource() {
    CComPtr<IReferenceClock> clock;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        clock = m_clock;
    }
    if (!clock) clock.Attach(new ReferenceClock());
    return SetSyncSource(clock);
}

STDMETHODIMP FilterGraph::SetSyncSource(IReferenceClock* pClock) {
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (GraphState() != State_Stopped) return VFW_E_NOT_STOPPED;
    StoreLocked(m_lock, std::tie(m_clock, m_clockChosen), pClock, true);
    for (Member& m : Members()) m.filter->SetSyncSource(pClock);
    return S_OK;
}

STDMETHODIMP FilterGraph::GetSyncSource(IReferenceClock** pClock) {
    if (!pClock) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    return m_clock.CopyTo(pClock);
}

// ---- IGraphBuilder ----

HRESULT FilterGraph::ConnectThrough(const GraphFilterEntry& entry, IPin* out, IPin* in) {
    CComPtr<IBaseFilter> middle;
    if (FAILED(CoCreateInstance(entry.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&middle))))
        return VFW_E_CANNOT_CONNECT;
    if (FAILED(AddFilter(middle, entry.name.c_str()))) return VFW_E_CANNOT_CONNECT;
    for (auto& middleIn : FilterPins(middle, PINDIR_INPUT, true)) {
        if (FAILED(out->Connect(middleIn, nullptr))) continue;
        // The middle filter's outputs may appear only now that its input is connected.
        for (auto& middleOut : FilterPins(middle, PINDIR_OUTPUT, true))
            if (SUCCEEDED(middleOut->Connect(in, nullptr))) return S_OK;
        DisconnectBoth(out);
        break;
    }
    RemoveFilter(middle);
    return VFW_E_CANNOT_CONNECT;
}

STDMETHODIMP FilterGraph::Connect(IPin* ppinOut, IPin* ppinIn) {
    if (!ppinOut || !ppinIn) return E_POINTER;
    HRESULT hr;
    if (Injected("IGraphBuilder::Connect", VFW_E_CANNOT_CONNECT, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (!PinInGraph(ppinOut) || !PinInGraph(ppinIn)) return VFW_E_NOT_IN_GRAPH;
    if (GraphState() != State_Stopped) return VFW_E_NOT_STOPPED;
    hr = ppinOut->Connect(ppinIn, nullptr);
    if (SUCCEEDED(hr)) return hr;
    if (hr == VFW_E_ALREADY_CONNECTED || hr == VFW_E_INVALID_DIRECTION) return hr;
    for (const GraphFilterEntry& entry : GraphFilters(GraphFilterRole::Intermediate))
        if (SUCCEEDED(ConnectThrough(entry, ppinOut, ppinIn))) return S_OK;
    return VFW_E_CANNOT_CONNECT;
}

HRESULT FilterGraph::RenderWith(IPin* out, bool existingOnly) {
    if (!out) return E_POINTER;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (!PinInGraph(out)) return VFW_E_NOT_IN_GRAPH;
    PIN_DIRECTION direction;
    if (FAILED(out->QueryDirection(&direction)) || direction != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
    CComPtr<IPin> peer;
    if (out->ConnectedTo(&peer) == S_OK) return VFW_E_ALREADY_CONNECTED;
    if (existingOnly) {
        for (Member& m : Members()) {
            if (!IsRenderer(m.filter)) continue;
            for (auto& in : FilterPins(m.filter, PINDIR_INPUT, true))
                if (SUCCEEDED(Connect(out, in))) return S_OK;
        }
        return VFW_E_CANNOT_RENDER;
    }
    for (const GraphFilterEntry& entry : GraphFilters(GraphFilterRole::Renderer)) {
        CComPtr<IBaseFilter> renderer;
        if (FAILED(CoCreateInstance(entry.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                    reinterpret_cast<void**>(&renderer))))
            continue;
        if (FAILED(AddFilter(renderer, entry.name.c_str()))) continue;
        for (auto& in : FilterPins(renderer, PINDIR_INPUT, true))
            if (SUCCEEDED(Connect(out, in))) return S_OK;
        RemoveFilter(renderer);
    }
    return VFW_E_CANNOT_RENDER;
}

STDMETHODIMP FilterGraph::Render(IPin* ppinOut) {
    HRESULT hr;
    if (Injected("IGraphBuilder::Render", VFW_E_CANNOT_RENDER, &hr)) return hr;
    return RenderWith(ppinOut, false);
}

STDMETHODIMP FilterGraph::RenderFile(LPCWSTR, LPCWSTR) { return E_NOTIMPL; }
STDMETHODIMP FilterGraph::AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter** ppFilter) {
    if (ppFilter) *ppFilter = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP FilterGraph::SetLogFile(DWORD_PTR) { return S_OK; }
STDMETHODIMP FilterGraph::Abort() { return S_OK; }
STDMETHODIMP FilterGraph::ShouldOperationContinue() { return S_OK; }

// ---- IFilterGraph2 ----

STDMETHODIMP FilterGraph::AddSourceFilterForMoniker(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                                    IBaseFilter** ppFilter) {
    if (!pMoniker || !ppFilter) return E_POINTER;
    *ppFilter = nullptr;
    CComPtr<IBaseFilter> filter;
    HRESULT hr = pMoniker->BindToObject(pCtx, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    if (FAILED(hr)) return hr;
    hr = AddFilter(filter, lpcwstrFilterName);
    if (SUCCEEDED(hr)) *ppFilter = filter.Detach();
    return hr;
}

STDMETHODIMP FilterGraph::ReconnectEx(IPin*, const AM_MEDIA_TYPE*) { return E_NOTIMPL; }

STDMETHODIMP FilterGraph::RenderEx(IPin* pPinOut, DWORD dwFlags, DWORD*) {
    HRESULT hr;
    if (Injected("IFilterGraph2::RenderEx", VFW_E_CANNOT_RENDER, &hr)) return hr;
    if (dwFlags & ~DWORD(AM_RENDEREX_RENDERTOEXISTINGRENDERERS)) return E_INVALIDARG;
    return RenderWith(pPinOut, dwFlags & AM_RENDEREX_RENDERTOEXISTINGRENDERERS);
}

// ---- IMediaControl ----

// The filters in stream order, each after every filter that feeds it (sources first), or
// against it (renderers first); filters not connected to each other in the order they joined.
std::vector<CComPtr<IBaseFilter>> FilterGraph::InStreamOrder(bool upstream) const {
    std::vector<CComPtr<IBaseFilter>> pending, ordered;
    for (const Member& m : Members()) pending.push_back(m.filter);
    auto placed = [&](IBaseFilter* f) {
        return std::any_of(ordered.begin(), ordered.end(), [f](auto& o) { return o.p == f; });
    };
    auto inGraph = [&](IBaseFilter* f) {
        return std::any_of(pending.begin(), pending.end(), [f](auto& p) { return p.p == f; });
    };
    while (!pending.empty()) {
        size_t left = pending.size();
        for (auto it = pending.begin(); it != pending.end();) {
            auto before = NeighboursOf(*it, upstream ? PINDIR_OUTPUT : PINDIR_INPUT);
            bool ready = std::all_of(before.begin(), before.end(),
                                     [&](auto& u) { return !u || placed(u) || !inGraph(u) || u.p == it->p; });
            if (ready) {
                ordered.push_back(*it);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
        if (pending.size() == left) {  // a loop: the rest as they joined
            ordered.insert(ordered.end(), pending.begin(), pending.end());
            break;
        }
    }
    return ordered;
}

HRESULT FilterGraph::ChangeFilters(FILTER_STATE to) {
    // Sources stream only while everything downstream runs: they end their streaming before any
    // filter pauses or stops. As the graph manager does, every change goes from the renderers
    // upstream, so a filter is ready for what its upstream neighbour sends before that one
    // changes; a filter already in the state is sent nothing.
    if (to != State_Running) EndStreaming(InStreamOrder(false));
    std::vector<CComPtr<IBaseFilter>> order = InStreamOrder(true);
    // Stream time stands still while paused: running again, the start moves on by the pause.
    REFERENCE_TIME start = 0, now = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_clock) m_clock->GetTime(&now);
        if (to == State_Running) start = m_state == State_Paused && m_hasRunStart ? m_runStart + now - m_pausedAt : now;
        if (to == State_Paused && m_state == State_Running) m_pausedAt = now;
    }
    HRESULT first = S_OK;
    for (auto& filter : order) {
        FILTER_STATE now = State_Stopped;
        if (filter->GetState(0, &now) == S_OK && now == to) continue;
        HRESULT hr = to == State_Running ? filter->Run(start) : to == State_Paused ? filter->Pause() : filter->Stop();
        if (FAILED(hr) && SUCCEEDED(first)) first = hr;
        // A refused stop does not keep the others running; a refused start stops them all.
        if (FAILED(hr) && to != State_Stopped) break;
    }
    if (FAILED(first)) {
        if (to != State_Stopped) ChangeFilters(State_Stopped);
        return first;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_state == State_Stopped && to != State_Stopped) {
        m_renderers = 0;
        for (auto& filter : order)
            if (IsRenderer(filter) && !FilterPins(filter, PINDIR_INPUT, false).empty() &&
                FilterPins(filter, PINDIR_INPUT, true).size() < FilterPins(filter, PINDIR_INPUT, false).size())
                ++m_renderers;
        m_completed = 0;
    }
    m_state = to;
    m_hasRunStart = to != State_Stopped && (to == State_Running || m_hasRunStart);
    if (to == State_Running) m_runStart = start;
    return S_OK;
}

STDMETHODIMP FilterGraph::Run() {
    HRESULT hr;
    if (Injected("IMediaControl::Run", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (GraphState() == State_Stopped && FAILED(hr = PauseFromStopped())) return hr;
    hr = ChangeFilters(State_Running);
    if (SUCCEEDED(hr)) ShowOnStart();
    return hr;
}

STDMETHODIMP FilterGraph::Pause() {
    HRESULT hr;
    if (Injected("IMediaControl::Pause", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    hr = GraphState() == State_Stopped ? PauseFromStopped() : ChangeFilters(State_Paused);
    if (SUCCEEDED(hr)) {
        ShowOnStart();
        Push(EC_PAUSED, S_OK, 0);
    }
    return hr;
}

STDMETHODIMP FilterGraph::Stop() {
    HRESULT hr;
    if (Injected("IMediaControl::Stop", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    // A running graph stops through Paused, as the graph manager takes it.
    if (GraphState() == State_Running && FAILED(hr = ChangeFilters(State_Paused))) return hr;
    return ChangeFilters(State_Stopped);
}

// A graph leaving Stopped gets its default clock, unless a clock (or none) was chosen.
HRESULT FilterGraph::PauseFromStopped() {
    bool clockChosen;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        clockChosen = m_clockChosen;
    }
    if (!clockChosen) SetDefaultSyncSource();
    return ChangeFilters(State_Paused);
}

STDMETHODIMP FilterGraph::GetState(LONG msTimeout, OAFilterState* pfs) {
    if (!pfs) return E_POINTER;
    FILTER_STATE state = State_Stopped;
    HRESULT hr = GetState(DWORD(msTimeout), &state);
    *pfs = state;
    return hr;
}

// The graph's run starts at its clock's now, as IMediaControl::Run's does.
STDMETHODIMP FilterGraph::Run(REFERENCE_TIME) { return Run(); }

// The graph's state, with VFW_S_STATE_INTERMEDIATE while a filter has not reached it yet (and
// VFW_S_CANT_CUE where a filter cannot cue data while paused), after waiting for each filter
// as long as the time-out lets.
STDMETHODIMP FilterGraph::GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) {
    if (!State) return E_POINTER;
    *State = GraphState();
    HRESULT answer = S_OK;
    for (const Member& m : Members()) {
        FILTER_STATE state = State_Stopped;
        HRESULT hr = m.filter->GetState(dwMilliSecsTimeout, &state);
        if (FAILED(hr)) return hr;
        if (hr == VFW_S_STATE_INTERMEDIATE || state != *State) answer = VFW_S_STATE_INTERMEDIATE;
        else if (hr == VFW_S_CANT_CUE && answer == S_OK) answer = VFW_S_CANT_CUE;
    }
    return answer;
}

STDMETHODIMP FilterGraph::RenderFile(BSTR) { return E_NOTIMPL; }
STDMETHODIMP FilterGraph::AddSourceFilter(BSTR, IUnknown** ppUnk) {
    if (ppUnk) *ppUnk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP FilterGraph::get_FilterCollection(IUnknown** ppUnk) {
    if (ppUnk) *ppUnk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP FilterGraph::get_RegFilterCollection(IUnknown** ppUnk) {
    if (ppUnk) *ppUnk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP FilterGraph::StopWhenReady() { return Stop(); }

// ---- IMediaEventSink ----

// While the graph streams, EC_COMPLETE is reported once, when every renderer that started has
// had end of stream; outside that (no renderer, or stopped) it is passed on as it comes. A
// renderer flushed after its EC_COMPLETE takes it back, so that its next one counts again.
STDMETHODIMP FilterGraph::Notify(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
    if (m_closing) return E_UNEXPECTED;
    if (EventCode == kEcCompleteWithdrawn) {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_completed > 0) --m_completed;
        return S_OK;
    }
    if (EventCode == EC_COMPLETE) {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_state != State_Stopped && m_renderers > 0 && ++m_completed != m_renderers) return S_OK;
    }
    Push(EventCode, EventParam1, EventParam2);
    return S_OK;
}

// ---- IAMGraphStreams ----

STDMETHODIMP FilterGraph::FindUpstreamInterface(IPin* pPin, REFIID riid, void** ppvInterface, DWORD) {
    if (!pPin || !ppvInterface) return E_POINTER;
    *ppvInterface = nullptr;
    // The pin, then along its connection upstream: the pin it is connected to, that pin's
    // filter, and on through that filter's input pins.
    std::vector<CComPtr<IPin>> pending{pPin};
    std::vector<IUnknown*> seen;
    while (!pending.empty()) {
        CComPtr<IPin> pin = pending.back();
        pending.pop_back();
        if (std::find(seen.begin(), seen.end(), pin.p) != seen.end()) continue;
        seen.push_back(pin);
        if (SUCCEEDED(pin->QueryInterface(riid, ppvInterface))) return S_OK;
        PIN_DIRECTION direction;
        CComPtr<IPin> peer;
        if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_INPUT || pin->ConnectedTo(&peer) != S_OK)
            continue;
        if (SUCCEEDED(peer->QueryInterface(riid, ppvInterface))) return S_OK;
        CComPtr<IBaseFilter> upstream = PinFilter(peer);
        if (!upstream) continue;
        if (SUCCEEDED(upstream->QueryInterface(riid, ppvInterface))) return S_OK;
        for (auto& in : FilterPins(upstream, PINDIR_INPUT, false)) pending.push_back(in);
    }
    return E_NOINTERFACE;
}

STDMETHODIMP FilterGraph::SyncUsingStreamOffset(BOOL bUseStreamOffset) {
    HRESULT hr;
    if (Injected("IAMGraphStreams::SyncUsingStreamOffset", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_streamOffset), bUseStreamOffset);
}

STDMETHODIMP FilterGraph::SetMaxGraphLatency(REFERENCE_TIME rtMaxGraphLatency) {
    return StoreLocked(m_lock, std::tie(m_maxLatency), rtMaxGraphLatency);
}

// ---- IPersistStream ----

STDMETHODIMP FilterGraph::GetClassID(CLSID* pClassID) {
    if (!pClassID) return E_POINTER;
    *pClassID = CLSID_FilterGraph;
    return S_OK;
}

STDMETHODIMP FilterGraph::IsDirty() { return S_OK; }

STDMETHODIMP FilterGraph::Load(IStream* pStm) {
    if (!pStm) return E_POINTER;
    HRESULT hr;
    if (Injected("IPersistStream::Load", E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> graphLock(m_graphLock);
    if (GraphState() != State_Stopped) return VFW_E_NOT_STOPPED;
    return LoadGraph(this, pStm);
}

STDMETHODIMP FilterGraph::Save(IStream* pStm, BOOL) {
    if (!pStm) return E_POINTER;
    HRESULT hr;
    if (Injected("IPersistStream::Save", E_FAIL, &hr)) return hr;
    return SaveGraph(this, pStm);
}

STDMETHODIMP FilterGraph::GetSizeMax(ULARGE_INTEGER* pcbSize) {
    if (pcbSize) pcbSize->QuadPart = 0;
    return E_NOTIMPL;
}

// ---- IBasicVideo's source of truth ----

bool FilterGraph::RendererFormat(VIDEOINFOHEADER* format) {
    for (Member& m : Members()) {
        if (!IsRenderer(m.filter)) continue;
        for (auto& in : FilterPins(m.filter, PINDIR_INPUT, false)) {
            AM_MEDIA_TYPE mt;
            if (FAILED(in->ConnectionMediaType(&mt))) continue;
            bool video = IsEqualGUID(mt.majortype, MEDIATYPE_Video) && IsEqualGUID(mt.formattype, FORMAT_VideoInfo) &&
                         mt.cbFormat >= sizeof(VIDEOINFOHEADER) && mt.pbFormat;
            if (video) *format = *reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat);
            FreeMediaType(mt);
            if (video) return true;
        }
    }
    return false;
}

}  // namespace platform::dshow

namespace platform::dshow {

CComPtr<IBaseFilter> FilterGraph::VideoRenderer() const {
    for (const Member& m : Members()) {
        auto* renderer = dynamic_cast<VideoRendererFilter*>(m.filter.p);
        if (renderer && renderer->CountPins(PINDIR_INPUT, true) == 0) return m.filter;
    }
    return nullptr;
}

size_t FilterGraph::RendererImage(BYTE* dib, size_t capacity) {
    CComPtr<IBaseFilter> renderer = VideoRenderer();
    return renderer ? static_cast<VideoRendererFilter*>(renderer.p)->CurrentImage(dib, capacity) : 0;
}

HWND FilterGraph::RendererWindow() {
    CComPtr<IBaseFilter> renderer = VideoRenderer();
    return renderer ? static_cast<VideoRendererFilter*>(renderer.p)->Window() : nullptr;
}


}  // namespace platform::dshow
