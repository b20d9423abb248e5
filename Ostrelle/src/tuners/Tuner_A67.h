// CTuner_A67: tuner model 67: tunes 250 kHz above the asked frequency, reads the PLL's lock bit
// as its status (1: locked), and table S4 on its IF demodulator.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A67 : public CTunerBase {
public:
    explicit CTuner_A67(CCustomDataAccess* pAccess);
    ~CTuner_A67() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
