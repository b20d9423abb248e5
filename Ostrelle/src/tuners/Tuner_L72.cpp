#include "tuners/Tuner_L72.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_L72::CTuner_L72(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(72));
}

CTuner_L72::~CTuner_L72()
{
    StopScan();
}

CTunerBase* CTuner_L72::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_L72(pAccess);
}

BOOL CTuner_L72::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz);
}

BOOL CTuner_L72::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF1, standard);
}
