// CXCeiveTuner: what the Xceive XC2028 and XC3028 tuner classes share.
#include "tuners/XCeiveTuner.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "access/CustomDataAccess.h"
#include "graph/Thread.h"
#include "tuners/StandardShorthand.h"
#include "tuners/TunerModules.h"

namespace {

using namespace standard_shorthand;

constexpr XcStandardRow kStandardTable[] = {
    {M, &XcBaseNtsc, &XcPatchMn},          {MJ, &XcBaseNtsc, &XcPatchMn},
    {N433, &XcBaseNtsc, &XcPatchMn},       {H, &XcBaseNtsc, &XcPatchMn},
    {PM, &XcBaseNtsc, &XcPatchMn},         {PN, &XcBaseNtsc, &XcPatchMn},
    {P60, &XcBaseNtsc, &XcPatchMn},        {B, &XcBasePalSecam, &XcPatchPalBg},
    {G, &XcBasePalSecam, &XcPatchPalBg},   {D, &XcBasePalSecam, &XcPatchDk},
    {SD, &XcBasePalSecam, &XcPatchDk},     {SH, &XcBasePalSecam, &XcPatchDk},
    {SK, &XcBasePalSecam, &XcPatchDk},     {SK1, &XcBasePalSecam, &XcPatchDk},
    {I, &XcBasePalSecam, &XcPatchPalI},    {SB, &XcBasePalSecam, &XcPatchSecamBgL},
    {SG, &XcBasePalSecam, &XcPatchSecamBgL}, {SL, &XcBasePalSecam, &XcPatchSecamBgL},
    {SL1, &XcBasePalSecam, &XcPatchSecamBgL},
};

constexpr XcStandardRow kSoundIfTable[] = {
    {M, &XcBaseNtsc, &XcPatchSifMn},        {MJ, &XcBaseNtsc, &XcPatchSifMn},
    {N433, &XcBaseNtsc, &XcPatchSifMn},     {H, &XcBaseNtsc, &XcPatchSifMn},
    {PM, &XcBaseNtsc, &XcPatchSifMn},       {PN, &XcBaseNtsc, &XcPatchSifMn},
    {P60, &XcBaseNtsc, &XcPatchSifMn},      {B, &XcBasePalSecam, &XcPatchSifBgi},
    {D, &XcBasePalSecam, &XcPatchSifBgi},   {G, &XcBasePalSecam, &XcPatchSifBgi},
    {I, &XcBasePalSecam, &XcPatchSifBgi},   {SB, &XcBasePalSecam, &XcPatchSifBgi},
    {SG, &XcBasePalSecam, &XcPatchSifBgi},  {SD, &XcBasePalSecam, &XcPatchSifDk},
    {SH, &XcBasePalSecam, &XcPatchSifDk},   {SK, &XcBasePalSecam, &XcPatchSifDk},
    {SK1, &XcBasePalSecam, &XcPatchSifDk},  {SL, &XcBasePalSecam, &XcPatchSifL},
    {SL1, &XcBasePalSecam, &XcPatchSifL},
};

constexpr WORD kEndWord = 0xFFFF;
constexpr WORD kResetWord = 0x0000;
constexpr WORD kSleepBit = 0x8000;
constexpr int kMaxPayload = 63;
constexpr BYTE kLockRegisterLow = 0x02;
constexpr BYTE kBridgeLockRegister = 0x3A;

}  // namespace

std::span<const XcStandardRow> XcStandardTable() { return kStandardTable; }

std::span<const XcStandardRow> XcSoundIfTable() { return kSoundIfTable; }

const XcStandardRow* FindXcStandard(std::span<const XcStandardRow> table, long standard)
{
    for (const XcStandardRow& row : table)
        if (row.standard == standard) return &row;
    return nullptr;
}

CXCeiveTuner::CXCeiveTuner(CCustomDataAccess* pAccess, long model, DWORD resetHoldMs)
    : CTunerBase(pAccess), m_dwResetHoldMs(resetHoldMs)
{
    SetModule(*FindTunerModuleRow(model));
}

XcAccessKind CXCeiveTuner::AccessKind() const
{
    CTunerOwnerCard* card = GetOwnerCard();
    return card != nullptr ? static_cast<XcAccessKind>(card->GetAccessKind()) : XcAccessKind::NoCard;
}

