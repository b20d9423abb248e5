// Pins of the stand-in's filters: connection negotiation and connection state.
#include "platform/dshow/PinBase.h"

#include <algorithm>
#include <cstring>

#include "Enumerators.h"
#include "Inject.h"
#include "dibsize.h"
#include "platform/winnls.h"
#include "platform/dshow/FilterBase.h"
#include "StoreLocked.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

void CopyName(const std::wstring& name, WCHAR* target, size_t capacity) {
    size_t n = std::min(name.size(), capacity - 1);
    std::wmemcpy(target, name.data(), n);
    target[n] = L'\0';
}

// The types a connection tries: with a complete type only that one; otherwise the output
// pin's own types, then the receiver's, each fitting the partial type when one was given.
std::vector<MediaType> Candidates(const std::vector<MediaType>& own, IPin* receiver, const AM_MEDIA_TYPE* pmt) {
    if (pmt) {
        MediaType wanted(*pmt);
        if (wanted.IsComplete()) return {wanted};
    }
    std::vector<MediaType> result;
    auto consider = [&](const AM_MEDIA_TYPE& mt) {
        if (!pmt || MediaType(*pmt).Accepts(mt)) result.emplace_back(mt);
    };
    for (const MediaType& mt : own) consider(mt.Get());
    CComPtr<IEnumMediaTypes> types;
    if (SUCCEEDED(receiver->EnumMediaTypes(&types)) && types) {
        AM_MEDIA_TYPE* mt = nullptr;
        while (types->Next(1, &mt, nullptr) == S_OK) {
            consider(*mt);
            DeleteMediaType(mt);
        }
    }
    return result;
}

}  // namespace

PinBase::PinBase(FilterBase* filter, PinDescription description)
    : m_owner(*filter),
      m_filter(filter),
      m_direction(description.direction),
      m_name(description.name),
      m_id(description.id.empty() ? description.name : description.id),
      m_category(description.category),
      m_mediaTypes(std::move(description.mediaTypes)),
      m_properties(std::make_shared<KsPropertyTable>()) {
    if (!IsEqualGUID(m_category, GUID_NULL)) {
        GUID category = m_category;
        m_properties->AddProperty(
            AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY,
            [category](KsPropertyRequest& request) {
                if (request.dataLength < sizeof(GUID)) return E_UNEXPECTED;
                std::memcpy(request.data, &category, sizeof(GUID));
                request.returned = sizeof(GUID);
                return S_OK;
            },
            KsPropertyHandler());
    }
    m_owner.Adopt(this);
    AddRef();  // the maker's reference
}

STDMETHODIMP PinBase::QueryInterface(REFIID riid, void** ppv) {
    if ((IsEqualGUID(riid, IID_IKsPropertySet) && m_properties->IsEmpty()) ||
        (IsEqualGUID(riid, IID_IMemInputPin) && m_direction != PINDIR_INPUT)) {
        if (ppv) *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) PinBase::AddRef() { return static_cast<IBaseFilter&>(m_owner).AddRef(); }
STDMETHODIMP_(ULONG) PinBase::Release() { return static_cast<IBaseFilter&>(m_owner).Release(); }

FilterBase* PinBase::Filter() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_filter;
}

std::vector<MediaType> PinBase::MediaTypes() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_mediaTypes;
}

void PinBase::SetMediaTypes(std::vector<MediaType> types) {
    StoreLocked(m_lock, std::tie(m_mediaTypes), std::move(types));
}

bool PinBase::IsConnected() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_peer != nullptr;
}

CComPtr<IPin> PinBase::Peer() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_peer;
}

MediaType PinBase::ConnectionType() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_connectionType;
}

void PinBase::Detach() {
    CComPtr<IPin> peer;  // released after the lock
    std::lock_guard<std::mutex> lock(m_lock);
    m_filter = nullptr;
    peer = std::move(m_peer);
    m_connectionType = MediaType();
    m_allocator.Release();
    m_peerInput.Release();
}

bool PinBase::FilterStopped() const {
    FilterBase* filter = Filter();
    return !filter || filter->State() == State_Stopped;
}

