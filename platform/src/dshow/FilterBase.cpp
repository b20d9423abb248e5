// Filters of the stand-in: state, pins, graph membership, properties and kernel handle.
#include "platform/dshow/FilterBase.h"

#include <algorithm>
#include <cstring>

#include "Enumerators.h"
#include "Inject.h"
#include "StoreLocked.h"
#include "vfwmsgs.h"

namespace platform::dshow {

FilterBase::FilterBase(REFCLSID clsid) : m_clsid(clsid), m_properties(std::make_shared<KsPropertyTable>()) {}

// Nobody holds a pin any more (each would hold the filter), so the pins go with it.
FilterBase::~FilterBase() {
    for (PinBase* pin : m_owned) pin->Detach();
    for (PinBase* pin : m_owned) delete pin;
    if (m_kernelHandle) CloseHandle(m_kernelHandle);
}

void FilterBase::Adopt(PinBase* pin) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_owned.push_back(pin);
}

STDMETHODIMP FilterBase::QueryInterface(REFIID riid, void** ppv) {
    bool refused = (IsEqualGUID(riid, IID_IKsPropertySet) && m_properties->IsEmpty()) ||
                   (IsEqualGUID(riid, IID_IKsObject) && !KsGetObjectHandle());
    if (refused) {
        if (ppv) *ppv = nullptr;
        return ppv ? E_NOINTERFACE : E_POINTER;
    }
    return ComObject::QueryInterface(riid, ppv);
}

STDMETHODIMP FilterBase::GetClassID(CLSID* pClassID) {
    if (!pClassID) return E_POINTER;
    *pClassID = m_clsid;
    return S_OK;
}

HRESULT FilterBase::ChangeState(FILTER_STATE to, const char* call) {
    HRESULT hr;
    if (Injected(call, E_FAIL, &hr)) return hr;
    std::lock_guard<CriticalSection> changing(m_filterLock);
    FILTER_STATE from = State();
    if (from == to) return S_OK;
    auto pins = Pins();
    if (from == State_Stopped) {
        for (auto& pin : pins) {
            if (SUCCEEDED(hr = pin->StartStreaming())) continue;
            for (auto& started : pins) started->StopStreaming();
            return hr;
        }
    }
    hr = OnStateChange(from, to);
    if (FAILED(hr)) {
        if (from == State_Stopped)
            for (auto& pin : pins) pin->StopStreaming();
        return hr;
    }
    StoreLocked(m_lock, std::tie(m_state), to);
    if (to == State_Stopped)
        for (auto& pin : pins) pin->StopStreaming();
    OnStateChanged(from, to);
    return S_OK;
}

STDMETHODIMP FilterBase::Stop() { return ChangeState(State_Stopped, "IMediaFilter::Stop"); }
STDMETHODIMP FilterBase::Pause() { return ChangeState(State_Paused, "IMediaFilter::Pause"); }
STDMETHODIMP FilterBase::Run(REFERENCE_TIME tStart) {
    StoreLocked(m_lock, std::tie(m_start), tStart);
    return ChangeState(State_Running, "IMediaFilter::Run");
}

CComPtr<IReferenceClock> FilterBase::Clock() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_clock;
}

REFERENCE_TIME FilterBase::StartTime() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_start;
}

REFERENCE_TIME FilterBase::StreamTime() const {
    CComPtr<IReferenceClock> clock = Clock();
    REFERENCE_TIME now = 0;
    if (!clock || FAILED(clock->GetTime(&now))) return 0;
    return std::max<REFERENCE_TIME>(0, now - StartTime());
}

std::vector<CComPtr<PinBase>> FilterBase::ConnectedOutputs() const {
    std::vector<CComPtr<PinBase>> outputs;
    for (auto& pin : Pins())
        if (pin->Direction() == PINDIR_OUTPUT && pin->IsConnected()) outputs.push_back(pin);
    return outputs;
}

HRESULT FilterBase::OnEndOfStream(PinBase*) {
    for (auto& out : ConnectedOutputs()) out->DeliverEndOfStream();
    return S_OK;
}

void FilterBase::OnBeginFlush(PinBase*) {
    for (auto& out : ConnectedOutputs()) out->DeliverBeginFlush();
}

void FilterBase::OnEndFlush(PinBase*) {
    for (auto& out : ConnectedOutputs()) out->DeliverEndFlush();
}

void FilterBase::OnNewSegment(PinBase*, REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    for (auto& out : ConnectedOutputs()) out->DeliverNewSegment(start, stop, rate);
}

STDMETHODIMP FilterBase::GetState(DWORD, FILTER_STATE* State) {
    if (!State) return E_POINTER;
    *State = this->State();
    return S_OK;
}

STDMETHODIMP FilterBase::SetSyncSource(IReferenceClock* pClock) {
    return StoreLocked(m_lock, std::tie(m_clock), pClock);
}

