// CTuner_A63: tuner model 63: tunes 250 kHz above the asked frequency; fixed sequence F3.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A63 : public CTunerBase {
public:
    explicit CTuner_A63(CCustomDataAccess* pAccess);
    ~CTuner_A63() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;
};
