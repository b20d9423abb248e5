// The Rivesk MPEG encoder card ("Rivesk Video Capture") and its crossbar.
#include "cards/encoders/RiveskCardFilter.h"

#include "access/RiveskAccess.h"
#include "tuners/TunerModuleOverrides.h"

IMPLEMENT_CARD_FILTER_CLASS(CRiveskCardFilter, &CLSID_VideoInputDeviceCategory, CRiveskCardFilter::kCaptureName)

CRiveskCardFilter::~CRiveskCardFilter() {
    StopCardThreads();
}

void CRiveskCardFilter::InitNames() {
    m_ucEepromAddr = 0xA0;
    m_nRemotePeriod = 100;
    m_strTunerFilterName = kTunerFilterName;
    ClearUpstreamDevices();
}

HRESULT CRiveskCardFilter::SetAudioSource(int, BOOL) { return E_NOTIMPL; }

BOOL CRiveskCardFilter::GetRemoteData(BYTE*) { return FALSE; }

HRESULT CRiveskCardFilter::InitAccess() {
    return OpenUpstreamAccess<CRiveskAccess>(EncoderAccessKind(), AccessDevice::TunerDevice,
                                              TunerStart::TVModeOnChannelOne);
}

BOOL CRiveskCardFilter::RouteCrossbar(long input, long output) { return RouteCrossbarPins(output, input); }

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
