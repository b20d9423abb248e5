// CTuner_A138: tuner model 138: its FM operations are those of the base.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A138 : public CTunerBase {
public:
    explicit CTuner_A138(CCustomDataAccess* pAccess);
    ~CTuner_A138() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
};
