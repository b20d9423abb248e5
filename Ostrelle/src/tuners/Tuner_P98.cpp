#include "tuners/Tuner_P98.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_P98::CTuner_P98(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(98));
}

CTuner_P98::~CTuner_P98()
{
    StopScan();
}

CTunerBase* CTuner_P98::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P98(pAccess);
}

BOOL CTuner_P98::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    if (!CTunerBase::SetFMChannelFreq(kHz)) return FALSE;
    return CIfDemodulator(m_pAccess).WriteTable(kDemodFM1, GetCurrentStandard());
}

BOOL CTuner_P98::GetFMChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadFMStatus(FALSE, kFMCentre1, status);
}

BOOL CTuner_P98::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P98::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF4, standard);
}
