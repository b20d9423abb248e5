// The USB TV boxes on Empia EM28xx bridges: CUsbTVFilter adapts the card base to them.
#include "cards/usb/UsbTVFilter.h"

#include <iterator>
#include <new>

#include "access/Em2800Access.h"
#include "access/VendorAccess.h"
#include "cards/base/CaptureFormat.h"
#include "graph/TunerModelNames.h"
#include "tuners/TunerModuleRows.h"
#include "tuners/UsbTuner.h"

namespace {

// The EEPROM places of the tuner on these boxes.
constexpr BYTE kFactoryAddr = 0xC0;
constexpr BYTE kModelAddr = 0xC1;
constexpr int kEepromModelChecked = 69;
constexpr int kFactoryOfControllerType = 'T';
constexpr DWORD kAcknowledgeDelayMs = 10;

// TUNER_MODEL of the controller's type codes 1 to 7; higher codes give the last one.
constexpr int kModelOfTypeCode[] = {3, 2, 1, 14, 5, 11, 4};

int ModelOfTypeCode(BYTE code) {
    const size_t index = code - 1u;
    return index < std::size(kModelOfTypeCode) ? kModelOfTypeCode[index] : kModelOfTypeCode[std::size(kModelOfTypeCode) - 1];
}

bool ModelHasName(int model) {
    CString name;
    return model != 0 && GetTunerModelNames().Find(static_cast<TUNER_MODEL>(model), name);
}

// Audio switch bits of the bridge GPIO byte.
constexpr DWORD kKeptAudioBits = 0x0C;
constexpr DWORD kAudioOffBits = 0x07;
constexpr DWORD kSourceBits[] = {0x01, 0x02, 0x00};

}  // namespace

CUsbTVFilter::CUsbTVFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CTVCardFilter(owner, category, friendlyName, flag) {
    m_ucFactoryAddr = kFactoryAddr;
    m_ucModelAddr = kModelAddr;
}

CUsbTVFilter::CUsbTVFilter(CRootGraph* owner, REFCLSID clsid) : CTVCardFilter(owner, clsid) {
    m_ucFactoryAddr = kFactoryAddr;
    m_ucModelAddr = kModelAddr;
}

CUsbTVFilter::~CUsbTVFilter() { StopCardThreads(); }

void CUsbTVFilter::InitNames() { m_strTunerFilterName = kDefaultName; }

HRESULT CUsbTVFilter::GetVideoStandard(long* available, long* current) {
    return CTVCardFilter::GetVideoStandard(available, current);
}

HRESULT CUsbTVFilter::SetVideoStandard(long standard) { return CTVCardFilter::SetVideoStandard(standard); }

HRESULT CUsbTVFilter::SetAudioSource(int source, BOOL on) {
    if (m_pAccess == nullptr) return E_POINTER;
    Sleep(kAudioSwitchDelayMs);
    DWORD word = 0;
    const HRESULT read = m_pAccess->GPIO_Read(&word);
    if (read != S_OK) return FAILED(read) ? read : E_FAIL;
    if (!on) {
        word |= kAudioOffBits;
    } else if (source >= 0 && source < static_cast<int>(std::size(kSourceBits))) {
        word = (word & kKeptAudioBits) | kSourceBits[source];
    }
    return m_pAccess->GPIO_Write(word, 0);
}

BOOL CUsbTVFilter::ReadBoxControllerKey(BYTE device, KeyAcknowledge acknowledge, BYTE* key) {
    if (m_pAccess == nullptr || key == nullptr) return FALSE;
    BYTE waiting = 0;
    if (m_pAccess->I2C_Read(device, kKeyWaitingRegister, &waiting) != S_OK || waiting != 1) return FALSE;
    if (acknowledge == KeyAcknowledge::ClearWaitingFirst) {
        m_pAccess->I2C_Write(device, kKeyWaitingRegister, 0);
        Sleep(kAcknowledgeDelayMs);
    }
    BYTE code = 0;
    if (m_pAccess->I2C_Read(device, kKeyRegister, &code) != S_OK) return FALSE;
    *key = code;
    return TRUE;
}

