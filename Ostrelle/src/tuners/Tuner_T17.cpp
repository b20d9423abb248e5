#include "tuners/Tuner_T17.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_T17::CTuner_T17(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(17));
}

CTuner_T17::~CTuner_T17()
{
    StopScan();
}

CTunerBase* CTuner_T17::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_T17(pAccess);
}

BOOL CTuner_T17::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS3, standard);
}
