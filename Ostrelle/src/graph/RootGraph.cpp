// CRootGraph: one DirectShow filter graph with its capture graph builder, control and events.
#include "graph/RootGraph.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "graph/DeviceEnum.h"
#include "graph/FileSinkName.h"
#include "graph/FilterClassRecord.h"
#include "graph/StrA2W.h"
#include "graph/WrapperList.h"

namespace {

// EC_ERRORABORT's first parameter when the disk is full.
const LONG_PTR kDiskFullError = static_cast<LONG>(0x80070070);

const GUID* DeviceCategoryOfKind(int kind) {
    switch (kind) {
    case 0:
        return &CLSID_AudioInputDeviceCategory;
    case 1:
        return &CLSID_VideoInputDeviceCategory;
    case 2:
        return &CLSID_AudioCompressorCategory;
    case 3:
        return &CLSID_VideoCompressorCategory;
    default:
        return nullptr;
    }
}

}  // namespace

// ---- life ----

CRootGraph::CRootGraph()
    : m_szDeviceNames(), m_pFilterList(nullptr), m_nState(GRAPH_STATE_STOPPED), m_dwRotCookie(0),
      m_bComInitialized(FALSE) {
    MakeGraph();
}

CRootGraph::~CRootGraph() {
    DestroyGraph();
}

BOOL CRootGraph::MakeGraph() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return FALSE;
    m_bComInitialized = TRUE;
    m_pFilterList = nullptr;
    m_nState = GRAPH_STATE_STOPPED;
    m_dwRotCookie = 0;

    const char* failure = nullptr;
    if (FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC, IID_ICaptureGraphBuilder2,
                                reinterpret_cast<void**>(&m_pBuilder)))) {
        failure = "MakeBuilder() fail : Cannot instantiate graph builder";
    } else if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC, IID_IGraphBuilder,
                                       reinterpret_cast<void**>(&m_pGraph)))) {
        failure = "MakeGraph() fail : Cannot instantiate filtergraph";
    } else {
        AddToRot(m_pGraph, &m_dwRotCookie);
        if (FAILED(m_pBuilder->SetFiltergraph(m_pGraph))) {
            failure = "Cannot give graph to builder";
        } else if (FAILED(m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pEvent)))) {
            failure = "Cannot get IID_IMediaEventEx interface";
        } else if (FAILED(m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pControl)))) {
            failure = "Cannot get IID_IMediaControl interface";
        } else if (FAILED(m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow)))) {
            failure = "Cannot get IVideoWindow interface";
        } else if (FAILED(m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pSeeking)))) {
            failure = "Cannot get IID_IMediaSeeking interface";
        } else if (FAILED(m_pControl->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m_pBasicVideo)))) {
            failure = "Cannot get IID_IBasicVideo interface";
        } else if (FAILED(m_pGraph->QueryInterface(IID_IAMGraphStreams, reinterpret_cast<void**>(&m_pStreams)))) {
            failure = "Cannot get IID_IAMGraphStreams interface";
        }
    }
    if (failure == nullptr) return TRUE;
    ShowError("%s", failure);
    DestroyGraph();
    return FALSE;
}

void CRootGraph::DestroyGraph() {
    if (!m_bComInitialized) return;
    m_bComInitialized = FALSE;
    if (m_dwRotCookie != 0) {
        RemoveFromRot(m_dwRotCookie);
        m_dwRotCookie = 0;
    }
    Stop();
    if (m_pVideoWindow != nullptr) {
        m_pVideoWindow->put_Visible(OAFALSE);
        m_pVideoWindow->put_Owner(0);
    }
    RemoveAllFilters();
    m_pBasicVideo.Release();
    m_pSeeking.Release();
    m_pVideoWindow.Release();
    m_pControl.Release();
    m_pEvent.Release();
    m_pGraph.Release();
    m_pBuilder.Release();
    m_pStreams.Release();
    CoUninitialize();
}

void CRootGraph::ResetGraph() {
    Stop();
    DisconnectAllFilters();
    for (CRootFilter* wrapper = m_pFilterList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        RemoveFromGraph(wrapper);
    }
}

// ---- filters ----

