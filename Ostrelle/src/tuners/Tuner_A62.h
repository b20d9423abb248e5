// CTuner_A62: tuner model 62: its FM operations are those of the base.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A62 : public CTunerBase {
public:
    explicit CTuner_A62(CCustomDataAccess* pAccess);
    ~CTuner_A62() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
};
