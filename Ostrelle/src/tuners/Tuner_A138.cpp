#include "tuners/Tuner_A138.h"

#include "tuners/TunerModules.h"

CTuner_A138::CTuner_A138(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(138));
}

CTuner_A138::~CTuner_A138()
{
    StopScan();
}

CTunerBase* CTuner_A138::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A138(pAccess);
}

BOOL CTuner_A138::SetFMChannelFreq(float kHz)
{
    return CTunerBase::SetFMChannelFreq(kHz);
}

BOOL CTuner_A138::GetFMChannelOkay(DWORD* status)
{
    return CTunerBase::GetFMChannelOkay(status);
}
