#include "tuners/TunerModulesT.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"

BOOL CTuner_T9::GetFMChannelOkay(DWORD* status)
{
    return CTunerBase::GetFMChannelOkay(status);
}

BOOL CTuner_T9::GetTVChannelOkay(DWORD* status)
{
    return CTunerBase::GetTVChannelOkay(status);
}

BOOL CTuner_T17::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS3, standard);
}
