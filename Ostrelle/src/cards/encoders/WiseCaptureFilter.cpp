// The WIS card's opening, its bus (EEPROM, remote keys, video decoder) and its tuner.
#include "cards/encoders/WiseCaptureFilter.h"

#include <new>

#include "access/WisAccess.h"
#include "cards/encoders/WisCapabilityMatch.h"
#include "cards/base/RemoteKeyCodes.h"
#include "cards/encoders/WisProfileReader.h"
#include "wisencodercontrol.h"

namespace {

}  // namespace

CWiseCaptureFilter::CWiseCaptureFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CTVCardFilter(owner, category, friendlyName, flag) {}

CWiseCaptureFilter::CWiseCaptureFilter(CRootGraph* owner, REFCLSID clsid) : CTVCardFilter(owner, clsid) {}

CWiseCaptureFilter::~CWiseCaptureFilter() {
    StopCardThreads();
    m_combinations.clear();
    if (m_pEncoderControl != nullptr) m_pEncoderControl->Release();
    m_pEncoderControl = nullptr;
    ReleaseAccess();
}

void CWiseCaptureFilter::InitNames() { m_strTunerFilterName = kDriverFilterName; }

CWisAccess* CWiseCaptureFilter::WisAccess() const {
    // The card's access is only ever the one CreateWisAccess made.
    return m_nAccessKind == ACCESS_KIND_WIS ? static_cast<CWisAccess*>(m_pAccess) : nullptr;
}

BOOL CWiseCaptureFilter::CreateWisAccess() {
    ReleaseAccess();
    m_nAccessKind = ACCESS_KIND_WIS;
    m_pAccess = new (std::nothrow) CWisAccess();
    if (m_pAccess == nullptr) return FALSE;
    return SUCCEEDED(m_pAccess->Init(m_pFilter, nullptr)) ? TRUE : FALSE;
}

BOOL CWiseCaptureFilter::Create() {
    ResetCardState();
    m_ucFactoryAddr = 0x11;
    m_ucModelAddr = 0x10;
    m_combinations.clear();
    if (!IsValid()) return FALSE;
    if (!CreateWisAccess()) return FALSE;

    CControllerLock lock;
    if (!lock.IsLocked()) {
        MessageBoxA(nullptr, "Initfilter lock failed", nullptr, MB_OK);
        return FALSE;
    }
    if (m_pEncoderControl != nullptr) m_pEncoderControl->Release();
    m_pEncoderControl = nullptr;
    BOOL loaded = FALSE;
    if (SUCCEEDED(m_pFilter->QueryInterface(IID_IWisEncoderControl, reinterpret_cast<void**>(&m_pEncoderControl))) &&
        m_pEncoderControl != nullptr) {
        const BOOL capabilities = QueryCapabilities(&m_capabilities);
        m_combinations.clear();
        if (capabilities) loaded = LoadVideoProfiles(&m_capabilities, &m_tables);
    }
    if (!loaded) return FALSE;
    ReadFactoryModel();
    return InitTuner();
}

HRESULT CWiseCaptureFilter::SetAudioSource(int, BOOL) { return 0; }

BOOL CWiseCaptureFilter::GetRemoteData(BYTE* key) {
    return ReadControllerKey(m_pAccess, kKeyDevice, kKeyReadyRegister, kKeyRegister, key,
                             "GetRemote hr = %d, byData = %d\n");
}

HRESULT CWiseCaptureFilter::I2CWrite(BYTE* buffer, int count) {
    if (buffer == nullptr) return E_INVALIDARG;
    if (count < 2 || count > kEepromSize) return E_FAIL;
    return WriteEeprom(buffer, 0, &count, kEepromSpacingMs);
}

// The EEPROM bytes go over the WIS access's wide I2C transfer; each read is followed by the
// 50 ms spacing. An access object of another kind has no such road: E_POINTER.
HRESULT CWiseCaptureFilter::WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) {
    if (m_pAccess != nullptr && WisAccess() == nullptr) return E_POINTER;
    return WriteEepromBytes(
        [this](BYTE at, BYTE value) { return WisAccess()->I2C_WriteEx(kEepromDevice, 8, at, value, kBusFlags); }, buffer,
        address, count, delayMs);
}

HRESULT CWiseCaptureFilter::ReadEeprom(BYTE* buffer, BYTE address, int* count) {
    if (m_pAccess != nullptr && WisAccess() == nullptr) return E_POINTER;
    return ReadEepromBytes(
        [this](BYTE at, BYTE* value) {
            const HRESULT hr = WisAccess()->I2C_ReadEx(kEepromDevice, 8, at, value, kBusFlags);
            Sleep(kEepromSpacingMs);
            return hr;
        },
        buffer, address, count);
}

BOOL CWiseCaptureFilter::InitTuner() {
    if (m_pAccess == nullptr) return FALSE;
    if (m_pTuner != nullptr) return TRUE;
    m_pTuner = CreateTuner(m_nTunerModel);
    if (m_pTuner == nullptr) {
        m_pTuner = CreateTuner(kDefaultModel);
        m_nFactory = kDefaultFactory;
    }
    return m_pTuner != nullptr ? TRUE : FALSE;
}

HRESULT CWiseCaptureFilter::GetTunerInfo(int* factory, int* model) {
    if (factory == nullptr || model == nullptr) return E_POINTER;
    CWisAccess* access = WisAccess();
    if (access == nullptr) return E_POINTER;
    BYTE value = 0;
    if (access->I2C_ReadEx(kEepromDevice, 8, m_ucFactoryAddr, &value, kBusFlags) == S_OK) {
        const int letter = FactoryFromByte(value);
        *factory = letter == 'N' ? kDefaultFactory : letter;
    }
    Sleep(kEepromSpacingMs);
    value = 0;
    const HRESULT hr = access->I2C_ReadEx(kEepromDevice, 8, m_ucModelAddr, &value, kBusFlags);
    *model = hr == S_OK && value != 0 ? value : kDefaultModel;
    return hr;
}

BOOL CWiseCaptureFilter::TuneWithStandard(float kHz) {
    if (m_pTuner == nullptr) return FALSE;
    if (m_pTuner->GetReapplyStandard()) m_pTuner->SetVideoStandard(m_pTuner->GetCurrentStandard());
    return m_pTuner->SetTVChannelFreq(kHz);
}

BOOL CWiseCaptureFilter::DetectVideoStandard(long* standard) {
    CWisAccess* access = WisAccess();
    if (standard == nullptr || access == nullptr) return FALSE;
    BYTE status = 0;
    if (access->I2C_ReadEx(kDecoderDevice, 8, kDecoderStatus, &status, kBusFlags) != S_OK) return FALSE;
    *standard = (status & kDecoder525Lines) ? AnalogVideo_NTSC_M : AnalogVideo_PAL_D;
    return TRUE;
}

BOOL CWiseCaptureFilter::QueryCapabilities(EncoderCapabilities* caps) {
    if (m_pEncoderControl == nullptr || caps == nullptr) return FALSE;
    if (FAILED(m_pEncoderControl->GetCapabilities(caps))) return FALSE;
    if (!CapabilitiesWithinArrays(caps)) {
        TRACE("CWiseCaptureFilter: the driver's capability counts exceed their arrays\n");
        *caps = {};
        return FALSE;
    }
    return TRUE;
}

BOOL CWiseCaptureFilter::GetCurrentConfig(EncoderConfig* config) {
    if (m_pEncoderControl == nullptr || config == nullptr) return FALSE;
    return SUCCEEDED(m_pEncoderControl->GetCurrentConfig(config)) ? TRUE : FALSE;
}
