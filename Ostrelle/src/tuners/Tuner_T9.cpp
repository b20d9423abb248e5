#include "tuners/Tuner_T9.h"

#include "tuners/TunerModules.h"

CTuner_T9::CTuner_T9(CCustomDataAccess* pAccess) : CTunerBase(pAccess)
{
    SetModule(*FindTunerModuleRow(9));
}

CTuner_T9::~CTuner_T9()
{
    StopScan();
}

CTunerBase* CTuner_T9::Create(CCustomDataAccess* pAccess)
{
    return new CTuner_T9(pAccess);
}

BOOL CTuner_T9::GetFMChannelOkay(DWORD* status)
{
    return CTunerBase::GetFMChannelOkay(status);
}

BOOL CTuner_T9::GetTVChannelOkay(DWORD* status)
{
    return CTunerBase::GetTVChannelOkay(status);
}
