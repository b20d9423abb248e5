// CTVCardFilter: the capture-card object on the driver's capture filter.
#include "cards/base/TVCardFilter.h"

#include <cstring>
#include <new>

#include "access/CustomDataAccess.h"
#include "access/KsDeviceControlAccess.h"
#include "access/KsPropertyAccess.h"
#include "cards/base/RemoteThread.h"
#include "graph/Thread.h"
#include "graph/TunerModelNames.h"

namespace {

// Id 4 of the device-control set answers whether the driver has it.
constexpr DWORD kDeviceControlProbeId = 4;

// The Kesh tuner ids of the tuner models that have one (KeshTunerID, TUNER_MODEL).
constexpr int kKeshTunerIds[][2] = {
    {33, 95}, {35, 5}, {135, 65}, {136, 62}, {4, 111}, {137, 138}, {138, 133},
};

// A failure to report for a transfer that did not answer S_OK.
HRESULT AsFailure(HRESULT hr) { return FAILED(hr) ? hr : E_FAIL; }

// address .. address + count - 1 lies in the chip; compared without forming address + count,
// which a count near INT_MAX would overflow.
bool InEepromRange(BYTE address, int count) { return count > 0 && count <= CTVCardFilter::kEepromSize - address; }

}  // namespace

CTVCardFilter::CTVCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {
    InitKeshMaps();
}

CTVCardFilter::CTVCardFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {
    InitKeshMaps();
}

CTVCardFilter::~CTVCardFilter() {
    CTVCardFilter::ReleaseAccess();
    m_pTunerFilter.Release();
}

void CTVCardFilter::InitKeshMaps() {
    for (const auto& pair : kKeshTunerIds) {
        m_mapKeshIdToModel[pair[0]] = pair[1];
        m_mapModelToKeshId[pair[1]] = pair[0];
    }
}

int CTVCardFilter::KeshIdFromModel(int model) const {
    auto it = m_mapModelToKeshId.find(model);
    return it == m_mapModelToKeshId.end() ? KESH_TUNER_ID_NONE : it->second;
}

int CTVCardFilter::ModelFromKeshId(int keshId) const {
    auto it = m_mapKeshIdToModel.find(keshId);
    return it == m_mapKeshIdToModel.end() ? 0 : it->second;
}

CRootPin* CTVCardFilter::FindPin(const char* name) {
    if (name != nullptr) {
        if (std::strcmp(name, "Capture") == 0 && m_pCapturePin != nullptr) return m_pCapturePin;
        if (std::strcmp(name, "Preview") == 0 && m_pPreviewPin != nullptr) return m_pPreviewPin;
    }
    return CRootFilter::FindPin(name);
}

BOOL CTVCardFilter::Init() { return Create(); }

void CTVCardFilter::ResetCardState() {
    ReleaseAccess();
    m_pCapturePin = nullptr;
    m_pPreviewPin = nullptr;
    m_hNotifyWnd = nullptr;
    m_nDerivedB = 0;
    m_nDerivedC = 0;
    m_nFactory = 'N';
    m_nTunerModel = 0;
}

BOOL CTVCardFilter::Create() {
    ResetCardState();
    if (!IsValid()) return FALSE;
    return OpenCard(nullptr);
}

BOOL CTVCardFilter::OpenCard(const char* lockFailureText) {
    CNameMutex mutex(kRemoteControlMutex, FALSE);
    if (!mutex.Lock()) {
        if (lockFailureText != nullptr) MessageBoxA(nullptr, lockFailureText, nullptr, MB_OK);
        return FALSE;
    }
    BOOL result = FALSE;
    if (InitAccess() == S_OK && m_nAccessKind != ACCESS_KIND_NONE) {
        FindOutputPins();
        ReadFactoryModel();
        result = InitTuner();
    }
    mutex.Unlock();
    return result;
}

