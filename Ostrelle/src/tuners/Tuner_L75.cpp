#include "tuners/Tuner_L75.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_L75::CTuner_L75(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(75));
}

CTuner_L75::~CTuner_L75()
{
    StopScan();
}

CTunerBase* CTuner_L75::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_L75(pAccess);
}

BOOL CTuner_L75::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapC, DemodTrace::Steps, status);
}

BOOL CTuner_L75::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS7, standard);
}
