// CUsbTuner: the tuner of the USB TV boxes.
#include "tuners/UsbTuner.h"

#include "access/CustomDataAccess.h"
#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"

namespace {

constexpr long kIF = 38900;

// Models 72 and 75 tune at 0xC0 with control byte 0x8E; model 69 at 0xC6 with 0xCE; all three
// with the common IF and band tops of their own.
constexpr PllTvWrite kTvWrite72 = {0xC0, kIF, 0x8E, 147250, 425250, {0x01, 0x02, 0x08}};
constexpr PllTvWrite kTvWrite69 = {0xC6, kIF, 0xCE, 168250, 471250, {0x01, 0x02, 0x08}};

// How a model's TV tuning goes on the box.
enum class UsbTvRoad {
    Base,      // CTunerBase
    Secam,     // the module's write with the SECAM sixth byte and the record's L' IF
    Fixed,     // the record's write as it stands
    ModuleAt,  // the module's write at the record's address
    Clamped,   // the module's write, the frequency clamped into its range
};

// How a model's TV status reads on the box, once the decoder has lock.
enum class UsbStatusRoad {
    Base,   // CTunerBase
    Demod,  // the IF demodulator's AFC nibble through the record's map
    Pll,    // the PLL's status byte at the record's address (ReadPllStatus)
};

struct UsbModuleRecord {
    long model;
    UsbTvRoad tv = UsbTvRoad::Base;
    long lPrimeIF = 0;                 // Secam
    const PllTvWrite* write = nullptr; // Fixed
    BYTE address = 0;                  // ModuleAt, and the Pll status read
    UsbStatusRoad status = UsbStatusRoad::Base;
    const AfcMap* map = nullptr;       // Demod
    DemodTrace trace = DemodTrace::Summary;
    long missing = -1;                 // Pll: the status of a byte without the lock bit; -1: left alone
    const char* statusTrace = nullptr; // Pll
    const DemodTable* standard = nullptr;  // written for the standard; null: TRUE
    bool p92FM = false;                // model 92's own FM tuning
};

constexpr const char* kTraceHex = "GetTVChannelOkay : %x,hr = %d\n";

// The models whose roads on the box are their own; every other model takes CTunerBase's and
// answers TRUE to a standard.
constexpr UsbModuleRecord kUsbModules[] = {
    {.model = 13, .standard = &kDemodS2},
    {.model = 69, .tv = UsbTvRoad::Fixed, .write = &kTvWrite69, .address = 0xC6, .status = UsbStatusRoad::Pll,
     .missing = 9, .statusTrace = kTraceHex},
    {.model = 72, .tv = UsbTvRoad::Fixed, .write = &kTvWrite72, .address = 0xC0, .status = UsbStatusRoad::Pll,
     .missing = 9, .statusTrace = kTraceHex, .standard = &kDemodF1},
    {.model = 73, .tv = UsbTvRoad::ModuleAt, .address = 0xC0, .status = UsbStatusRoad::Pll,
     .statusTrace = "GetTVChannelOkay : %d,hr = %d\n"},
    {.model = 75, .tv = UsbTvRoad::Fixed, .write = &kTvWrite72, .status = UsbStatusRoad::Demod, .map = &kAfcMapB,
     .trace = DemodTrace::Steps, .standard = &kDemodS7},
    {.model = 92, .tv = UsbTvRoad::Secam, .lPrimeIF = 33900, .status = UsbStatusRoad::Demod, .map = &kAfcMapA,
     .standard = &kDemodS8, .p92FM = true},
    {.model = 93, .tv = UsbTvRoad::Secam, .status = UsbStatusRoad::Demod, .map = &kAfcMapB, .standard = &kDemodS8},
    {.model = 97, .tv = UsbTvRoad::Clamped, .status = UsbStatusRoad::Demod, .map = &kAfcMapC,
     .trace = DemodTrace::Steps, .standard = &kDemodS9},
};

constexpr UsbModuleRecord kUsbBase = {.model = 0};

const UsbModuleRecord& UsbRecordOf(long model)
{
    for (const UsbModuleRecord& record : kUsbModules)
        if (record.model == model) return record;
    return kUsbBase;
}

}  // namespace

