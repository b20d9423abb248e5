// CTuner_A70: tuner model 70: the IF demodulator set for FM after each FM tuning, its FM
// status, its TV status through map D, and table S6.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A70 : public CTunerBase {
public:
    explicit CTuner_A70(CCustomDataAccess* pAccess);
    ~CTuner_A70() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