HRESULT PinBase::CheckMediaType(const AM_MEDIA_TYPE& mt) const {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_mediaTypes.empty()) return S_OK;
    for (const MediaType& mine : m_mediaTypes)
        if (mine.Accepts(mt)) return S_OK;
    return VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT PinBase::Complete(IPin* peer, const AM_MEDIA_TYPE& mt) {
    StoreLocked(m_lock, std::tie(m_peer, m_connectionType), peer, MediaType(mt));
    OnConnected();
    if (FilterBase* filter = Filter()) filter->OnPinConnected(this);
    return S_OK;
}

STDMETHODIMP PinBase::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) {
    if (!pReceivePin) return E_POINTER;
    HRESULT hr;
    if (Injected("IPin::Connect", VFW_E_CANNOT_CONNECT, &hr)) return hr;
    if (m_direction != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
    if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
    if (!FilterStopped()) return VFW_E_NOT_STOPPED;
    PIN_DIRECTION other;
    if (FAILED(pReceivePin->QueryDirection(&other)) || other != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;

    bool complete = pmt && MediaType(*pmt).IsComplete();
    std::vector<MediaType> candidates = Candidates(MediaTypes(), pReceivePin, pmt);
    if (candidates.empty()) return VFW_E_NO_ACCEPTABLE_TYPES;
    for (const MediaType& mt : candidates) {
        if (CheckMediaType(mt.Get()) != S_OK) continue;
        if (FAILED(pReceivePin->ReceiveConnection(this, &mt.Get()))) continue;
        StoreLocked(m_lock, std::tie(m_connectionType), MediaType(mt.Get()));
        if (FAILED(hr = NegotiateAllocator(pReceivePin))) {
            pReceivePin->Disconnect();
            std::lock_guard<std::mutex> lock(m_lock);
            m_connectionType = MediaType();
            return hr;
        }
        return Complete(pReceivePin, mt.Get());
    }
    return complete ? VFW_E_TYPE_NOT_ACCEPTED : VFW_E_NO_ACCEPTABLE_TYPES;
}

STDMETHODIMP PinBase::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) {
    if (!pConnector || !pmt) return E_POINTER;
    if (m_direction != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
    if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
    if (!FilterStopped()) return VFW_E_NOT_STOPPED;
    PIN_DIRECTION other;
    if (FAILED(pConnector->QueryDirection(&other)) || other != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
    if (CheckMediaType(*pmt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    return Complete(pConnector, *pmt);
}

STDMETHODIMP PinBase::Disconnect() {
    if (!FilterStopped()) return VFW_E_NOT_STOPPED;
    CComPtr<IPin> old;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_peer) return S_FALSE;
        old = std::move(m_peer);
        m_connectionType = MediaType();
        m_allocator.Release();
        m_peerInput.Release();
    }
    OnDisconnected();
    if (FilterBase* filter = Filter()) filter->OnPinDisconnected(this);
    return S_OK;
}

STDMETHODIMP PinBase::ConnectedTo(IPin** pPin) {
    if (!pPin) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pPin = m_peer;
    if (!m_peer) return VFW_E_NOT_CONNECTED;
    m_peer->AddRef();
    return S_OK;
}

STDMETHODIMP PinBase::ConnectionMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_peer) {
        std::memset(pmt, 0, sizeof(*pmt));
        return VFW_E_NOT_CONNECTED;
    }
    return m_connectionType.CopyTo(pmt);
}

STDMETHODIMP PinBase::QueryPinInfo(PIN_INFO* pInfo) {
    if (!pInfo) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    pInfo->pFilter = m_filter;
    if (m_filter) m_filter->AddRef();
    pInfo->dir = m_direction;
    CopyName(m_name, pInfo->achName, MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP PinBase::QueryDirection(PIN_DIRECTION* pPinDir) {
    if (!pPinDir) return E_POINTER;
    *pPinDir = m_direction;
    return S_OK;
}

STDMETHODIMP PinBase::QueryId(LPWSTR* Id) {
    if (!Id) return E_POINTER;
    size_t bytes = (m_id.size() + 1) * sizeof(WCHAR);
    *Id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*Id) return E_OUTOFMEMORY;
    std::memcpy(*Id, m_id.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP PinBase::QueryAccept(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    return CheckMediaType(*pmt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP PinBase::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
    if (!ppEnum) return E_POINTER;
    return CreateComObject<MediaTypeEnumerator>(IID_IEnumMediaTypes, reinterpret_cast<void**>(ppEnum), MediaTypes());
}

STDMETHODIMP PinBase::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }
// ---- the data path ----

// A peer without IMemInputPin (not a stand-in pin) connects without data.
HRESULT PinBase::NegotiateAllocator(IPin* receiver) {
    CComPtr<IMemInputPin> input;
    if (FAILED(receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input))) || !input) return S_OK;
    CComPtr<IMemAllocator> allocator;
    HRESULT hr = input->GetAllocator(&allocator);
    if (FAILED(hr) || !allocator) return FAILED(hr) ? hr : VFW_E_NO_ALLOCATOR;
    ALLOCATOR_PROPERTIES request{};
    input->GetAllocatorRequirements(&request);
    if (FAILED(hr = DecideBufferSize(allocator, &request))) return hr;
    if (FAILED(hr = input->NotifyAllocator(allocator, FALSE))) return hr;
    return StoreLocked(m_lock, std::tie(m_allocator, m_peerInput), allocator, input);
}

HRESULT PinBase::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    MediaType type = ConnectionType();
    long size = 0;
    const auto* vih = type.FormatAs<VIDEOINFOHEADER>();
    if (vih && IsEqualGUID(type.FormatType(), FORMAT_VideoInfo)) size = long(DIBSIZE(vih->bmiHeader));
    if (size <= 0) size = std::max(long(type.Get().lSampleSize), 64L * 1024);
    request->cbBuffer = std::max(request->cbBuffer, size);
    request->cBuffers = std::max(request->cBuffers, 1L);
    ALLOCATOR_PROPERTIES actual;
    return allocator->SetProperties(request, &actual);
}

HRESULT PinBase::StartStreaming() {
    CComPtr<IMemAllocator> allocator;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_endOfStream = false;
        m_flushing = false;
        if (m_direction == PINDIR_OUTPUT) allocator = m_allocator;
    }
    return allocator ? allocator->Commit() : S_OK;
}