HRESULT CTVCardFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_nEepromLayout = 0;
    m_nAccessKind = ACCESS_KIND_NONE;
    if (m_pFilter == nullptr) return E_POINTER;

    CComPtr<IKsPropertySet> propertySet;
    if (FAILED(m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&propertySet))) ||
        propertySet == nullptr) {
        return E_FAIL;
    }
    DWORD support = 0;
    if (propertySet->QuerySupported(KSPROPSETID_DeviceControl, kDeviceControlProbeId, &support) == S_OK) {
        m_bDirectAccess = 0;
        return OpenAccess(new (std::nothrow) CKsDeviceControlAccess(), ACCESS_KIND_DEVICE_CONTROL);
    }
    if (propertySet->QuerySupported(KSPROPSETID_Saa713xAccess, KSPROPERTY_SAA713X_DEVICE_INFO, &support) != S_OK) {
        TRACE("CTVCardFilter::InitAccess - the driver has no access property set\n");
        return E_FAIL;
    }
    return OpenKsPropertyAccess(ACCESS_KIND_KS_PROPERTY);
}

HRESULT CTVCardFilter::OpenAccess(CCustomDataAccess* access, int kind) {
    if (access == nullptr) return E_OUTOFMEMORY;
    HRESULT hr = access->Init(m_pFilter, this);
    if (FAILED(hr)) {
        delete access;
        return hr;
    }
    m_pAccess = access;
    m_nAccessKind = kind;
    return m_pAccess->Open(TRUE) == 0 ? S_OK : E_FAIL;
}

void CTVCardFilter::StopCardThreads() {
    ReleaseAuxThread();
    StopRemoteThread();
}

void CTVCardFilter::ReleaseAuxThread() {
    if (m_pAuxThread != nullptr) m_pAuxThread->Stop();
    delete m_pAuxThread;
    m_pAuxThread = nullptr;
}

LONG_PTR CTVCardFilter::ReleaseAccess() {
    StopCardThreads();
    DeleteTuner(m_pTuner);
    m_pTuner = nullptr;
    delete m_pAccess;
    m_pAccess = nullptr;
    m_nAccessKind = ACCESS_KIND_NONE;
    return 0;
}

LONG_PTR CTVCardFilter::ReleaseChild() {
    ReleaseAuxThread();
    return 1;
}

HRESULT CTVCardFilter::ReadEepromByte(BYTE address, BYTE* value) {
    if (m_pAccess == nullptr || value == nullptr) return E_POINTER;
    return m_pAccess->I2C_Read(m_ucEepromAddr, address, value);
}

HRESULT CTVCardFilter::ReadEeprom(BYTE* buffer, BYTE address, int* count) {
    return ReadEepromBytes([this](BYTE at, BYTE* value) { return m_pAccess->I2C_Read(m_ucEepromAddr, at, value); },
                           buffer, address, count);
}

HRESULT CTVCardFilter::WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) {
    return WriteEepromBytes([this](BYTE at, BYTE value) { return m_pAccess->I2C_Write(m_ucEepromAddr, at, value); },
                            buffer, address, count, delayMs);
}

HRESULT CTVCardFilter::ReadEepromBytes(const EepromByteReader& read, BYTE* buffer, BYTE address, int* count) {
    if (buffer == nullptr || count == nullptr) return E_POINTER;
    if (!InEepromRange(address, *count)) return E_INVALIDARG;
    if (m_pAccess == nullptr) return E_POINTER;
    int done = 0;
    HRESULT result = S_OK;
    for (int i = 0; i < *count; ++i) {
        BYTE value = 0;
        HRESULT hr = read(static_cast<BYTE>((address + i) & 0xFF), &value);
        if (hr == S_OK) {
            buffer[i] = value;
            ++done;
        } else if (result == S_OK) {
            result = AsFailure(hr);
        }
    }
    *count = done;
    return result;
}

HRESULT CTVCardFilter::WriteEepromBytes(const EepromByteWriter& write, BYTE* buffer, BYTE address, int* count,
                                        DWORD delayMs) {
    if (buffer == nullptr || count == nullptr) return E_POINTER;
    if (!InEepromRange(address, *count)) return E_INVALIDARG;
    if (m_pAccess == nullptr) return E_POINTER;
    HRESULT result = S_OK;
    for (int i = 0; i < *count; ++i) {
        HRESULT hr = write(static_cast<BYTE>((address + i) & 0xFF), buffer[i]);
        if (hr != S_OK && result == S_OK) result = AsFailure(hr);
        Sleep(delayMs);
    }
    return result;
}

HRESULT CTVCardFilter::I2CWrite(BYTE* buffer, int count) {
    if (buffer == nullptr) return E_INVALIDARG;
    if (count < 2 || count > kEepromSize) return E_FAIL;
    if (m_pAccess == nullptr) return E_POINTER;
    return m_pAccess->I2C_WriteBlock(buffer, count);
}