BOOL CXCeiveTuner::FrequencyWord(float kHz, WORD* word)
{
    const double f = kHz;
    if (word == nullptr || !std::isfinite(f)) return FALSE;
    const double n = std::floor(f / kWordKHz);
    if (n < 0.0 || n > 65535.0) return FALSE;
    *word = static_cast<WORD>(n);
    return TRUE;
}

HRESULT CXCeiveTuner::WriteBlock(std::initializer_list<BYTE> bytes)
{
    BYTE buffer[8] = {};
    if (bytes.size() > sizeof(buffer)) return E_INVALIDARG;
    std::copy(bytes.begin(), bytes.end(), buffer);
    return m_pAccess->I2C_WriteBlock(buffer, static_cast<int>(bytes.size()));
}

// ---- reset ----

BOOL CXCeiveTuner::Reset()
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    return SUCCEEDED(m_pAccess->ResetTuner(FALSE)) ? TRUE : FALSE;
}

BOOL CXCeiveTuner::PulseReset()
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    m_pAccess->ResetTuner(FALSE);
    Sleep(m_dwResetHoldMs);
    return SUCCEEDED(m_pAccess->ResetTuner(TRUE)) ? TRUE : FALSE;
}

BOOL CXCeiveTuner::ProbeRead()
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    BYTE buffer[3] = {kAddress, 0x00, 0x00};
    return m_pAccess->I2C_ReadBlock(buffer, 3) == S_OK ? TRUE : FALSE;
}

// ---- the firmware player ----

BOOL CXCeiveTuner::SendRecord(const BYTE* record, size_t length, const XcChunking& chunking)
{
    const size_t payload = static_cast<size_t>(std::clamp(chunking.nPayload, 1, kMaxPayload));
    const int head = chunking.bAddressed ? 1 : 0;
    BYTE chunk[2 + kMaxPayload];
    for (size_t sent = 1; sent < length;) {
        const size_t count = std::min(payload, length - sent);
        if (chunking.bAddressed) chunk[0] = kAddress;
        chunk[head] = record[0];
        std::memcpy(chunk + head + 1, record + sent, count);
        if (m_pAccess->I2C_WriteBlock(chunk, head + 1 + static_cast<int>(count)) != S_OK) {
            if (chunking.bTraceFailure)
                TRACE("Assertion failed: firmware chunk not written, file %s, line %d\n", __FILE__, __LINE__);
            return FALSE;
        }
        sent += count;
        if (chunking.dwWaitMs != 0) Sleep(chunking.dwWaitMs);
    }
    return TRUE;
}

BOOL CXCeiveTuner::LoadFirmware(const XcFirmware* list)
{
    if (m_pAccess == nullptr || list == nullptr || list->data == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    const XcChunking chunking = Chunking();
    const BYTE* data = list->data;
    BOOL ok = FALSE;
    size_t at = 0;
    while (list->size - at >= 2) {
        const WORD head = static_cast<WORD>(data[at] << 8 | data[at + 1]);
        at += 2;
        if (head == kEndWord) return ok;
        if (head == kResetWord) {
            ok = PulseReset();
            if (!ok) return FALSE;
        } else if (head & kSleepBit) {
            Sleep(head & ~kSleepBit);
        } else if (head > list->size - at) {
            TRACE("XCeive firmware %s: record of %u bytes runs past the end\n", list->name ? list->name : "",
                  static_cast<unsigned>(head));
            return FALSE;
        } else {
            if (!SendRecord(data + at, head, chunking)) return FALSE;
            if (head > 1) ok = TRUE;
            at += head;
        }
    }
    TRACE("XCeive firmware %s: no end word\n", list->name ? list->name : "");
    return FALSE;
}

BOOL CXCeiveTuner::InitFirmware()
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    PulseReset();
    Sleep(100);
    if (!LoadFirmware(&XcBaseNtsc)) return FALSE;
    Sleep(100);
    return LoadFirmware(&XcPatchSifBgi);
}

BOOL CXCeiveTuner::LoadStandardTable(long standard)
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    PulseReset();
    const XcStandardRow* row = FindXcStandard(kStandardTable, standard);
    if (row == nullptr) return FALSE;
    const BOOL base = LoadFirmware(row->base);
    Sleep(100);
    const BOOL patch = LoadFirmware(row->patch);
    return base && patch ? TRUE : FALSE;
}

