#include "tuners/Tuner_A70.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_A70::CTuner_A70(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(70));
}

CTuner_A70::~CTuner_A70()
{
    StopScan();
}

CTunerBase* CTuner_A70::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A70(pAccess);
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