CRootFilter* CRootGraph::CreateWrapper(REFCLSID clsid, const GUID* category, const char* friendlyName, int flag,
                                       int instance) {
    for (CFilterClassRecord* record = CFilterClassRecord::GetHead(); record != nullptr; record = record->GetNext()) {
        BOOL matched = category != nullptr ? record->MatchCategoryName(*category, friendlyName)
                                           : record->MatchClsid(clsid);
        if (!matched) continue;
        if (category != nullptr) CRootFilter::SetDeviceIndex(instance);
        return record->Create(this, category != nullptr ? flag : 0);
    }
    CRootFilter* wrapper;
    if (category != nullptr) {
        CRootFilter::SetDeviceIndex(instance);
        wrapper = new CRootFilter(this, category, friendlyName, 0);
    } else {
        wrapper = new CRootFilter(this, clsid);
    }
    wrapper->SetUp();
    return wrapper;
}

CRootFilter* CRootGraph::AdoptWrapper(CRootFilter* wrapper, const char* name) {
    if (wrapper == nullptr) return nullptr;
    if (!wrapper->SetUp()) {
        delete wrapper;
        return nullptr;
    }
    wrapper->SetName(name);
    if (!AddToGraph(wrapper)) {
        delete wrapper;
        return nullptr;
    }
    LinkFilter(wrapper);
    return wrapper;
}

void CRootGraph::LinkFilter(CRootFilter* wrapper) {
    wrapper->SetNext(m_pFilterList);
    m_pFilterList = wrapper;
}

CRootFilter* CRootGraph::AddFilter(REFCLSID clsid, const char* name) {
    if (name == nullptr) return nullptr;
    return AdoptWrapper(CreateWrapper(clsid, nullptr, nullptr, 0, 0), name);
}

CRootFilter* CRootGraph::AddDeviceFilter(REFGUID category, const char* friendlyName, const char* name, int flag,
                                         int instance) {
    if (name == nullptr) return nullptr;
    return AdoptWrapper(CreateWrapper(GUID_NULL, &category, friendlyName, flag, instance), name);
}

BOOL CRootGraph::AttachWrapper(CRootFilter* wrapper) {
    if (wrapper == nullptr) return FALSE;
    // A wrapper made by its constructor has not run its set-up yet.
    if (!wrapper->SetUp()) return FALSE;
    // A wrapper of a filter that is in this graph already (brought in by the capture graph
    // builder) is only linked.
    if (!IsInThisGraph(wrapper->GetFilter()) && !AddToGraph(wrapper)) return FALSE;
    LinkFilter(wrapper);
    return TRUE;
}

void CRootGraph::AttachFilter(IBaseFilter* filter) {
    if (filter == nullptr || FindFilterByInterface(filter) != nullptr) return;
    FILTER_INFO info;
    if (FAILED(filter->QueryFilterInfo(&info))) return;
    char name[kFilterNameSize];
    WideToNameText(name, sizeof(name), info.achName);
    if (info.pGraph != nullptr) info.pGraph->Release();
    CLSID clsid;
    if (FAILED(GetFilterClassID(filter, &clsid))) return;

    CRootFilter* wrapper = nullptr;
    CFilterClassRecord* record = CFilterClassRecord::GetHead();
    while (record != nullptr && !record->MatchClsid(clsid)) record = record->GetNext();
    TRACE("Attach Filter: %s\n", name);
    if (record != nullptr && record->CanWrap()) {
        wrapper = record->Wrap(this, filter);
    } else {
        wrapper = new CRootFilter(this, filter);
        wrapper->SetUp();
    }
    if (wrapper == nullptr) return;
    if (!wrapper->IsValid()) {
        delete wrapper;
        return;
    }
    wrapper->SetName(name);
    wrapper->OnConnectStatusChange();
    LinkFilter(wrapper);
}

void CRootGraph::AttachAllFilters() {
    if (m_pGraph == nullptr) return;
    CComPtr<IEnumFilters> filters;
    if (FAILED(m_pGraph->EnumFilters(&filters)) || filters == nullptr) return;
    for (;;) {
        CComPtr<IBaseFilter> filter;
        if (filters->Next(1, &filter, nullptr) != S_OK) break;
        AttachFilter(filter);
    }
}

