#include "tuners/Tuner_A132.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_A132::CTuner_A132(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(132));
}

CTuner_A132::~CTuner_A132()
{
    StopScan();
}

CTunerBase* CTuner_A132::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A132(pAccess);
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
