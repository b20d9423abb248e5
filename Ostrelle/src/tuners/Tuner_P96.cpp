#include "tuners/Tuner_P96.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModules.h"

CTuner_P96::CTuner_P96(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(96));
}

CTuner_P96::~CTuner_P96()
{
    StopScan();
}

CTunerBase* CTuner_P96::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P96(pAccess);
}

BOOL CTuner_P96::SetTVChannelFreq(float kHz)
{
    PllTvWrite write = ModuleTvWrite(*this);
    write.aux = 0x50;
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, write);
}

BOOL CTuner_P96::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodReadAddress, kAfcMapA, DemodTrace::Summary, status);
}

BOOL CTuner_P96::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodF5, standard);
}