BYTE CTVCardFilter::ReadEepromByte7() {
    BYTE value = 0;
    if (ReadEepromByte(7, &value) != S_OK) return 0;
    return value;
}

BOOL CTVCardFilter::ProbeI2CAddress(BYTE address) {
    if (m_pAccess == nullptr) return FALSE;
    BYTE buffer[1] = {address};
    return m_pAccess->I2C_ReadBlock(buffer, 1) == S_OK ? TRUE : FALSE;
}

HRESULT CTVCardFilter::GetVideoStandard(long* available, long* current) {
    return GetDecoderStandard(m_pFilter, available, current, false);
}

HRESULT CTVCardFilter::SetVideoStandard(long standard) { return SetDecoderStandard(m_pFilter, standard); }

HRESULT CTVCardFilter::IsSignalLocked(DWORD* locked) {
    if (locked == nullptr) return E_POINTER;
    if (m_pFilter == nullptr) return E_FAIL;
    CComPtr<IAMAnalogVideoDecoder> decoder;
    HRESULT hr = m_pFilter->QueryInterface(IID_IAMAnalogVideoDecoder, reinterpret_cast<void**>(&decoder));
    if (FAILED(hr)) return hr;
    long value = 0;
    hr = decoder->get_HorizontalLocked(&value);
    if (SUCCEEDED(hr)) *locked = static_cast<DWORD>(value);
    return hr;
}

BOOL CTVCardFilter::GetDeviceInfo(DWORD* info) {
    if (info == nullptr || m_pFilter == nullptr) return FALSE;
    CComPtr<IKsPropertySet> propertySet;
    if (FAILED(m_pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&propertySet))) ||
        propertySet == nullptr) {
        return FALSE;
    }
    DWORD support = 0;
    if (FAILED(propertySet->QuerySupported(KSPROPSETID_Saa713xAccess, KSPROPERTY_SAA713X_DEVICE_INFO, &support))) {
        return FALSE;
    }
    DWORD low = 0;
    DWORD high = 0;
    if (FAILED(KsGetDeviceInfo(propertySet, KSPROPSETID_Saa713xAccess, &low, &high))) return FALSE;
    *info = low | (high << 16);
    return TRUE;
}

LONG_PTR CTVCardFilter::OnCommand(LONG_PTR) { return 0; }
BOOL CTVCardFilter::WriteControllerWord(WORD) { return 0; }
BOOL CTVCardFilter::ReadControllerWord(WORD*) { return 0; }
BOOL CTVCardFilter::ControllerCommand(BOOL) { return 0; }
LONG_PTR CTVCardFilter::SetDriverValue(LONG_PTR) { return 0; }
LONG_PTR CTVCardFilter::InstallDeviceEvent(LONG_PTR) { return 0; }
LONG_PTR CTVCardFilter::StartEventThread(LONG_PTR) { return 0; }
HRESULT CTVCardFilter::WriteMaskedGpio(LONG_PTR, LONG_PTR) { return E_FAIL; }
LONG_PTR CTVCardFilter::ReadDigitString(LONG_PTR, LONG_PTR) { return 0; }

void CTVCardFilter::SetNotifyWindow(HWND window) {
    m_hNotifyWnd = window;
    if (m_pTuner != nullptr) m_pTuner->SetNotifyWindow(window);
}

CString CTVCardFilter::GetTunerModelName() const {
    CString name;
    GetTunerModelNames().Find(static_cast<TUNER_MODEL>(m_nTunerModel), name);
    return name;
}

HRESULT CTVCardFilter::GetTVTuner(IAMTVTuner** tuner) {
    if (tuner == nullptr || m_pTunerFilter == nullptr) return E_POINTER;
    return m_pTunerFilter->QueryInterface(IID_IAMTVTuner, reinterpret_cast<void**>(tuner));
}

BOOL CTVCardFilter::ReadBridgeRegister(BYTE reg, BYTE* value) {
    if (m_pAccess == nullptr || value == nullptr) return FALSE;
    return SUCCEEDED(m_pAccess->ReadBridgeReg(reg, value)) ? TRUE : FALSE;
}

HRESULT CTVCardFilter::ForwardAccessReserved(BOOL flag) {
    if (m_pAccess == nullptr) return E_POINTER;
    return m_pAccess->Reserved28(flag);
}
