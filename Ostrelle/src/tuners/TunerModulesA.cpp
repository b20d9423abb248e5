#include "tuners/TunerModulesA.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"

namespace {

// Model 139's IF, and its IF for SECAM_L and SECAM_L1.
constexpr long kIF = 38900;
constexpr long kSecamLIF = 33900;

}  // namespace

BOOL CTuner_A59::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz + 250.0f);
}

BOOL CTuner_A59::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF2, standard);
}

BOOL CTuner_A62::SetFMChannelFreq(float kHz)
{
    return CTunerBase::SetFMChannelFreq(kHz);
}

BOOL CTuner_A62::GetFMChannelOkay(DWORD* status)
{
    return CTunerBase::GetFMChannelOkay(status);
}

BOOL CTuner_A63::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz + 250.0f);
}

BOOL CTuner_A63::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF3, standard);
}

BOOL CTuner_A67::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz + 250.0f);
}

BOOL CTuner_A67::GetTVChannelOkay(DWORD* status)
{
    if (status == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    BYTE byte = 0;
    if (CIfDemodulator(m_pAccess).ReadStatusByte(GetReadAddress(), &byte) != S_OK) return FALSE;
    *status = (byte >> 6) & 1;
    return TRUE;
}

BOOL CTuner_A67::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS4, standard);
}

BOOL CTuner_A70::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    if (!CTunerBase::SetFMChannelFreq(kHz)) return FALSE;
    return CIfDemodulator(m_pAccess).WriteTable(kDemodFM2, GetCurrentStandard());
}

BOOL CTuner_A70::GetFMChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    CTunerBase::GetFMChannelOkay(status);
    return CIfDemodulator(m_pAccess).ReadFMStatus(TRUE, kFMCentre2, status);
}

BOOL CTuner_A70::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapD, DemodTrace::Steps, status);
}

BOOL CTuner_A70::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS6, standard);
}

BOOL CTuner_A132::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapC, DemodTrace::Steps, status);
}

BOOL CTuner_A132::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS10, standard);
}

BOOL CTuner_A138::SetFMChannelFreq(float kHz)
{
    return CTunerBase::SetFMChannelFreq(kHz);
}

BOOL CTuner_A138::GetFMChannelOkay(DWORD* status)
{
    return CTunerBase::GetFMChannelOkay(status);
}

// A standard outside the table leaves the IF at 38900 kHz and the demodulator as it was.
BOOL CTuner_A139::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    const bool secamL = standard == AnalogVideo_SECAM_L || standard == AnalogVideo_SECAM_L1;
    SetIF(secamL ? kSecamLIF : kIF);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodA139, standard);
}