void CRootGraph::RemoveFilter(CRootFilter* wrapper) {
    if (!UnlinkFromList(m_pFilterList, wrapper)) return;
    wrapper->SetNext(nullptr);
    // A running graph refuses the removal: stop it, so the filter leaves with its wrapper.
    Stop();
    DisconnectFilter(wrapper);
    RemoveFromGraph(wrapper);
    delete wrapper;
}

void CRootGraph::RemoveAllFilters() {
    Stop();
    std::vector<CRootFilter*> wrappers;
    for (CRootFilter* wrapper = m_pFilterList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        wrappers.push_back(wrapper);
    }
    for (CRootFilter* wrapper : wrappers) RemoveFilter(wrapper);
    m_pFilterList = nullptr;
}

CRootFilter* CRootGraph::FindFilter(const char* name) {
    if (name == nullptr) return nullptr;
    for (CRootFilter* wrapper = m_pFilterList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        if (std::strcmp(wrapper->GetName(), name) == 0) return wrapper;
    }
    return nullptr;
}

CRootFilter* CRootGraph::FindFilterByInterface(IBaseFilter* filter) {
    for (CRootFilter* wrapper = m_pFilterList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        if (wrapper->GetFilter() == filter) return wrapper;
    }
    return nullptr;
}

BOOL CRootGraph::IsInThisGraph(IBaseFilter* filter) const {
    if (filter == nullptr || m_pGraph == nullptr) return FALSE;
    FILTER_INFO info;
    if (FAILED(filter->QueryFilterInfo(&info)) || info.pGraph == nullptr) return FALSE;
    BOOL same = info.pGraph == static_cast<IFilterGraph*>(m_pGraph.p) ? TRUE : FALSE;
    info.pGraph->Release();
    return same;
}

BOOL CRootGraph::AddToGraph(CRootFilter* wrapper) {
    if (wrapper == nullptr || m_pGraph == nullptr) return FALSE;
    CStrA2W name(wrapper->GetName());
    HRESULT hr = m_pGraph->AddFilter(wrapper->GetFilter(), name.Convert());
    return hr == S_OK || hr == VFW_S_DUPLICATE_NAME ? TRUE : FALSE;
}

BOOL CRootGraph::RemoveFromGraph(CRootFilter* wrapper) {
    if (wrapper == nullptr || m_pGraph == nullptr || !wrapper->IsInGraph()) return FALSE;
    return m_pGraph->RemoveFilter(wrapper->GetFilter()) == S_OK ? TRUE : FALSE;
}

BOOL CRootGraph::RemoveFromGraph(const char* name) {
    return RemoveFromGraph(FindFilter(name));
}

HRESULT CRootGraph::GetFilterClassID(IBaseFilter* filter, CLSID* clsid) {
    if (filter == nullptr || clsid == nullptr) return E_POINTER;
    CComPtr<IPersist> persist;
    HRESULT hr = filter->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist));
    if (FAILED(hr)) return hr;
    return persist->GetClassID(clsid);
}

// ---- pins ----

BOOL CRootGraph::Connect(CRootPin* out, CRootPin* in) {
    if (out == nullptr || in == nullptr || out->IsConnected() || in->IsConnected()) return FALSE;
    CRootFilter* upstream = out->GetFilter();
    CRootFilter* downstream = in->GetFilter();
    ASSERT(upstream->IsInGraph() && downstream->IsInGraph());
    TRACE("Connect %s : %s->%s : %s\n", upstream->GetName(), out->GetName(), downstream->GetName(), in->GetName());
    if (m_pGraph == nullptr || FAILED(m_pGraph->Connect(out->GetPin(), in->GetPin()))) return FALSE;
    out->SetPeer(in);
    in->SetPeer(out);
    upstream->OnConnectStatusChange();
    downstream->OnConnectStatusChange();
    return TRUE;
}

