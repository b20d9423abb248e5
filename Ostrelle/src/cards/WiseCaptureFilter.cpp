// The WIS card's opening, its bus (EEPROM, remote keys, video decoder) and its tuner.
#include "cards/WiseCaptureFilter.h"

#include <new>

#include "access/WisAccess.h"
#include "cards/WisCapabilityMatch.h"
#include "cards/WisProfileReader.h"
#include "wisencodercontrol.h"

namespace {

// The maker letters the station knows.
int KnownFactoryOr(BYTE value, int fallback) {
    switch (value) {
    case 'A':
    case 'E':
    case 'G':
    case 'L':
    case 'P':
    case 'T':
    case 'X': return value;
    default: return fallback;
    }
}

HRESULT AsFailure(HRESULT hr) { return FAILED(hr) ? hr : E_FAIL; }

bool InEepromRange(BYTE address, int count) { return count > 0 && count <= CTVCardFilter::kEepromSize - address; }

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
    if (key == nullptr || m_pAccess == nullptr) return FALSE;
    BYTE ready = 0;
    HRESULT hr = m_pAccess->I2C_Read(kKeyDevice, kKeyReadyRegister, &ready);
    TRACE("GetRemote hr = %d, byData = %d\n", static_cast<int>(hr), ready);
    if (hr != S_OK || ready != 1) return FALSE;
    BYTE value = 0;
    if (m_pAccess->I2C_Read(kKeyDevice, kKeyRegister, &value) != S_OK) return FALSE;
    *key = value;
    return TRUE;
}

HRESULT CWiseCaptureFilter::I2CWrite(BYTE* buffer, int count) {
    if (buffer == nullptr) return E_INVALIDARG;
    if (count < 2 || count > kEepromSize) return E_FAIL;
    return WriteEeprom(buffer, 0, &count, kEepromSpacingMs);
}

HRESULT CWiseCaptureFilter::WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) {
    if (buffer == nullptr || count == nullptr) return E_POINTER;
    if (!InEepromRange(address, *count)) return E_INVALIDARG;
    CWisAccess* access = WisAccess();
    if (access == nullptr) return E_POINTER;
    HRESULT result = S_OK;
    for (int i = 0; i < *count; ++i) {
        const HRESULT hr = access->I2C_WriteEx(kEepromDevice, 8, static_cast<WORD>(address + i), buffer[i], kBusFlags);
        if (hr != S_OK && result == S_OK) result = AsFailure(hr);
        Sleep(delayMs);
    }
    return result;
}

HRESULT CWiseCaptureFilter::ReadEeprom(BYTE* buffer, BYTE address, int* count) {
    if (buffer == nullptr || count == nullptr) return E_POINTER;
    if (!InEepromRange(address, *count)) return E_INVALIDARG;
    CWisAccess* access = WisAccess();
    if (access == nullptr) return E_POINTER;
    int read = 0;
    HRESULT result = S_OK;
    for (int i = 0; i < *count; ++i) {
        BYTE value = 0;
        const HRESULT hr = access->I2C_ReadEx(kEepromDevice, 8, static_cast<WORD>(address + i), &value, kBusFlags);
        Sleep(kEepromSpacingMs);
        if (hr == S_OK) {
            buffer[i] = value;
            ++read;
        } else if (result == S_OK) {
            result = AsFailure(hr);
        }
    }
    *count = read;
    return result;
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
        *factory = KnownFactoryOr(value, kDefaultFactory);
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
