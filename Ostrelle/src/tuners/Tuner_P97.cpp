#include "tuners/Tuner_P97.h"

#include "graph/Thread.h"
#include "tuners/IfDemodulator.h"
#include "tuners/PllTuning.h"
#include "tuners/TunerModules.h"

CTuner_P97::CTuner_P97(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(97));
}

CTuner_P97::~CTuner_P97()
{
    StopScan();
}

CTunerBase* CTuner_P97::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_P97(pAccess);
}

BOOL CTuner_P97::IsTVChannelLocked()
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadDecoderLock(static_cast<BYTE>(m_lDemodAddress.load()));
}

BOOL CTuner_P97::SetTVChannelFreq(float kHz)
{
    CScopedLock lock(&m_csBus);
    return WritePllTvClamped(m_pAccess, *this, kHz, ModuleTvWrite(*this));
}

BOOL CTuner_P97::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).ReadAfc(kDemodAddress, kAfcMapC, DemodTrace::Steps, status);
}

BOOL CTuner_P97::SetVideoStandard(long standard)
{
    CScopedLock lock(&m_csBus);
    return CIfDemodulator(m_pAccess).WriteTable(kDemodS9, standard);
}
