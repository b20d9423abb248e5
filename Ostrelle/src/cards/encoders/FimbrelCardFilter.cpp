// The Fimbrel card ("Conexant Fimbrel Video Capture") and its crossbar.
#include "cards/encoders/FimbrelCardFilter.h"

#include "access/FimbrelAccess.h"
#include "cards/base/RemoteKeyCodes.h"

IMPLEMENT_CARD_FILTER_CLASS(CFimbrelCardFilter, &CLSID_VideoInputDeviceCategory, CFimbrelCardFilter::kCaptureName)

CFimbrelCardFilter::~CFimbrelCardFilter() {
    StopCardThreads();
}

void CFimbrelCardFilter::InitNames() {
    m_strTunerFilterName = kTunerFilterName;
    m_ucFactoryAddr = 0xA0;
    m_ucModelAddr = 0xA1;
    m_ucEepromAddr = 0xA0;
    m_nRemotePeriod = 100;
    ClearUpstreamDevices();
}

HRESULT CFimbrelCardFilter::SetAudioSource(int, BOOL) { return E_NOTIMPL; }

BOOL CFimbrelCardFilter::GetRemoteData(BYTE* key) {
    return ReadControllerKey(m_pAccess, kKeyController, kKeyReadyRegister, kKeyRegister, key);
}

HRESULT CFimbrelCardFilter::InitAccess() {
    return OpenUpstreamAccess<CFimbrelAccess>(ACCESS_KIND_FIMBREL, AccessDevice::CaptureFilter, TunerStart::TVMode);
}

BYTE CFimbrelCardFilter::ReadEepromByte7() { return 0; }

BOOL CFimbrelCardFilter::RouteCrossbar(long output, long input) { return RouteCrossbarPins(output, input); }

IMPLEMENT_CARD_FILTER_CLASS(CFimbrelCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CFimbrelCrossbarFilter::kCrossbarName)

void CFimbrelCrossbarFilter::InitRouteTable() { SetRouteTable({0, 1, 2}, {5, 6, 7}); }
