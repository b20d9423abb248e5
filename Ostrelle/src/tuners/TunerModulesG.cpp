#include "tuners/TunerModulesG.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"

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
