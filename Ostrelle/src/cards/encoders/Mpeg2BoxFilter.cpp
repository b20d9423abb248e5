// The USB MPEG-2 box ("Vorlane MPEG-2 Box") and its crossbar.
#include "cards/encoders/Mpeg2BoxFilter.h"

#include "access/Mpeg2BoxAccess.h"

IMPLEMENT_CARD_FILTER_CLASS(CMpeg2BoxFilter, &CLSID_VideoInputDeviceCategory, CMpeg2BoxFilter::kCaptureName)

CMpeg2BoxFilter::~CMpeg2BoxFilter() {
    StopCardThreads();
    m_pDeviceProps.Release();
}

void CMpeg2BoxFilter::InitNames() {
    m_ucEepromAddr = 0xA2;
    m_nRemotePeriod = 100;
}

BOOL CMpeg2BoxFilter::Create() {
    if (!CTVCardFilter::Create()) return FALSE;
    m_pDeviceProps.Release();
    return SUCCEEDED(m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pDeviceProps))) &&
                   m_pDeviceProps != nullptr
               ? TRUE
               : FALSE;
}

HRESULT CMpeg2BoxFilter::SetAudioSource(int, BOOL) { return E_NOTIMPL; }

BOOL CMpeg2BoxFilter::GetRemoteData(BYTE* key) {
    if (key == nullptr) return FALSE;
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryBoxValue(m_pFilter, kKeyDevice, kKeyMode, kKeyReadyRegister, &value)) value = 0;
    if ((value & 0xFF) != 1) return FALSE;
    if (!CMpeg2BoxAccess::QueryBoxValue(m_pFilter, kKeyDevice, kKeyMode, kKeyRegister, &value)) return FALSE;
    *key = static_cast<BYTE>(value & 0xFF);
    return TRUE;
}

HRESULT CMpeg2BoxFilter::InitAccess() {
    if (const HRESULT made = NewAccess<CMpeg2BoxAccess>(ACCESS_KIND_MPEG2_BOX); made != S_OK) return made;
    return m_pAccess->Init(m_pFilter, nullptr);
}

IMPLEMENT_CARD_FILTER_CLASS(CMpeg2BoxCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CMpeg2BoxCrossbarFilter::kCrossbarName)

void CMpeg2BoxCrossbarFilter::InitRouteTable() {
    if (HasTunerInput()) {
        SetRouteTable({2, 0, 1}, {4, 3, -1});
    } else {
        SetRouteTable({-1, 0, 1}, {-1, 2, -1});
    }
}
