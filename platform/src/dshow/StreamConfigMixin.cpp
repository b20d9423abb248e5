// Capture pin formats.
#include "platform/dshow/StreamConfigMixin.h"

#include <cstring>

#include "Inject.h"
#include "platform/dshow/FilterBase.h"
#include "StoreLocked.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

template <class Caps>
std::vector<BYTE> Bytes(const Caps& caps) {
    std::vector<BYTE> bytes(sizeof(Caps));
    std::memcpy(bytes.data(), &caps, sizeof(Caps));
    return bytes;
}

}  // namespace

StreamCapability StreamCapability::Video(MediaType mt, const VIDEO_STREAM_CONFIG_CAPS& caps) {
    return StreamCapability{std::move(mt), Bytes(caps)};
}

StreamCapability StreamCapability::Audio(MediaType mt, const AUDIO_STREAM_CONFIG_CAPS& caps) {
    return StreamCapability{std::move(mt), Bytes(caps)};
}

void StreamConfigMixin::SetCapabilities(std::vector<StreamCapability> capabilities) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_capabilities = std::move(capabilities);
    m_format = m_capabilities.empty() ? MediaType() : m_capabilities.front().mediaType;
}

MediaType StreamConfigMixin::CurrentFormat() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_format;
}

STDMETHODIMP StreamConfigMixin::SetFormat(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    HRESULT hr;
    if (Injected("IAMStreamConfig::SetFormat", E_FAIL, &hr)) return hr;
    MediaType format(*pmt);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        bool known = false;
        for (const StreamCapability& c : m_capabilities) {
            const AM_MEDIA_TYPE& mt = c.mediaType.Get();
            known = known || (IsEqualGUID(mt.majortype, pmt->majortype) && IsEqualGUID(mt.subtype, pmt->subtype) &&
                              IsEqualGUID(mt.formattype, pmt->formattype));
        }
        if (!known) return VFW_E_INVALIDMEDIATYPE;
    }
    hr = OnSetFormat(format);
    if (FAILED(hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_format), std::move(format));
}

STDMETHODIMP StreamConfigMixin::GetFormat(AM_MEDIA_TYPE** ppmt) {
    if (!ppmt) return E_POINTER;
    *ppmt = nullptr;
    HRESULT hr;
    if (Injected("IAMStreamConfig::GetFormat", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_capabilities.empty()) return VFW_E_NO_TYPES;
    *ppmt = m_format.CreateCopy();
    return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP StreamConfigMixin::GetNumberOfCapabilities(int* piCount, int* piSize) {
    if (!piCount || !piSize) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *piCount = int(m_capabilities.size());
    *piSize = m_capabilities.empty() ? 0 : int(m_capabilities.front().caps.size());
    return S_OK;
}

STDMETHODIMP StreamConfigMixin::GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) {
    if (!ppmt || !pSCC) return E_POINTER;
    *ppmt = nullptr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (iIndex < 0) return E_INVALIDARG;
    if (size_t(iIndex) >= m_capabilities.size()) return S_FALSE;
    const StreamCapability& c = m_capabilities[iIndex];
    *ppmt = c.mediaType.CreateCopy();
    if (!*ppmt) return E_OUTOFMEMORY;
    std::memcpy(pSCC, c.caps.data(), c.caps.size());
    return S_OK;
}

StreamConfigPin::StreamConfigPin(FilterBase* filter, PinDescription description,
                                 std::vector<StreamCapability> capabilities)
    : With(filter, std::move(description)) {
    SetCapabilities(std::move(capabilities));
    MediaType format = CurrentFormat();
    if (!IsEqualGUID(format.Major(), GUID_NULL)) SetMediaTypes({format});
}

// A connected pin is connected again with the new format, at both ends; should the peer refuse
// it after all, the old connection is restored.
HRESULT StreamConfigPin::OnSetFormat(const MediaType& format) {
    CComPtr<IPin> peer = Peer();
    if (!peer) {
        SetMediaTypes({format});
        return S_OK;
    }
    FilterBase* filter = Filter();
    if (filter && filter->State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (peer->QueryAccept(&format.Get()) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    const MediaType old = ConnectionType();
    const std::vector<MediaType> offered = MediaTypes();
    peer->Disconnect();
    Disconnect();
    SetMediaTypes({format});
    HRESULT hr = Connect(peer, &format.Get());
    if (FAILED(hr)) {
        SetMediaTypes(offered);
        Connect(peer, &old.Get());
    }
    return hr;
}

}  // namespace platform::dshow
