#include "tuners/Tuner_L73.h"

#include "tuners/TunerModules.h"

CTuner_L73::CTuner_L73(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(73));
}

CTuner_L73::~CTuner_L73()
{
    StopScan();
}

CTunerBase* CTuner_L73::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_L73(pAccess);
}

BOOL CTuner_L73::SetTVChannelFreq(float kHz)
{
    return CTunerBase::SetTVChannelFreq(kHz);
}
