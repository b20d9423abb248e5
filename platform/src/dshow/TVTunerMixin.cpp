// TV tuner state.
#include "platform/dshow/TVTunerMixin.h"

#include "Inject.h"
#include "StoreLocked.h"

namespace platform::dshow {

void TVTunerMixin::SetAvailableModes(long modes) { StoreLocked(m_lock, std::tie(m_modes), modes); }

void TVTunerMixin::SetTVFormats(long available, long current) {
    StoreLocked(m_lock, std::tie(m_formats, m_format), available, current);
}

void TVTunerMixin::SetChannelRange(long minimum, long maximum) {
    StoreLocked(m_lock, std::tie(m_minChannel, m_maxChannel), minimum, maximum);
}

void TVTunerMixin::SetFrequencies(long videoHz, long audioHz) {
    StoreLocked(m_lock, std::tie(m_videoHz, m_audioHz), videoHz, audioHz);
}

STDMETHODIMP TVTunerMixin::put_Channel(long lChannel, long lVideoSubChannel, long lAudioSubChannel) {
    HRESULT hr;
    if (Injected("IAMTVTuner::put_Channel", E_FAIL, &hr)) return hr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (lChannel < m_minChannel || lChannel > m_maxChannel) return E_INVALIDARG;
    }
    hr = OnChannel(lChannel, lVideoSubChannel, lAudioSubChannel);
    if (FAILED(hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_channel, m_videoSub, m_audioSub), lChannel, lVideoSubChannel,
                       lAudioSubChannel);
}

STDMETHODIMP TVTunerMixin::get_Channel(long* plChannel, long* plVideoSubChannel, long* plAudioSubChannel) {
    if (!plChannel || !plVideoSubChannel || !plAudioSubChannel) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plChannel = m_channel;
    *plVideoSubChannel = m_videoSub;
    *plAudioSubChannel = m_audioSub;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::ChannelMinMax(long* lChannelMin, long* lChannelMax) {
    if (!lChannelMin || !lChannelMax) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *lChannelMin = m_minChannel;
    *lChannelMax = m_maxChannel;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::put_CountryCode(long lCountryCode) {
    HRESULT hr;
    if (Injected("IAMTVTuner::put_CountryCode", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_country), lCountryCode);
}

STDMETHODIMP TVTunerMixin::get_CountryCode(long* plCountryCode) {
    if (!plCountryCode) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plCountryCode = m_country;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::put_TuningSpace(long lTuningSpace) {
    return StoreLocked(m_lock, std::tie(m_tuningSpace), lTuningSpace);
}

STDMETHODIMP TVTunerMixin::get_TuningSpace(long* plTuningSpace) {
    if (!plTuningSpace) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plTuningSpace = m_tuningSpace;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::Logon(HANDLE) { return S_OK; }
STDMETHODIMP TVTunerMixin::Logout() { return S_OK; }

STDMETHODIMP TVTunerMixin::SignalPresent(long* plSignalStrength) {
    if (!plSignalStrength) return E_POINTER;
    *plSignalStrength = SignalStrength();
    return S_OK;
}

STDMETHODIMP TVTunerMixin::put_Mode(AMTunerModeType lMode) {
    HRESULT hr;
    if (Injected("IAMTVTuner::put_Mode", E_FAIL, &hr)) return hr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!(m_modes & lMode)) return E_INVALIDARG;
    }
    hr = OnMode(lMode);
    if (FAILED(hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_mode), lMode);
}

STDMETHODIMP TVTunerMixin::get_Mode(AMTunerModeType* plMode) {
    if (!plMode) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plMode = m_mode;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::GetAvailableModes(long* plModes) {
    if (!plModes) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plModes = m_modes;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::RegisterNotificationCallBack(IAMTunerNotification*, long) { return E_NOTIMPL; }
STDMETHODIMP TVTunerMixin::UnRegisterNotificationCallBack(IAMTunerNotification*) { return E_NOTIMPL; }

STDMETHODIMP TVTunerMixin::get_AvailableTVFormats(long* lAnalogVideoStandard) {
    if (!lAnalogVideoStandard) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *lAnalogVideoStandard = m_formats;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::get_TVFormat(long* plAnalogVideoStandard) {
    if (!plAnalogVideoStandard) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plAnalogVideoStandard = m_format;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::AutoTune(long lChannel, long* plFoundSignal) {
    if (!plFoundSignal) return E_POINTER;
    HRESULT hr = put_Channel(lChannel, AMTUNER_SUBCHAN_DEFAULT, AMTUNER_SUBCHAN_DEFAULT);
    if (FAILED(hr)) return hr;
    *plFoundSignal = SignalStrength() == AMTUNER_SIGNALPRESENT;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::StoreAutoTune() { return S_OK; }

STDMETHODIMP TVTunerMixin::get_NumInputConnections(long* plNumInputConnections) {
    if (!plNumInputConnections) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plNumInputConnections = long(m_inputs.size());
    return S_OK;
}

STDMETHODIMP TVTunerMixin::put_InputType(long lIndex, TunerInputType InputType) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (lIndex < 0 || size_t(lIndex) >= m_inputs.size()) return E_INVALIDARG;
    m_inputs[lIndex] = InputType;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::get_InputType(long lIndex, TunerInputType* pInputType) {
    if (!pInputType) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    if (lIndex < 0 || size_t(lIndex) >= m_inputs.size()) return E_INVALIDARG;
    *pInputType = m_inputs[lIndex];
    return S_OK;
}

STDMETHODIMP TVTunerMixin::put_ConnectInput(long lIndex) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (lIndex < 0 || size_t(lIndex) >= m_inputs.size()) return E_INVALIDARG;
    m_connectInput = lIndex;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::get_ConnectInput(long* plIndex) {
    if (!plIndex) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *plIndex = m_connectInput;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::get_VideoFrequency(long* lFreq) {
    if (!lFreq) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *lFreq = m_videoHz;
    return S_OK;
}

STDMETHODIMP TVTunerMixin::get_AudioFrequency(long* lFreq) {
    if (!lFreq) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *lFreq = m_audioHz;
    return S_OK;
}

}  // namespace platform::dshow
