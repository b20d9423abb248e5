// CTuner_G13: tuner model 13: the SECAM L' IF of 33950 kHz for SECAM_L1, a clamped tuning, and
// table S2 on its IF demodulator.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_G13 : public CTunerBase {
public:
    explicit CTuner_G13(CCustomDataAccess* pAccess);
    ~CTuner_G13() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;

    long GetLPrimeIF() const { return m_lLPrimeIF; }

private:
    long m_lLPrimeIF = 33950;  // the IF for SECAM_L1
};
