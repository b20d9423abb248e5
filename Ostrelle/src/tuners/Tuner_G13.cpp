#include "tuners/Tuner_G13.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModules.h"

CTuner_G13::CTuner_G13(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(13));
}

CTuner_G13::~CTuner_G13()
{
    StopScan();
}

CTunerBase* CTuner_G13::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_G13(pAccess);
}

BOOL CTuner_G13::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, LPrimeTvWrite(*this, m_lLPrimeIF));
}

BOOL CTuner_G13::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS2, standard);
}
