// The Elgrin USB box ("Elgrin Capture") and its crossbar.
#include "cards/trident/ElgrinCardFilter.h"

#include "access/ElgrinAccess.h"
#include "tuners/XCeive2028.h"

IMPLEMENT_CARD_FILTER_CLASS(CElgrinCardFilter, &CLSID_VideoInputDeviceCategory, CElgrinCardFilter::kCaptureName)

CElgrinCardFilter::~CElgrinCardFilter() {
    ReleaseAccess();
}

void CElgrinCardFilter::IdentifyTuner() {
    if (IsTunerDataMark(ReadEepromByte7())) {
        ReadFactoryModel();
    } else {
        m_nFactory = kXceiveFactory;
        m_nTunerModel = kXceiveModel;
    }
}

HRESULT CElgrinCardFilter::SetAudioSource(int, BOOL) { return 0; }

BOOL CElgrinCardFilter::GetRemoteData(BYTE* key) {
    if (!KeysByMark(ReadEepromByte7())) return FALSE;
    return CTridentServiceFilter::GetRemoteData(key);
}

HRESULT CElgrinCardFilter::InitAccess() {
    if (const HRESULT made = NewAccess<CElgrinAccess>(BoxAccessKind()); made != S_OK) return made;
    return m_pAccess->Init(m_pFilter, this);
}

HRESULT CElgrinCardFilter::ReadFactoryModel() {
    m_nFactory = 'N';
    m_nTunerModel = 0;
    return GetTunerInfo(&m_nFactory, &m_nTunerModel);
}

BOOL CElgrinCardFilter::ProbeI2CAddress(BYTE address) { return address & 0xC0; }

BOOL CElgrinCardFilter::InitXceiveFirmware() {
    if (m_nTunerModel == kXceiveModel && m_pTuner != nullptr) {
        if (auto* tuner = dynamic_cast<CXCeive2028*>(m_pTuner)) tuner->InitFirmware();
    }
    return 0;
}

BOOL CElgrinCardFilter::ResetXceive() {
    if (m_nTunerModel != kXceiveModel || m_pTuner == nullptr) return FALSE;
    auto* tuner = dynamic_cast<CXCeive2028*>(m_pTuner);
    return tuner != nullptr ? tuner->Reset() : FALSE;
}

BOOL CElgrinCardFilter::HasFmMark() { return IsFmMark(ReadEepromByte7()); }

BOOL CElgrinCardFilter::IsTunerDataMark(BYTE mark) { return IsFmMark(mark) || mark == 'C' ? TRUE : FALSE; }

BOOL CElgrinCardFilter::IsFmMark(BYTE mark) { return mark == 'F' || mark == 'I' ? TRUE : FALSE; }

BOOL CElgrinCardFilter::KeysByMark(BYTE mark) { return IsTunerDataMark(mark); }

IMPLEMENT_CARD_FILTER_CLASS(CElgrinCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CElgrinCrossbarFilter::kCrossbarName)

void CElgrinCrossbarFilter::InitRouteTable() { SetRouteTable({0, 1, 2}, {4, 5, 6}); }