namespace {

// The only pin of `direction` in the filter's list (connected or not); NULL for none or several.
CRootPin* OnlyPinOfDirection(CRootFilter* filter, PIN_DIRECTION direction) {
    CRootPin* only = nullptr;
    for (CRootPin* pin = filter->GetPinList(); pin != nullptr; pin = pin->GetNext()) {
        PIN_DIRECTION pinDirection;
        if (!pin->QueryDirection(&pinDirection) || pinDirection != direction) continue;
        if (only != nullptr) return nullptr;
        only = pin;
    }
    return only;
}

}  // namespace

BOOL CRootGraph::ConnectFilters(CRootFilter* up, CRootFilter* down) {
    if (up == nullptr || down == nullptr) return FALSE;
    CRootPin* out = OnlyPinOfDirection(up, PINDIR_OUTPUT);
    if (out == nullptr) return FALSE;
    CRootPin* in = OnlyPinOfDirection(down, PINDIR_INPUT);
    if (in == nullptr) return FALSE;
    return Connect(out, in);
}

BOOL CRootGraph::ConnectByPinName(CRootFilter* up, CRootFilter* down, const char* outPin, const char* inPin) {
    if (up == nullptr || down == nullptr) return FALSE;
    CRootPin* out = outPin != nullptr && outPin[0] != '\0' ? up->FindPin(outPin)
                                                           : up->FindPinByDirection(PINDIR_OUTPUT, TRUE);
    CRootPin* in = inPin != nullptr && inPin[0] != '\0' ? down->FindPin(inPin)
                                                        : down->FindPinByDirection(PINDIR_INPUT, TRUE);
    if (out == nullptr || in == nullptr) return FALSE;
    return Connect(out, in);
}

void CRootGraph::Disconnect(CRootPin* pin) {
    if (pin == nullptr) return;
    CRootPin* peer = pin->GetPeer();
    if (peer != nullptr) {
        ASSERT(pin->GetFilter()->IsInGraph() && peer->GetFilter()->IsInGraph());
        TRACE("Disconnect %s->%s\n", peer->GetFilter()->GetName(), pin->GetFilter()->GetName());
        DisconnectPin(pin->GetPin());
        DisconnectPin(peer->GetPin());
        pin->SetPeer(nullptr);
        peer->SetPeer(nullptr);
        pin->GetFilter()->OnConnectStatusChange();
        peer->GetFilter()->OnConnectStatusChange();
        return;
    }
    IPin* ipin = pin->GetPin();
    if (ipin == nullptr) return;
    CComPtr<IPin> other;
    if (SUCCEEDED(ipin->ConnectedTo(&other)) && other != nullptr) {
        ipin->Disconnect();
        other->Disconnect();
    }
}

void CRootGraph::DisconnectPin(IPin* pin) {
    if (pin == nullptr || m_pGraph == nullptr) return;
    for (int attempt = 0; attempt < kDisconnectAttempts; ++attempt) {
        HRESULT hr = m_pGraph->Disconnect(pin);
        // S_FALSE: nothing was connected, which is what was wanted.
        if (hr == S_OK || hr == S_FALSE) return;
        SetState(GRAPH_STATE_STOPPED);
        Stop();
        Sleep(kDisconnectRetryMs);
        OutputDebugStringA("Disconnect Failed! Sleep 200!\n");
    }
}

void CRootGraph::DisconnectFilter(CRootFilter* wrapper) {
    if (wrapper == nullptr) return;
    // A disconnect can rebuild the pin list of a filter whose pins come and go, freeing the pin
    // wrappers; the pins are therefore taken first and looked up again before each disconnect.
    std::vector<CComPtr<IPin>> pins;
    for (CRootPin* pin = wrapper->GetPinList(); pin != nullptr; pin = pin->GetNext()) pins.emplace_back(pin->GetPin());
    for (const CComPtr<IPin>& pin : pins) {
        if (CRootPin* current = wrapper->FindPinByIPin(pin)) Disconnect(current);
    }
}

void CRootGraph::DisconnectAllFilters() {
    Stop();
    for (CRootFilter* wrapper = m_pFilterList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        DisconnectFilter(wrapper);
    }
}

HRESULT CRootGraph::Render(CRootPin* out) {
    if (out == nullptr) return E_POINTER;
    if (m_pGraph == nullptr) return E_POINTER;
    return m_pGraph->Render(out->GetPin());
}

