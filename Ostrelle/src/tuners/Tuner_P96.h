// CTuner_P96: tuner model 96: a clamped six-byte TV tuning ending in 0x50, its TV status through
// map A, fixed sequence F5.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_P96 : public CTunerBase {
public:
    explicit CTuner_P96(CCustomDataAccess* pAccess);
    ~CTuner_P96() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