void PinBase::StopStreaming() {
    CComPtr<IMemAllocator> allocator = Allocator();
    if (allocator && m_direction == PINDIR_OUTPUT) allocator->Decommit();
}

CComPtr<IMemAllocator> PinBase::Allocator() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_allocator;
}

HRESULT PinBase::GetDeliveryBuffer(IMediaSample** sample) {
    if (!sample) return E_POINTER;
    *sample = nullptr;
    CComPtr<IMemAllocator> allocator = Allocator();
    if (!allocator || m_direction != PINDIR_OUTPUT) return VFW_E_NOT_CONNECTED;
    return allocator->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT PinBase::Deliver(IMediaSample* sample) {
    CComPtr<IMemInputPin> peer;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        peer = m_peerInput;
    }
    return peer ? peer->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT PinBase::DeliverEndOfStream() {
    CComPtr<IPin> peer = Peer();
    return peer && m_direction == PINDIR_OUTPUT ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT PinBase::DeliverBeginFlush() {
    CComPtr<IPin> peer = Peer();
    return peer && m_direction == PINDIR_OUTPUT ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT PinBase::DeliverEndFlush() {
    CComPtr<IPin> peer = Peer();
    return peer && m_direction == PINDIR_OUTPUT ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT PinBase::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    CComPtr<IPin> peer = Peer();
    return peer && m_direction == PINDIR_OUTPUT ? peer->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

HRESULT PinBase::ChangeConnectionType(const MediaType& type) {
    CComPtr<IPin> peer = Peer();
    if (!peer || m_direction != PINDIR_OUTPUT) return VFW_E_NOT_CONNECTED;
    if (peer->QueryAccept(&type.Get()) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    return StoreLocked(m_lock, std::tie(m_connectionType), type);
}

STDMETHODIMP PinBase::GetAllocator(IMemAllocator** ppAllocator) {
    if (!ppAllocator) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_allocator) m_allocator.Attach(new MemAllocator());
    return m_allocator.CopyTo(ppAllocator);
}

STDMETHODIMP PinBase::NotifyAllocator(IMemAllocator* pAllocator, BOOL) {
    if (!pAllocator) return E_POINTER;
    return StoreLocked(m_lock, std::tie(m_allocator), pAllocator);
}

STDMETHODIMP PinBase::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) {
    if (pProps) *pProps = ALLOCATOR_PROPERTIES{0, 0, 1, 0};
    return E_NOTIMPL;
}

STDMETHODIMP PinBase::Receive(IMediaSample* pSample) {
    if (!pSample) return E_POINTER;
    HRESULT hr;
    if (FailuresInjected() && Injected(("IMemInputPin::Receive:" + WideToUtf8(m_name)).c_str(), E_FAIL, &hr))
        return hr;
    FilterBase* filter = Filter();
    if (!filter || m_direction != PINDIR_INPUT) return E_UNEXPECTED;
    if (filter->State() == State_Stopped) return VFW_E_WRONG_STATE;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_peer) return VFW_E_NOT_CONNECTED;
        if (m_endOfStream || m_flushing) return S_FALSE;
    }
    AM_MEDIA_TYPE* changed = nullptr;
    if (pSample->GetMediaType(&changed) == S_OK && changed) {
        hr = CheckMediaType(*changed);
        if (hr == S_OK) {
            StoreLocked(m_lock, std::tie(m_connectionType), MediaType(*changed));
        }
        DeleteMediaType(changed);
        if (hr != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    }
    return filter->OnReceive(this, pSample);
}

STDMETHODIMP PinBase::ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) {
    if (!pSamples || !nSamplesProcessed) return E_POINTER;
    *nSamplesProcessed = 0;
    HRESULT hr = S_OK;
    for (long i = 0; i < nSamples && hr == S_OK; ++i) {
        hr = Receive(pSamples[i]);
        if (hr == S_OK) ++*nSamplesProcessed;
    }
    return hr;
}

STDMETHODIMP PinBase::ReceiveCanBlock() { return S_FALSE; }

STDMETHODIMP PinBase::EndOfStream() {
    FilterBase* filter = Filter();
    if (!filter || m_direction != PINDIR_INPUT) return E_UNEXPECTED;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_endOfStream || m_flushing) return S_OK;
        m_endOfStream = true;
    }
    return filter->OnEndOfStream(this);
}