HRESULT CRootGraph::RenderEx(CRootPin* out, DWORD flags) {
    if (out == nullptr || m_pGraph == nullptr) return E_POINTER;
    CComPtr<IFilterGraph2> graph2;
    HRESULT hr = m_pGraph->QueryInterface(IID_IFilterGraph2, reinterpret_cast<void**>(&graph2));
    if (SUCCEEDED(hr)) hr = graph2->RenderEx(out->GetPin(), flags, nullptr);
    NotifyConnectStatusChange();
    return hr;
}

void CRootGraph::NotifyConnectStatusChange() {
    for (CRootFilter* wrapper = m_pFilterList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        if (wrapper->IsDyncPin()) wrapper->OnConnectStatusChange();
    }
}

// ---- running ----

BOOL CRootGraph::Run() {
    if (m_nState == GRAPH_STATE_RUNNING) return TRUE;
    return SUCCEEDED(SetState(GRAPH_STATE_RUNNING)) ? TRUE : FALSE;
}

BOOL CRootGraph::Pause() {
    if (m_nState == GRAPH_STATE_PAUSED) return TRUE;
    return SUCCEEDED(SetState(GRAPH_STATE_PAUSED)) ? TRUE : FALSE;
}

BOOL CRootGraph::Stop() {
    if (m_nState == GRAPH_STATE_STOPPED) return TRUE;
    return SUCCEEDED(SetState(GRAPH_STATE_STOPPED)) ? TRUE : FALSE;
}

HRESULT CRootGraph::SetState(int state) {
    if (m_pStreams == nullptr || m_pControl == nullptr) return E_POINTER;
    HRESULT hr;
    switch (state) {
    case GRAPH_STATE_STOPPED:
        hr = m_pControl->Stop();
        break;
    case GRAPH_STATE_RUNNING:
        hr = m_pControl->Run();
        break;
    case GRAPH_STATE_PAUSED:
        hr = m_pControl->Pause();
        break;
    default:
        return E_FAIL;
    }
    if (SUCCEEDED(hr)) {
        m_nState = state;
        return hr;
    }
    // A refused change may leave the graph elsewhere: a stop that a filter refuses leaves a running
    // graph paused, as the graph manager stops it through Paused.
    OAFilterState now = State_Stopped;
    if (SUCCEEDED(m_pControl->GetState(0, &now)))
        m_nState = now == State_Running ? GRAPH_STATE_RUNNING : now == State_Paused ? GRAPH_STATE_PAUSED : GRAPH_STATE_STOPPED;
    return hr;
}

HRESULT CRootGraph::SyncUsingStreamOffset(BOOL use) {
    if (m_pStreams == nullptr) return E_POINTER;
    return m_pStreams->SyncUsingStreamOffset(use);
}

// ---- video window ----

HRESULT CRootGraph::SetVideoOwner(OAHWND owner) {
    return m_pVideoWindow != nullptr ? m_pVideoWindow->put_Owner(owner) : E_POINTER;
}

HRESULT CRootGraph::SetVideoMessageDrain(OAHWND drain) {
    return m_pVideoWindow != nullptr ? m_pVideoWindow->put_MessageDrain(drain) : E_POINTER;
}

HRESULT CRootGraph::SetVideoWindowStyle(long style) {
    return m_pVideoWindow != nullptr ? m_pVideoWindow->put_WindowStyle(style) : E_POINTER;
}

HRESULT CRootGraph::SetVideoWindowPosition(RECT position) {
    if (m_pVideoWindow == nullptr) return E_POINTER;
    return m_pVideoWindow->SetWindowPosition(position.left, position.top, position.right - position.left,
                                             position.bottom - position.top);
}

HRESULT CRootGraph::GetVideoWindowPosition(POINT* position, SIZE* size) {
    if (m_pVideoWindow == nullptr || position == nullptr || size == nullptr) return E_POINTER;
    long left = 0, top = 0, width = 0, height = 0;
    HRESULT hr = m_pVideoWindow->GetWindowPosition(&left, &top, &width, &height);
    position->x = left;
    position->y = top;
    size->cx = width;
    size->cy = height;
    return hr;
}

