#include "cards/WolbryCardFilter.h"

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
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_pAccess = new (std::nothrow) CWolbryBoxAccess();
    if (m_pAccess == nullptr) return E_OUTOFMEMORY;
    m_nAccessKind = ACCESS_KIND_WOLBRY;
    return m_pAccess->Init(m_pFilter, nullptr);
}

IMPLEMENT_CARD_FILTER_CLASS(CWolbryCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CWolbryCrossbarFilter::kCrossbarName)