BOOL CUsbTVFilter::GetRemoteData(BYTE* key) { return ReadBoxControllerKey(kControllerAddress, KeyAcknowledge::None, key); }

HRESULT CUsbTVFilter::OpenEm2800Access(const char* deviceName, int kind) {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    auto* access = new (std::nothrow) CEm2800Access();
    if (access == nullptr) return E_OUTOFMEMORY;
    m_pAccess = access;
    m_nAccessKind = kind;
    return access->Init(nullptr, const_cast<char*>(deviceName));
}

HRESULT CUsbTVFilter::InitAccess() { return OpenEm2800Access(m_strTunerFilterName.c_str(), kAccessKind); }

CTunerBase* CUsbTVFilter::MakeUsbTuner(int model) {
    if (m_pAccess == nullptr) return nullptr;
    CTunerBase* tuner = model == 97 ? static_cast<CTunerBase*>(new (std::nothrow) CTuner_P97(m_pAccess))
                                    : static_cast<CTunerBase*>(new (std::nothrow) CUsbTuner(m_pAccess));
    if (tuner == nullptr) return nullptr;
    tuner->SetOwnerCard(this);
    // The factory's tuner of the model lends its module description; a model without one
    // leaves the tuner's own.
    CTunerBase* module = CreateTuner(model);
    tuner->CopyFrom(module);
    DeleteTuner(module);
    tuner->SetWriteAddress(kPllWriteAddress);
    if (!ProbeI2CAddress(kDecoderProbeAddress) && ProbeI2CAddress(kBoxDecoderReadAddress)) {
        if (auto* p97 = dynamic_cast<CTuner_P97*>(tuner)) p97->SetDemodAddress(kBoxDecoderReadAddress);
        if (auto* usb = dynamic_cast<CUsbTuner*>(tuner)) usb->SetDecoderAddress(kBoxDecoderReadAddress);
    }
    return tuner;
}

BOOL CUsbTVFilter::InitTuner() {
    if (m_pAccess == nullptr) return FALSE;
    if (m_pTuner == nullptr) m_pTuner = MakeUsbTuner(m_nTunerModel);
    return m_pTuner != nullptr ? TRUE : FALSE;
}

HRESULT CUsbTVFilter::GetTunerInfo(int* factory, int* model) {
    if (factory == nullptr || model == nullptr) return E_POINTER;
    *factory = 'N';
    *model = 0;
    BYTE code = 0;
    if (m_pAccess == nullptr || m_pAccess->I2C_Read(kControllerAddress, kTunerTypeRegister, &code) != S_OK) code = 0;
    *factory = kFactoryOfControllerType;
    if (code != 0) {
        *model = ModelOfTypeCode(code);
    } else if (CTVCardFilter::GetTunerInfo(factory, model) != S_OK || !ModelHasName(*model)) {
        *model = kUnknownEepromModel;
    }
    TRACE("CUsbTVFilter::GetTunerInfo : type %d, factory %c, model %d\n", code, *factory, *model);
    return S_OK;
}

HRESULT CUsbTVFilter::ReadFactoryModel() {
    m_nFactory = 'N';
    m_nTunerModel = 0;
    const HRESULT hr = GetTunerInfo(&m_nFactory, &m_nTunerModel);
    int factory = 'N';
    int model = 0;
    CTVCardFilter::GetTunerInfo(&factory, &model);
    if (model == kEepromModelChecked) {
        m_nFactory = factory;
        m_nTunerModel = model;
    }
    return hr;
}

BOOL CUsbTVFilter::SetTunerModel(int model) {
    CTunerBase* tuner = MakeUsbTuner(model);
    if (tuner == nullptr) return FALSE;
    if (m_pTuner != nullptr) {
        tuner->SetNotifyWindow(m_pTuner->GetNotifyWindow());
        DeleteTuner(m_pTuner);
    }
    m_pTuner = tuner;
    m_nTunerModel = model;
    GetFactoryFromModel(&m_nFactory, model);
    return TRUE;
}