HRESULT CRootGraph::SetVideoVisible(BOOL visible) {
    return m_pVideoWindow != nullptr ? m_pVideoWindow->put_Visible(visible ? OATRUE : OAFALSE) : E_POINTER;
}

BOOL CRootGraph::IsVideoVisible() {
    if (m_pVideoWindow == nullptr) return FALSE;
    long visible = OAFALSE;
    return SUCCEEDED(m_pVideoWindow->get_Visible(&visible)) && visible == OATRUE ? TRUE : FALSE;
}

HRESULT CRootGraph::GetCurrentImage(long* size, long* image) {
    return m_pBasicVideo != nullptr ? m_pBasicVideo->GetCurrentImage(size, image) : E_POINTER;
}

// ---- seeking ----

HRESULT CRootGraph::SetRate(double rate) {
    return m_pSeeking != nullptr ? m_pSeeking->SetRate(rate) : E_POINTER;
}

LONGLONG CRootGraph::GetCurrentPosition() {
    LONGLONG position = 0;
    if (m_pSeeking == nullptr || FAILED(m_pSeeking->GetCurrentPosition(&position))) return 0;
    return position;
}

HRESULT CRootGraph::SetCurrentPosition(LONGLONG position) {
    if (m_pSeeking == nullptr) return E_POINTER;
    return m_pSeeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

LONGLONG CRootGraph::GetDuration() {
    LONGLONG duration = 0;
    if (m_pSeeking == nullptr || FAILED(m_pSeeking->GetDuration(&duration))) return 0;
    return duration;
}

LONGLONG CRootGraph::GetStopPosition() {
    LONGLONG position = 0;
    if (m_pSeeking == nullptr || FAILED(m_pSeeking->GetStopPosition(&position))) return 0;
    return position;
}

// ---- events ----

HRESULT CRootGraph::GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeout) {
    return m_pEvent != nullptr ? m_pEvent->GetEvent(code, param1, param2, timeout) : E_POINTER;
}

HRESULT CRootGraph::SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) {
    return m_pEvent != nullptr ? m_pEvent->SetNotifyWindow(window, message, instance) : E_POINTER;
}

HRESULT CRootGraph::FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) {
    return m_pEvent != nullptr ? m_pEvent->FreeEventParams(code, param1, param2) : E_POINTER;
}

void CRootGraph::HandleGraphEvents(HWND window) {
    if (m_pEvent == nullptr) return;
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (GetEvent(&code, &param1, &param2, 0) == S_OK) {
        switch (code) {
        case EC_ERRORABORT:
            if (static_cast<LONG>(param1) == kDiskFullError) {
                PostMessage(window, WM_GRAPH_EVENT, 0, GRAPH_EVENT_DISK_FULL);
            } else {
                PostMessage(window, WM_GRAPH_EVENT, static_cast<WPARAM>(param1), GRAPH_EVENT_ERROR_ABORT);
            }
            FreeEventParams(code, param1, param2);
            return;
        case EC_VIDEO_SIZE_CHANGED:
            PostMessage(window, WM_GRAPH_EVENT, static_cast<WPARAM>(param1), GRAPH_EVENT_VIDEO_SIZE_CHANGED);
            break;
        case EC_PAUSED:
            PostMessage(window, WM_GRAPH_EVENT, 0, GRAPH_EVENT_PAUSED);
            break;
        default:
            break;
        }
        FreeEventParams(code, param1, param2);
    }
}

// ---- devices and files ----

const char* CRootGraph::EnumDevices(int kind, int* count) {
    std::memset(m_szDeviceNames, 0, sizeof(m_szDeviceNames));
    if (count == nullptr) return nullptr;
    *count = 0;
    const GUID* category = DeviceCategoryOfKind(kind);
    if (category == nullptr) return nullptr;
    int rows = 0;
    ForEachDevice(*category, [&](IMoniker*, const char* name) -> BOOL {
        CopyNameText(m_szDeviceNames[rows], kFilterNameSize, name);
        return ++rows == kMaxDeviceNames ? TRUE : FALSE;
    });
    *count = rows;
    return rows > 0 ? m_szDeviceNames[0] : nullptr;
}

