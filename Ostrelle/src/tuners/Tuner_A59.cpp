#include "tuners/Tuner_A59.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_A59::CTuner_A59(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(59));
}

CTuner_A59::~CTuner_A59()
{
    StopScan();
}

CTunerBase* CTuner_A59::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A59(pAccess);
}

BOOL CTuner_A59::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz + 250.0f);
}

BOOL CTuner_A59::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF2, standard);
}