BOOL CXCeiveTuner::LoadSoundIfTable(long standard)
{
    const XcStandardRow* row = FindXcStandard(kSoundIfTable, standard);
    if (row == nullptr || m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    return PulseReset() && LoadFirmware(row->base) && LoadFirmware(row->patch) ? TRUE : FALSE;
}

// ---- tuning ----

BOOL CXCeiveTuner::TuneAddressed(WORD word, BOOL gpioPulse)
{
    CScopedLock lock(&m_csBus);
    HRESULT hr = WriteBlock({kAddress, 0x00, 0x02, 0x00, 0x00});
    if (hr != S_OK) return FALSE;
    if (gpioPulse) {
        Sleep(10);
        m_pAccess->GPIO_Write(1, 0);
        Sleep(10);
        m_pAccess->GPIO_Write(0, 0);
    }
    Sleep(20);
    TRACE("XCeive Tuner SetTVChannelFreq Start:\n");
    hr = WriteBlock({kAddress, 0x00, 0x00, static_cast<BYTE>(word >> 8), static_cast<BYTE>(word & 0xFF)});
    TRACE("XCeive Tuner SetTVChannelFreq Finish:\n");
    Sleep(10);
    return hr == S_OK ? TRUE : FALSE;
}

BOOL CXCeiveTuner::TuneDirect(WORD word)
{
    CScopedLock lock(&m_csBus);
    HRESULT hr = WriteBlock({0x00, 0x02, 0x00, 0x00});
    if (hr != S_OK) return FALSE;
    Sleep(20);
    hr = WriteBlock({0x00, 0x00, static_cast<BYTE>(word >> 8), static_cast<BYTE>(word & 0xFF)});
    Sleep(10);
    return hr == S_OK ? TRUE : FALSE;
}

// ---- lock reads ----

BOOL CXCeiveTuner::ReadLockRegister(DWORD* status)
{
    if (status == nullptr || m_pAccess == nullptr) return FALSE;
    *status = 0;
    CScopedLock lock(&m_csBus);
    if (WriteBlock({kAddress, 0x00, kLockRegisterLow}) != S_OK) return FALSE;
    Sleep(50);
    BYTE answer[4] = {kAddress, 0x00, 0x00, 0x00};
    if (m_pAccess->I2C_ReadBlock(answer, 4) != S_OK) return FALSE;
    *status = answer[1] == 1 ? 1 : 0;
    return TRUE;
}

BOOL CXCeiveTuner::ReadBridgeLock(DWORD* status)
{
    if (status == nullptr || m_pAccess == nullptr) return FALSE;
    *status = 0;
    CScopedLock lock(&m_csBus);
    BYTE value = 0;
    if (m_pAccess->ReadBridgeReg(kBridgeLockRegister, &value) != S_OK) return FALSE;
    *status = (value & 1) ? 0 : 1;
    return TRUE;
}

BOOL CXCeiveTuner::ReadDirectLockRegister(DWORD* status)
{
    if (status == nullptr || m_pAccess == nullptr) return FALSE;
    *status = 2;
    CScopedLock lock(&m_csBus);
    if (WriteBlock({0x00, kLockRegisterLow}) != S_OK) return FALSE;
    Sleep(50);
    BYTE answer[2] = {0x00, 0x00};
    if (m_pAccess->I2C_ReadBlock(answer, 2) != S_OK) return FALSE;
    *status = static_cast<DWORD>(answer[0] << 8 | answer[1]);
    return *status == 1 ? TRUE : FALSE;
}

BOOL CXCeiveTuner::BridgeSignalLocked(DWORD* locked)
{
    if (m_pAccess == nullptr || locked == nullptr) return FALSE;
    DWORD status = 0;
    const BOOL result = ReadBridgeLock(&status);
    *locked = status == 1 ? 1 : 0;
    return result;
}

BOOL CXCeiveTuner::RegisterSignalLocked(DWORD* locked)
{
    if (m_pAccess == nullptr || locked == nullptr) return FALSE;
    DWORD status = 0;
    const BOOL result = ReadLockRegister(&status);
    *locked = status == 1 ? 1 : 0;
    return result;
}
