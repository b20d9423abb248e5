#include "tuners/UsbTuner.h"

#include "access/CustomDataAccess.h"
#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"

namespace {

constexpr long kIF = 38900;
constexpr long kP92SecamL1IF = 33900;

// Models 72 and 75 tune at 0xC0 with control byte 0x8E; model 69 at 0xC6 with 0xCE; all three
// with the common IF and band tops of their own.
constexpr PllTvWrite kTvWrite72 = {0xC0, kIF, 0x8E, 147250, 425250, {0x01, 0x02, 0x08}};
constexpr PllTvWrite kTvWrite69 = {0xC6, kIF, 0xCE, 168250, 471250, {0x01, 0x02, 0x08}};

}  // namespace

CUsbTuner::CUsbTuner(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetFactoryModel('T', 4);
    SetReadAddress(0xC7);
    SetWriteAddress(0xC6);
}

CUsbTuner::~CUsbTuner()
{
    StopScan();
}

BOOL CUsbTuner::SetFMChannelFreq(float kHz)
{
    if (GetModelCode() != 92) return CTunerBase::SetFMChannelFreq(kHz);
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
    switch (GetModelCode()) {
    case 92: return WritePllTv(m_pAccess, kHz, SecamTvWrite(*this, kP92SecamL1IF));
    case 93: return WritePllTv(m_pAccess, kHz, SecamTvWrite(*this, 0));
    case 72:
    case 75: return WritePllTv(m_pAccess, kHz, kTvWrite72);
    case 69: return WritePllTv(m_pAccess, kHz, kTvWrite69);
    case 73: {
        PllTvWrite write = ModuleTvWrite(*this);
        write.address = 0xC0;
        return WritePllTv(m_pAccess, kHz, write);
    }
    case 97: return WritePllTvClamped(m_pAccess, *this, kHz, ModuleTvWrite(*this));
    default: return CTunerBase::SetTVChannelFreq(kHz);
    }
}

BOOL CUsbTuner::GetTVChannelOkay(DWORD* status)
{
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    if (!IsTVChannelLocked()) return FALSE;
    const CIfDemodulator demod(m_pAccess);
    switch (GetModelCode()) {
    case 92: return demod.ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
    case 93: return demod.ReadAfc(kDemodReadAddress, kAfcMapB, DemodTrace::Summary, status);
    case 97: return demod.ReadAfc(kDemodReadAddress, kAfcMapC, DemodTrace::Steps, status);
    case 75: return demod.ReadAfc(kDemodReadAddress, kAfcMapB, DemodTrace::Steps, status);
    case 72: return ReadPllStatus(0xC0, 9, "GetTVChannelOkay : %x,hr = %d\n", status);
    case 69: return ReadPllStatus(0xC6, 9, "GetTVChannelOkay : %x,hr = %d\n", status);
    case 73: return ReadPllStatus(0xC0, -1, "GetTVChannelOkay : %d,hr = %d\n", status);
    default: return CTunerBase::GetTVChannelOkay(status);
    }
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
    const CIfDemodulator demod(m_pAccess);
    switch (GetModelCode()) {
    case 13: return demod.WriteTable(kDemodS2, standard);
    case 72: return demod.WriteTable(kDemodF1, standard);
    case 75: return demod.WriteTable(kDemodS7, standard);
    case 92:
    case 93: return demod.WriteTable(kDemodS8, standard);
    case 97: return demod.WriteTable(kDemodS9, standard);
    default: return TRUE;
    }
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
