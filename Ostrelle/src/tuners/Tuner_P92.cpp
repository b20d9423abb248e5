#include "tuners/Tuner_P92.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModules.h"

CTuner_P92::CTuner_P92(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(92));
}

CTuner_P92::~CTuner_P92()
{
    StopScan();
}

CTunerBase* CTuner_P92::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P92(pAccess);
}

BOOL CTuner_P92::SetFMChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WriteP92FM(m_pAccess, *this, ClampKHz(kHz, GetFMRangeLow(), GetFMRangeHigh()));
}

BOOL CTuner_P92::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, SecamTvWrite(*this, 33900));
}

BOOL CTuner_P92::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P92::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS8, standard);
}
