#include "tuners/Tuner_A62.h"

#include "tuners/TunerModules.h"

CTuner_A62::CTuner_A62(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(62));
}

CTuner_A62::~CTuner_A62()
{
    StopScan();
}

CTunerBase* CTuner_A62::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_A62(pAccess);
}

BOOL CTuner_A62::SetFMChannelFreq(float kHz)
{
    return CTunerBase::SetFMChannelFreq(kHz);
}

BOOL CTuner_A62::GetFMChannelOkay(DWORD* status)
{
    return CTunerBase::GetFMChannelOkay(status);
}
