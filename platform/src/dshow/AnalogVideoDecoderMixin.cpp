// Analog video decoder state.
#include "platform/dshow/AnalogVideoDecoderMixin.h"

#include "Inject.h"
#include "StoreLocked.h"

namespace platform::dshow {

void AnalogVideoDecoderMixin::SetTVFormats(long available, long current) {
    StoreLocked(m_lock, std::tie(m_available, m_format), available, current);
}

STDMETHODIMP AnalogVideoDecoderMixin::get_AvailableTVFormats(long* lAnalogVideoStandard) {
    if (!lAnalogVideoStandard) return E_POINTER;
    HRESULT hr;
    if (Injected("IAMAnalogVideoDecoder::get_AvailableTVFormats", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *lAnalogVideoStandard = m_available;
    return S_OK;
}

STDMETHODIMP AnalogVideoDecoderMixin::put_TVFormat(long lAnalogVideoStandard) {
    HRESULT hr;
    if (Injected("IAMAnalogVideoDecoder::put_TVFormat", E_FAIL, &hr)) return hr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        bool oneBit = lAnalogVideoStandard > 0 && (lAnalogVideoStandard & (lAnalogVideoStandard - 1)) == 0;
        if (!oneBit || !(lAnalogVideoStandard & m_available)) return E_INVALIDARG;
    }
    hr = OnTVFormat(lAnalogVideoStandard);
    if (FAILED(hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_format), lAnalogVideoStandard);
}

STDMETHODIMP AnalogVideoDecoderMixin::get_TVFormat(long* plAnalogVideoStandard) {
    if (!plAnalogVideoStandard) return E_POINTER;
    HRESULT hr;
    if (Injected("IAMAnalogVideoDecoder::get_TVFormat", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *plAnalogVideoStandard = m_format;
    return S_OK;
}

STDMETHODIMP AnalogVideoDecoderMixin::get_HorizontalLocked(long* plLocked) {
    if (!plLocked) return E_POINTER;
    HRESULT hr;
    if (Injected("IAMAnalogVideoDecoder::get_HorizontalLocked", E_FAIL, &hr)) return hr;
    long locked = 0;
    hr = HorizontalLocked(&locked);
    if (SUCCEEDED(hr)) *plLocked = locked;
    return hr;
}

STDMETHODIMP AnalogVideoDecoderMixin::put_VCRHorizontalLocking(long lVCRHorizontalLocking) {
    return StoreLocked(m_lock, std::tie(m_vcrLocking), lVCRHorizontalLocking);
}

STDMETHODIMP AnalogVideoDecoderMixin::get_VCRHorizontalLocking(long* plVCRHorizontalLocking) {
    if (!plVCRHorizontalLocking) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plVCRHorizontalLocking = m_vcrLocking;
    return S_OK;
}

STDMETHODIMP AnalogVideoDecoderMixin::get_NumberOfLines(long* plNumberOfLines) {
    if (!plNumberOfLines) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    const long lines525 = AnalogVideo_NTSC_M | AnalogVideo_NTSC_M_J | AnalogVideo_NTSC_433 | AnalogVideo_PAL_M;
    *plNumberOfLines = (m_format & lines525) ? 525 : 625;
    return S_OK;
}

STDMETHODIMP AnalogVideoDecoderMixin::put_OutputEnable(long lOutputEnable) {
    return StoreLocked(m_lock, std::tie(m_outputEnable), lOutputEnable);
}

STDMETHODIMP AnalogVideoDecoderMixin::get_OutputEnable(long* plOutputEnable) {
    if (!plOutputEnable) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plOutputEnable = m_outputEnable;
    return S_OK;
}

}  // namespace platform::dshow
