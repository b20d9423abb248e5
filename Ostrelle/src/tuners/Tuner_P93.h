// CTuner_P93: tuner model 93: a clamped six-byte TV tuning, its TV status through map B, table S9.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_P93 : public CTunerBase {
public:
    explicit CTuner_P93(CCustomDataAccess* pAccess);
    ~CTuner_P93() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
