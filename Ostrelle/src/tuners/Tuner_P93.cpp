#include "tuners/Tuner_P93.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModules.h"

CTuner_P93::CTuner_P93(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(93));
}

CTuner_P93::~CTuner_P93()
{
    StopScan();
}

CTunerBase* CTuner_P93::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P93(pAccess);
}

BOOL CTuner_P93::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, SecamTvWrite(*this, 0));
}

BOOL CTuner_P93::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapB, DemodTrace::Summary, status);
}

BOOL CTuner_P93::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS9, standard);
}
