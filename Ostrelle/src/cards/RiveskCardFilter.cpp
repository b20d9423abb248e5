#include "cards/RiveskCardFilter.h"

#include "access/RiveskAccess.h"
#include "tuners/Tuner_O100.h"

IMPLEMENT_CARD_FILTER_CLASS(CRiveskCardFilter, &CLSID_VideoInputDeviceCategory, CRiveskCardFilter::kCaptureName)

CRiveskCardFilter::~CRiveskCardFilter() {
    StopCardThreads();
    m_pTVTuner.Release();
    RemoveUpstreamFilter(m_pTunerFilter);
    RemoveUpstreamFilter(m_pTVAudioFilter);
    RemoveUpstreamFilter(m_pCrossbarFilter);
    m_pCrossbar.Release();
}

void CRiveskCardFilter::InitNames() {
    m_ucEepromAddr = 0xA0;
    m_nRemotePeriod = 100;
    m_strTunerFilterName = kTunerFilterName;
    m_nEncoderAccessKind = ACCESS_KIND_RIVESK;
    m_pCrossbar.Release();
    m_pTVTuner.Release();
    m_pCrossbarFilter.Release();
    m_pTVAudioFilter.Release();
}

HRESULT CRiveskCardFilter::SetAudioSource(int, BOOL) { return E_NOTIMPL; }

BOOL CRiveskCardFilter::GetRemoteData(BYTE*) { return FALSE; }

HRESULT CRiveskCardFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_nAccessKind = m_nEncoderAccessKind;
    m_pAccess = new (std::nothrow) CRiveskAccess();
    if (m_pAccess == nullptr) return E_OUTOFMEMORY;

    SearchUpstreamInGraph([this] {
        FindTVTuner();
        FindCrossbar();
        FindTVAudio();
    });

    if (m_pTunerFilter == nullptr) return m_pAccess->Init(m_pFilter, nullptr);

    const HRESULT result = m_pAccess->Init(m_pTunerFilter, this);
    if (FAILED(result)) {
        delete m_pAccess;
        m_pAccess = nullptr;
        m_nAccessKind = ACCESS_KIND_NONE;
    }
    CComPtr<IAMTVTuner> tuner;
    if (SUCCEEDED(m_pTunerFilter->QueryInterface(IID_IAMTVTuner, reinterpret_cast<void**>(&tuner)))) {
        tuner->put_Mode(AMTUNER_MODE_TV);
        tuner->put_Channel(1, 0, 0);
    }
    return result;
}

HRESULT CRiveskCardFilter::FindTVTuner() { return FindCaptureTVTuner(m_pTVTuner); }

HRESULT CRiveskCardFilter::FindCrossbar() {
    return FindCaptureDevice(IID_IAMCrossbar, m_pCrossbar, m_pCrossbarFilter);
}

HRESULT CRiveskCardFilter::FindTVAudio() {
    if (m_pTVAudioFilter != nullptr) return S_OK;
    CComPtr<IAMTVAudio> audio;
    return FindCaptureDevice(IID_IAMTVAudio, audio, m_pTVAudioFilter);
}

BOOL CRiveskCardFilter::RouteCrossbar(long input, long output) {
    FindCrossbar();
    if (m_pCrossbar == nullptr) return FALSE;
    long outputs = 0;
    long inputs = 0;
    if (m_pCrossbar->get_PinCounts(&outputs, &inputs) != S_OK) return FALSE;
    if (input < 0 || input >= inputs || output < 0 || output >= outputs) return FALSE;
    return SUCCEEDED(m_pCrossbar->Route(output, input)) ? TRUE : FALSE;
}

HRESULT CRiveskCardFilter::GetCrossbar(IAMCrossbar** out) {
    if (out == nullptr) return E_POINTER;
    *out = m_pCrossbar;
    if (*out != nullptr) (*out)->AddRef();
    return S_OK;
}

HRESULT CRiveskCardFilter::GetTVAudio(IAMTVAudio** out) {
    if (out == nullptr || m_pTVAudioFilter == nullptr) return E_POINTER;
    return m_pTVAudioFilter->QueryInterface(IID_IAMTVAudio, reinterpret_cast<void**>(out));
}

BOOL CRiveskCardFilter::SetTunerMode(long mode) {
    if (m_nTunerModel != kModeTunerModel) return 0;
    auto* tuner = dynamic_cast<CTuner_O100*>(m_pTuner);
    return tuner != nullptr ? tuner->SetMode(mode) : 0;
}

IMPLEMENT_CARD_FILTER_CLASS(CRiveskCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CRiveskCrossbarFilter::kCrossbarName)

void CRiveskCrossbarFilter::InitRouteTable() {
    if (m_nPinCount == kSevenPins) {
        SetRouteTable({0, 2, 1}, {3, 4, -1});
    } else {
        SetRouteTable({1, 2, 0}, {4, 5, 6});
    }
}
