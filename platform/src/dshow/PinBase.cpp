// Pins of the stand-in's filters: connection negotiation and connection state.
#include "platform/dshow/PinBase.h"

#include <cstring>

#include "Enumerators.h"
#include "Inject.h"
#include "platform/dshow/FilterBase.h"
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
    if (IsEqualGUID(riid, IID_IKsPropertySet) && m_properties->IsEmpty()) {
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
    std::lock_guard<std::mutex> lock(m_lock);
    m_mediaTypes = std::move(types);
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
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_peer = peer;
        m_connectionType = MediaType(mt);
    }
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
        if (SUCCEEDED(pReceivePin->ReceiveConnection(this, &mt.Get()))) return Complete(pReceivePin, mt.Get());
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
STDMETHODIMP PinBase::EndOfStream() { return S_OK; }
STDMETHODIMP PinBase::BeginFlush() { return S_OK; }
STDMETHODIMP PinBase::EndFlush() { return S_OK; }
STDMETHODIMP PinBase::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

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
