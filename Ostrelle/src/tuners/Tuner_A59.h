// CTuner_A59: tuner model 59: tunes 250 kHz above the asked frequency; fixed sequence F2.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A59 : public CTunerBase {
public:
    explicit CTuner_A59(CCustomDataAccess* pAccess);
    ~CTuner_A59() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;
};