STDMETHODIMP FilterBase::GetSyncSource(IReferenceClock** pClock) {
    if (!pClock) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    return m_clock.CopyTo(pClock);
}

STDMETHODIMP FilterBase::EnumPins(IEnumPins** ppEnum) {
    if (!ppEnum) return E_POINTER;
    std::vector<CComPtr<IPin>> pins;
    for (auto& pin : Pins()) pins.emplace_back(static_cast<IPin*>(pin.p));
    return CreateComObject<InterfaceEnumerator<IEnumPins, IPin>>(IID_IEnumPins, reinterpret_cast<void**>(ppEnum),
                                                                 std::move(pins));
}

STDMETHODIMP FilterBase::FindPin(LPCWSTR Id, IPin** ppPin) {
    if (!Id || !ppPin) return E_POINTER;
    *ppPin = nullptr;
    for (auto& pin : Pins()) {
        if (pin->Id() == Id) {
            *ppPin = pin.Detach();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP FilterBase::QueryFilterInfo(FILTER_INFO* pInfo) {
    if (!pInfo) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    size_t n = std::min<size_t>(m_name.size(), MAX_FILTER_NAME - 1);
    std::wmemcpy(pInfo->achName, m_name.data(), n);
    pInfo->achName[n] = L'\0';
    pInfo->pGraph = m_graph;
    if (m_graph) m_graph->AddRef();
    return S_OK;
}

// The graph's event sink is kept without a reference, as the graph holds the filter; it is
// cut when the filter leaves, after any event being reported has reached the graph.
STDMETHODIMP FilterBase::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    IMediaEventSink* sink = nullptr;
    if (pGraph && SUCCEEDED(pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))))
        sink->Release();
    std::lock_guard<std::mutex> reporting(m_sinkLock);
    std::lock_guard<std::mutex> lock(m_lock);
    m_graph = pGraph;
    m_sink = sink;
    m_name = pName ? pName : L"";
    return S_OK;
}

STDMETHODIMP FilterBase::QueryVendorInfo(LPWSTR* pVendorInfo) {
    if (pVendorInfo) *pVendorInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FilterBase::Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                             LPVOID pPropData, DWORD cbPropData) {
    return KsSetProperty(*m_properties, guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
}

STDMETHODIMP FilterBase::Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                             LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) {
    return KsGetProperty(*m_properties, guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData,
                         pcbReturned);
}

STDMETHODIMP FilterBase::QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) {
    return KsQuerySupported(*m_properties, guidPropSet, dwPropID, pTypeSupport);
}

STDMETHODIMP_(HANDLE) FilterBase::KsGetObjectHandle() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_kernelHandle;
}

void FilterBase::EnableKernelHandle() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_kernelHandle) m_kernelHandle = CreateKsDeviceHandle(m_properties);
}

PinBase* FilterBase::AddPin(PinDescription description) {
    CComPtr<PinBase> pin;
    pin.Attach(new PinBase(this, std::move(description)));
    return AddPin(pin);
}

PinBase* FilterBase::AddPin(PinBase* pin) {
    if (!pin || &pin->m_owner != this) return nullptr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (std::find(m_pins.begin(), m_pins.end(), pin) == m_pins.end()) m_pins.push_back(pin);
    return pin;
}

bool FilterBase::RemovePin(PinBase* pin) {
    if (!pin || pin->IsConnected()) return false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        auto it = std::find(m_pins.begin(), m_pins.end(), pin);
        if (it == m_pins.end()) return false;
        m_pins.erase(it);
    }
    pin->Detach();
    return true;
}

std::vector<CComPtr<PinBase>> FilterBase::Pins() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return std::vector<CComPtr<PinBase>>(m_pins.begin(), m_pins.end());
}

PinBase* FilterBase::FindPinByName(const std::wstring& name) const {
    std::lock_guard<std::mutex> lock(m_lock);
    for (auto& pin : m_pins)
        if (pin->Name() == name) return pin;
    return nullptr;
}

size_t FilterBase::CountPins(PIN_DIRECTION direction, bool unconnectedOnly) const {
    size_t n = 0;
    for (auto& pin : Pins())
        if (pin->Direction() == direction && !(unconnectedOnly && pin->IsConnected())) ++n;
    return n;
}

FILTER_STATE FilterBase::State() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}

std::wstring FilterBase::Name() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_name;
}

IFilterGraph* FilterBase::Graph() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_graph;
}

HRESULT FilterBase::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
    std::lock_guard<std::mutex> reporting(m_sinkLock);
    IMediaEventSink* sink;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_graph) return E_UNEXPECTED;
        if (!m_sink) return E_NOINTERFACE;
        sink = m_sink;
    }
    return sink->Notify(code, param1, param2);
}

DeviceId FilterBase::Device() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_device;
}

void FilterBase::SetDevice(DeviceId device) { StoreLocked(m_lock, std::tie(m_device), device); }

}  // namespace platform::dshow
