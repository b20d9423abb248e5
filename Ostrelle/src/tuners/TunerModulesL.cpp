#include "tuners/TunerModulesL.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"

BOOL CTuner_L72::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz);
}

BOOL CTuner_L72::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF1, standard);
}

BOOL CTuner_L73::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz);
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
