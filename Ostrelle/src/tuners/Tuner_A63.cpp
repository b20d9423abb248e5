#include "tuners/Tuner_A63.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/TunerModules.h"

CTuner_A63::CTuner_A63(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(63));
}

CTuner_A63::~CTuner_A63()
{
    StopScan();
}

CTunerBase* CTuner_A63::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A63(pAccess);
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
