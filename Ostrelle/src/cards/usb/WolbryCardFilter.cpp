// The Wolbry USB box ("vorlane Wolbry Device") and its crossbar.
#include "cards/usb/WolbryCardFilter.h"

#include "access/WolbryBoxAccess.h"

IMPLEMENT_CARD_FILTER_CLASS(CWolbryCardFilter, &CLSID_VideoInputDeviceCategory, CWolbryCardFilter::kCaptureName)

CWolbryCardFilter::~CWolbryCardFilter() {
    StopCardThreads();
}

BOOL CWolbryCardFilter::Create() {
    ResetCardState();
    m_strTunerFilterName = kTunerFilterName;
    m_ucFactoryAddr = 0xA0;
    m_ucModelAddr = 0xA1;
    m_ucEepromAddr = 0xA2;
    if (!IsValid()) return FALSE;
    return CTVCardFilter::Create();
}

BOOL CWolbryCardFilter::GetRemoteData(BYTE* key) {
    if (key == nullptr) return FALSE;
    DWORD value = 0;
    CWolbryBoxAccess::QueryBoxValue(m_pFilter, kKeyDevice, kKeyMode, kKeyReadyRegister, &value);
    if (value != 1) return FALSE;
    if (!CWolbryBoxAccess::QueryBoxValue(m_pFilter, kKeyDevice, kKeyMode, kKeyRegister, &value)) return FALSE;
    *key = static_cast<BYTE>(value & 0xFF);
    return TRUE;
}

HRESULT CWolbryCardFilter::InitAccess() {
    if (const HRESULT made = NewAccess<CWolbryBoxAccess>(ACCESS_KIND_WOLBRY); made != S_OK) return made;
    return m_pAccess->Init(m_pFilter, nullptr);
}

IMPLEMENT_CARD_FILTER_CLASS(CWolbryCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CWolbryCrossbarFilter::kCrossbarName)