CUsbTuner::CUsbTuner(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetFactoryModel('T', 4);
    SetReadAddress(0xC7);
    SetWriteAddress(0xC6);
}

BOOL CUsbTuner::SetFMChannelFreq(float kHz)
{
    if (!UsbRecordOf(GetModelCode()).p92FM) return CTunerBase::SetFMChannelFreq(kHz);
    CScopedLock lock(&m_csBus);
    return WriteP92FM(m_pAccess, *this, kHz);
}

BOOL CUsbTuner::IsTVChannelLocked()
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadDecoderLock(m_ucDecoderAddr);
}

BOOL CUsbTuner::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    const UsbModuleRecord& how = UsbRecordOf(GetModelCode());
    switch (how.tv) {
    case UsbTvRoad::Secam: return WritePllTv(m_pAccess, kHz, SecamTvWrite(*this, how.lPrimeIF));
    case UsbTvRoad::Fixed: return WritePllTv(m_pAccess, kHz, *how.write);
    case UsbTvRoad::ModuleAt: {
        PllTvWrite write = ModuleTvWrite(*this);
        write.address = how.address;
        return WritePllTv(m_pAccess, kHz, write);
    }
    case UsbTvRoad::Clamped: return WritePllTvClamped(m_pAccess, *this, kHz, ModuleTvWrite(*this));
    case UsbTvRoad::Base: break;
    }
    return CTunerBase::SetTVChannelFreq(kHz);
}

BOOL CUsbTuner::GetTVChannelOkay(DWORD* status)
{
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    if (!IsTVChannelLocked()) return FALSE;
    const UsbModuleRecord& how = UsbRecordOf(GetModelCode());
    switch (how.status) {
    case UsbStatusRoad::Demod: return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, *how.map, how.trace, status);
    case UsbStatusRoad::Pll: return ReadPllStatus(how.address, how.missing, how.statusTrace, status);
    case UsbStatusRoad::Base: break;
    }
    return CTunerBase::GetTVChannelOkay(status);
}

BOOL CUsbTuner::ReadPllStatus(BYTE address, long missing, const char* trace, DWORD* status)
{
    BYTE byte = 0;
    const HRESULT hr = CIfDemodulator(m_pAccess).ReadStatusByte(address, &byte);
    BOOL result = FALSE;
    if (hr == S_OK) {
        if ((byte & GetLockMask()) != 0) {
            *status = byte & 7;
            result = TRUE;
            TRACE("Prev3 : %d\n", byte);
        } else if (missing >= 0) {
            *status = static_cast<DWORD>(missing);
        }
    }
    TRACE(trace, static_cast<int>(*status), static_cast<int>(hr));
    return result;
}

BOOL CUsbTuner::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    const DemodTable* table = UsbRecordOf(GetModelCode()).standard;
    return table != nullptr ? CIfDemodulator(m_pAccess).WriteTable(*table, standard) : TRUE;
}

BOOL CUsbTuner::ReadIfRegisters(BYTE regs[3])
{
    if (regs == nullptr || m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    BOOL result = TRUE;
    for (int reg = 0; reg < 3; ++reg)
        if (m_pAccess->I2C_Read(kDemodAddress, reg, &regs[reg]) != S_OK) result = FALSE;
    return result;
}

BOOL CUsbTuner::GetFMStatusFromDemod(DWORD* status)
{
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    BYTE byte = 0;
    const HRESULT hr = CIfDemodulator(m_pAccess).ReadStatusByte(kDemodReadAddress, &byte);
    if (hr == S_OK) CIfDemodulator::ApplyFMStatus(byte, FALSE, kFMCentre1, status);
    TRACE("GetFMChannelOkayPhilips1216 : %d,byStatus = %d,hr = %d\n", static_cast<int>(*status), byte, static_cast<int>(hr));
    return hr == S_OK ? TRUE : FALSE;
}