STDMETHODIMP PinBase::BeginFlush() {
    FilterBase* filter = Filter();
    if (!filter || m_direction != PINDIR_INPUT) return E_UNEXPECTED;
    StoreLocked(m_lock, std::tie(m_flushing), true);
    filter->OnBeginFlush(this);
    return S_OK;
}

STDMETHODIMP PinBase::EndFlush() {
    FilterBase* filter = Filter();
    if (!filter || m_direction != PINDIR_INPUT) return E_UNEXPECTED;
    StoreLocked(m_lock, std::tie(m_flushing, m_endOfStream), false, false);
    filter->OnEndFlush(this);
    return S_OK;
}

STDMETHODIMP PinBase::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
    FilterBase* filter = Filter();
    if (!filter || m_direction != PINDIR_INPUT) return E_UNEXPECTED;
    filter->OnNewSegment(this, tStart, tStop, dRate);
    return S_OK;
}

STDMETHODIMP PinBase::Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                          LPVOID pPropData, DWORD cbPropData) {
    return KsSetProperty(*m_properties, guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
}

STDMETHODIMP PinBase::Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                          LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) {
    return KsGetProperty(*m_properties, guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData,
                         pcbReturned);
}

STDMETHODIMP PinBase::QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) {
    return KsQuerySupported(*m_properties, guidPropSet, dwPropID, pTypeSupport);
}

}  // namespace platform::dshow