int CUsbTVFilter::FindLockedAddresses(BYTE* out, int maxAddress) {
    auto* access = dynamic_cast<CEm2800Access*>(m_pAccess);
    if (out == nullptr || access == nullptr || m_pTuner == nullptr) return 0;
    return access->ScanI2CBus(out, maxAddress < kLastScanAddress ? maxAddress : kLastScanAddress,
                              m_pTuner->GetLockMask());
}

BOOL CUsbTVFilter::GetMaxCaptureSize(SIZE* out) {
    if (out == nullptr) return FALSE;
    CComPtr<IAMStreamConfig> config;
    if (FAILED(::FindStreamConfig(m_pGraph, m_pFilter, 1, &config))) return FALSE;
    return FindLargestVideoCapability(config, MEDIASUBTYPE_YUY2, out);
}

BOOL CUsbTVFilter::GetDemodAddress(BYTE* out) {
    if (out == nullptr || m_pTuner == nullptr) return FALSE;
    if (auto* p97 = dynamic_cast<CTuner_P97*>(m_pTuner)) {
        *out = static_cast<BYTE>(p97->GetDemodAddress());
    } else if (auto* usb = dynamic_cast<CUsbTuner*>(m_pTuner)) {
        *out = usb->GetDecoderAddress();
    } else {
        return FALSE;
    }
    return TRUE;
}

namespace {

CVendorAccess* VendorOf(CCustomDataAccess* access) {
    auto* em2800 = dynamic_cast<CEm2800Access*>(access);
    return em2800 != nullptr ? &em2800->GetVendorAccess() : nullptr;
}

}  // namespace

BOOL CUsbTVFilter::AC97Read(BYTE reg, WORD* value) {
    CVendorAccess* vendor = VendorOf(m_pAccess);
    if (vendor == nullptr || value == nullptr) return FALSE;
    return vendor->AC97Read(reg, value) >= 0 ? TRUE : FALSE;
}

BOOL CUsbTVFilter::AC97Write(BYTE reg, WORD value) {
    CVendorAccess* vendor = VendorOf(m_pAccess);
    if (vendor == nullptr) return FALSE;
    return vendor->AC97Write(reg, &value) >= 0 ? TRUE : FALSE;
}

BOOL CUsbTVFilter::ReadRaw(DWORD id, void* data) {
    CVendorAccess* vendor = VendorOf(m_pAccess);
    if (vendor == nullptr || data == nullptr) return FALSE;
    return vendor->ReadRaw(id, data) >= 0 ? TRUE : FALSE;
}

BOOL CUsbTVFilter::WriteRaw(DWORD id, void* data) {
    CVendorAccess* vendor = VendorOf(m_pAccess);
    if (vendor == nullptr || data == nullptr) return FALSE;
    return vendor->WriteRaw(id, data) >= 0 ? TRUE : FALSE;
}

// ---- the family's crossbar ----

namespace {

// The decoder's input mode of sources 0, 1, 2; other sources 0.
constexpr BYTE kInputModes[] = {2, 0, 9};

}  // namespace

void CUsbTVCrossbarFilter::InitRouteTable() { SetRouteTable({0, 1, 2}, {4, 5, 6}); }

const char* CUsbTVCrossbarFilter::VendorDeviceName() const { return "USB 2800 TVTuner"; }

BOOL CUsbTVCrossbarFilter::SetVideoInput(int source) { return WriteDecoderInput(source); }

BOOL CUsbTVCrossbarFilter::WriteDecoderInput(int source) {
    const BYTE mode = source >= 0 && source < static_cast<int>(std::size(kInputModes)) ? kInputModes[source] : 0;
    CVendorAccess vendor;  // closed by its destructor
    if (vendor.OpenByName(VendorDeviceName()) == nullptr) return FALSE;
    BYTE value = 0;
    if (!vendor.ReadReg(kDecoderReadAddress, kInputModeRegister, 1, &value)) return FALSE;
    value = static_cast<BYTE>((value & 0xF0) | mode);
    return vendor.WriteReg(kDecoderWriteAddress, kInputModeRegister, 1, &value);
}