const char* CRootGraph::GetDeviceName(int row) const {
    if (row < 0 || row >= kMaxDeviceNames) return nullptr;
    return m_szDeviceNames[row];
}

HRESULT CRootGraph::CreateDeviceFilter(GUID category, const char* name, IBaseFilter** filter) {
    return CRootFilter::BindDeviceByName(category, name, filter);
}

HRESULT CRootGraph::ListDeviceNames(REFGUID category, CStringArray* names) {
    if (names == nullptr) return E_POINTER;
    int listed = 0;
    HRESULT hr = ForEachDevice(category, [&](IMoniker*, const char* name) -> BOOL {
        if (name[0] != '\0') {
            names->Add(name);
            ++listed;
        }
        return FALSE;
    });
    if (FAILED(hr)) return hr;
    return listed > 0 ? S_OK : S_FALSE;
}

HRESULT CRootGraph::LoadGraphFile(const char* path) {
    if (m_pGraph == nullptr) return E_POINTER;
    if (path == nullptr) return E_POINTER;
    HRESULT hr = CheckPathLength(path);
    if (FAILED(hr)) return hr;
    CStrA2W widePath(path);
    // S_FALSE is a success code, but the file is not a structured-storage file.
    hr = StgIsStorageFile(widePath.Convert());
    if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
    CComPtr<IStorage> storage;
    hr = StgOpenStorage(widePath.Convert(), nullptr, STGM_TRANSACTED | STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                        &storage);
    if (FAILED(hr)) return hr;
    CComPtr<IPersistStream> persist;
    hr = m_pGraph->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
    if (FAILED(hr)) return hr;
    CComPtr<IStream> stream;
    hr = storage->OpenStream(L"ActiveMovieGraph", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
    if (FAILED(hr)) return hr;
    return persist->Load(stream);
}

HRESULT CRootGraph::SaveGraphFile(const char* path) {
    if (m_pGraph == nullptr) return E_POINTER;
    if (path == nullptr) return E_POINTER;
    HRESULT hr = CheckPathLength(path);
    if (FAILED(hr)) return hr;
    CStrA2W widePath(path);
    CComPtr<IStorage> storage;
    hr = StgCreateDocfile(widePath.Convert(), STGM_CREATE | STGM_TRANSACTED | STGM_READWRITE |
                                                          STGM_SHARE_EXCLUSIVE,
                                  0, &storage);
    if (FAILED(hr)) return hr;
    CComPtr<IStream> stream;
    hr = storage->CreateStream(L"ActiveMovieGraph", STGM_WRITE | STGM_CREATE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
    if (FAILED(hr)) return hr;
    CComPtr<IPersistStream> persist;
    hr = m_pGraph->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
    if (FAILED(hr)) return hr;
    hr = persist->Save(stream, TRUE);
    if (FAILED(hr)) return hr;
    return storage->Commit(STGC_DEFAULT);
}

HRESULT CRootGraph::AddToRot(IUnknown* graph, DWORD* cookie) {
    CComPtr<IRunningObjectTable> table;
    if (FAILED(GetRunningObjectTable(0, &table))) return E_FAIL;
    WCHAR item[64];
    std::swprintf(item, sizeof(item) / sizeof(item[0]), L"FilterGraph %08llx pid %08x",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(graph)),
                  static_cast<unsigned>(GetCurrentProcessId()));
    CComPtr<IMoniker> moniker;
    HRESULT hr = CreateItemMoniker(L"!", item, &moniker);
    if (FAILED(hr)) return hr;
    return table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph, moniker, cookie);
}

void CRootGraph::RemoveFromRot(DWORD cookie) {
    CComPtr<IRunningObjectTable> table;
    if (SUCCEEDED(GetRunningObjectTable(0, &table))) table->Revoke(cookie);
}

void CRootGraph::ShowError(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    CWnd* mainWindow = AfxGetMainWnd();
    if (mainWindow == nullptr || mainWindow->GetSafeHwnd() == nullptr) return;
    MessageBoxA(mainWindow->GetSafeHwnd(), text, nullptr, MB_TASKMODAL | MB_ICONEXCLAMATION);
}
