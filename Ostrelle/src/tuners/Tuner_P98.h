// CTuner_P98: tuner model 98: the IF demodulator set for FM after each FM tuning, its FM
// status, its TV status through map A, fixed sequence F4.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_P98 : public CTunerBase {
public:
    explicit CTuner_P98(CCustomDataAccess* pAccess);
    ~CTuner_P98() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
