// CTuner_L72: tuner model 72: the base tuning; fixed sequence F1.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_L72 : public CTunerBase {
public:
    explicit CTuner_L72(CCustomDataAccess* pAccess);
    ~CTuner_L72() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;
};
