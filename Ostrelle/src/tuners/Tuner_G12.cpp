#include "tuners/Tuner_G12.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModules.h"

CTuner_G12::CTuner_G12(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(12));
}

CTuner_G12::~CTuner_G12()
{
    StopScan();
}

CTunerBase* CTuner_G12::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_G12(pAccess);
}

BOOL CTuner_G12::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, LPrimeTvWrite(*this, m_lLPrimeIF));
}

BOOL CTuner_G12::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS1, standard);
}
