// CTridentServiceFilter: the card base of the capture devices.
#include "cards/trident/TridentServiceFilter.h"

#include <mtype.h>

#include "access/CustomDataAccess.h"
#include "cards/base/RemoteKeyCodes.h"
#include "graph/RootGraph.h"

namespace {

// The subtypes SetCaptureFormat writes, by code; any other code is UYVY (code 5 here).
constexpr int kUyvyCode = 5;
const ColorFormat kCaptureSubtypes[] = {
    {0, &MEDIASUBTYPE_RGB555, false}, {1, &MEDIASUBTYPE_RGB24, false}, {2, &MEDIASUBTYPE_YUY2, false},
    {3, &MEDIASUBTYPE_YVU9, false},   {4, &MEDIASUBTYPE_YV12, false},  {kUyvyCode, &MEDIASUBTYPE_UYVY, false},
};
const ColorFormatTable kCaptureColors = {kCaptureSubtypes, sizeof(kCaptureSubtypes) / sizeof(kCaptureSubtypes[0])};

}  // namespace

BOOL CTridentServiceFilter::Create() {
    ResetCardState();
    if (!IsValid()) return FALSE;
    CControllerLock lock;
    if (!lock.IsLocked()) return FALSE;
    InitAccess();
    FindOutputPins();
    IdentifyTuner();
    return InitTuner();
}

void CTridentServiceFilter::IdentifyTuner() { ReadFactoryModel(); }

BOOL CTridentServiceFilter::GetRemoteData(BYTE* key) {
    return ReadControllerKey(m_pAccess, kKeyController, kKeyReadyRegister, kKeyRegister, key);
}

BYTE CTridentServiceFilter::ReadEepromByte7() {
    BYTE value = 0;
    if (ReadEepromByte(kMarkAddress, &value) != S_OK) return 0;
    return value;
}

BOOL CTridentServiceFilter::GetMaxUyvySize(SIZE* size) {
    if (size == nullptr || m_pFilter == nullptr || m_pGraph == nullptr) return FALSE;
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureGraphBuilder();
    if (builder == nullptr) return FALSE;
    CComPtr<IAMStreamConfig> config;
    HRESULT hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pFilter, IID_IAMStreamConfig,
                                        reinterpret_cast<void**>(&config));
    if (FAILED(hr) || config == nullptr) return FALSE;
    return FindLargestVideoCapability(config, MEDIASUBTYPE_UYVY, size);
}

HRESULT CTridentServiceFilter::SetCaptureFormat(int subtypeCode, const VIDEOINFOHEADER* format, int pinKind) {
    if (m_pFilter == nullptr || m_pGraph == nullptr) return S_FALSE;
    if (format == nullptr) return E_POINTER;
    VideoFormatInfo info = {};
    info.nColorFormat = subtypeCode >= 0 && subtypeCode < kUyvyCode ? subtypeCode : kUyvyCode;
    info.rcSource = format->rcSource;
    info.rcTarget = format->rcTarget;
    info.dwBitRate = format->dwBitRate;
    info.dwBitErrorRate = format->dwBitErrorRate;
    info.AvgTimePerFrame = format->AvgTimePerFrame;
    info.bmiHeader = format->bmiHeader;
    return WriteVideoFormat(m_pGraph, m_pFilter, info, pinKind, kCaptureColors, true);
}

BOOL CTridentServiceFilter::TestBridgeReg3A() {
    BYTE value = 0;
    if (!ReadBridgeRegister(kBridgeReg3A, &value)) return TRUE;
    return (value & 1) == 0 ? TRUE : FALSE;
}

BOOL CTridentServiceFilter::TestBridgeReg3C() {
    BYTE value = 0;
    if (!ReadBridgeRegister(kBridgeReg3C, &value)) return TRUE;
    return (value & 1) != 0 ? TRUE : FALSE;
}

BOOL CTridentServiceFilter::WriteBridgeReg80(BYTE value) { return WriteBridgeRegister(kBridgeReg80, value); }

BOOL CTridentServiceFilter::WriteBridgeRegister(BYTE reg, BYTE value) {
    if (m_pAccess == nullptr) return FALSE;
    return SUCCEEDED(m_pAccess->WriteBridgeReg(reg, value)) ? TRUE : FALSE;
}

BOOL CTridentServiceFilter::SetChannelFrequency(float kHz) { return SetTVChannelFreq(kHz); }

BOOL CTridentServiceFilter::AckRemoteKey() {
    return AcknowledgeControllerKey(m_pAccess, kKeyController, kKeyRegister);
}

BOOL CTridentServiceFilter::HasEepromMark(BYTE mark) { return ReadEepromByte7() == mark ? TRUE : FALSE; }

BOOL CTridentServiceFilter::WriteGpio(DWORD value, DWORD mask) {
    if (m_pAccess == nullptr) return FALSE;
    return SUCCEEDED(m_pAccess->GPIO_Write(value, mask)) ? TRUE : FALSE;
}
