#include "tuners/Tuner_P94.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_P94::CTuner_P94(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(94));
}

CTuner_P94::~CTuner_P94()
{
    StopScan();
}

CTunerBase* CTuner_P94::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P94(pAccess);
}

BOOL CTuner_P94::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P94::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF4, standard);
}
