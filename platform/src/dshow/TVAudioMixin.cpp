// TV-audio state.
#include "platform/dshow/TVAudioMixin.h"

#include "Inject.h"
#include "StoreLocked.h"

namespace platform::dshow {

void TVAudioMixin::SetTVAudioModes(long hardware, long available, long current) {
    StoreLocked(m_lock, std::tie(m_hardware, m_available, m_mode), hardware, available, current);
}

STDMETHODIMP TVAudioMixin::GetHardwareSupportedTVAudioModes(long* plModes) {
    if (!plModes) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plModes = m_hardware;
    return S_OK;
}

STDMETHODIMP TVAudioMixin::GetAvailableTVAudioModes(long* plModes) {
    if (!plModes) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plModes = m_available;
    return S_OK;
}

STDMETHODIMP TVAudioMixin::get_TVAudioMode(long* plMode) {
    if (!plMode) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plMode = m_mode;
    return S_OK;
}

STDMETHODIMP TVAudioMixin::put_TVAudioMode(long lMode) {
    HRESULT hr;
    if (Injected("IAMTVAudio::put_TVAudioMode", E_FAIL, &hr)) return hr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!lMode || (lMode & ~m_available)) return E_INVALIDARG;
    }
    hr = OnTVAudioMode(lMode);
    if (FAILED(hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_mode), lMode);
}

STDMETHODIMP TVAudioMixin::RegisterNotificationCallBack(IAMTunerNotification*, long) { return E_NOTIMPL; }
STDMETHODIMP TVAudioMixin::UnRegisterNotificationCallBack(IAMTunerNotification*) { return E_NOTIMPL; }

}  // namespace platform::dshow
