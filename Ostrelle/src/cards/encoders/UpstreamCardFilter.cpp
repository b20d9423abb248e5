// CUpstreamCardFilter: what the cards share whose crossbar.
#include "cards/encoders/UpstreamCardFilter.h"

#include "access/CustomDataAccess.h"

CUpstreamCardFilter::~CUpstreamCardFilter() {
    StopCardThreads();
    m_pTVTuner.Release();
    RemoveUpstreamFilter(m_pTunerFilter);
    RemoveUpstreamFilter(m_pTVAudioFilter);
    RemoveUpstreamFilter(m_pCrossbarFilter);
    m_pCrossbar.Release();
}

void CUpstreamCardFilter::ClearUpstreamDevices() {
    m_pCrossbar.Release();
    m_pTVTuner.Release();
    m_pCrossbarFilter.Release();
    m_pTVAudioFilter.Release();
}

HRESULT CUpstreamCardFilter::InitUpstreamAccess(AccessDevice device, TunerStart start) {
    SearchUpstreamInGraph([this] {
        FindTVTuner();
        FindCrossbar();
        FindTVAudio();
    });

    if (m_pTunerFilter == nullptr) return m_pAccess->Init(m_pFilter, nullptr);

    IUnknown* on = device == AccessDevice::TunerDevice ? static_cast<IUnknown*>(m_pTunerFilter)
                                                       : static_cast<IUnknown*>(m_pFilter);
    const HRESULT result = m_pAccess->Init(on, this);
    if (FAILED(result)) {
        delete m_pAccess;
        m_pAccess = nullptr;
        m_nAccessKind = ACCESS_KIND_NONE;
    }
    CComPtr<IAMTVTuner> tuner;
    if (SUCCEEDED(m_pTunerFilter->QueryInterface(IID_IAMTVTuner, reinterpret_cast<void**>(&tuner)))) {
        tuner->put_Mode(AMTUNER_MODE_TV);
        if (start == TunerStart::TVModeOnChannelOne) tuner->put_Channel(1, 0, 0);
    }
    return result;
}

HRESULT CUpstreamCardFilter::FindTVTuner() { return FindCaptureTVTuner(m_pTVTuner); }

HRESULT CUpstreamCardFilter::FindCrossbar() {
    return FindCaptureDevice(IID_IAMCrossbar, m_pCrossbar, m_pCrossbarFilter);
}

HRESULT CUpstreamCardFilter::FindTVAudio() {
    if (m_pTVAudioFilter != nullptr) return S_OK;
    CComPtr<IAMTVAudio> audio;
    return FindCaptureDevice(IID_IAMTVAudio, audio, m_pTVAudioFilter);
}

BOOL CUpstreamCardFilter::RouteCrossbarPins(long output, long input) {
    FindCrossbar();
    if (m_pCrossbar == nullptr) return FALSE;
    long outputs = 0;
    long inputs = 0;
    if (m_pCrossbar->get_PinCounts(&outputs, &inputs) != S_OK) return FALSE;
    if (input < 0 || input >= inputs || output < 0 || output >= outputs) return FALSE;
    return SUCCEEDED(m_pCrossbar->Route(output, input)) ? TRUE : FALSE;
}

HRESULT CUpstreamCardFilter::GetCrossbar(IAMCrossbar** out) {
    if (out == nullptr) return E_POINTER;
    *out = m_pCrossbar;
    if (*out != nullptr) (*out)->AddRef();
    return S_OK;
}

HRESULT CUpstreamCardFilter::GetTVAudio(IAMTVAudio** out) {
    if (out == nullptr || m_pTVAudioFilter == nullptr) return E_POINTER;
    return m_pTVAudioFilter->QueryInterface(IID_IAMTVAudio, reinterpret_cast<void**>(out));
}
