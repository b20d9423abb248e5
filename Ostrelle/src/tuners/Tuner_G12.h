// CTuner_G12: tuner model 12: the SECAM L' IF of 33900 kHz for SECAM_L1, a clamped tuning, and
// table S1 on its second demodulator at 0x56.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_G12 : public CTunerBase {
public:
    explicit CTuner_G12(CCustomDataAccess* pAccess);
    ~CTuner_G12() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;

    long GetLPrimeIF() const { return m_lLPrimeIF; }

private:
    long m_lLPrimeIF = 33900;  // the IF for SECAM_L1
};
