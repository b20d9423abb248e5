// CTuner_L73: tuner model 73: the base tuning.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_L73 : public CTunerBase {
public:
    explicit CTuner_L73(CCustomDataAccess* pAccess);
    ~CTuner_L73() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
};
