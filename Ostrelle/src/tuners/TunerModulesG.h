// The tuner-module classes of maker G: each the module of its row with operations of its own.
#pragma once

#include "tuners/TunerModules.h"

// CTuner_G12: tuner model 12: the SECAM L' IF of 33900 kHz for SECAM_L1, a clamped tuning, and
// table S1 on its second demodulator at 0x56.
class CTuner_G12 : public CTunerModuleClass<CTuner_G12, 12> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_G12() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;

    long GetLPrimeIF() const { return m_lLPrimeIF; }

private:
    long m_lLPrimeIF = 33900;  // the IF for SECAM_L1
};

// CTuner_G13: tuner model 13: the SECAM L' IF of 33950 kHz for SECAM_L1, a clamped tuning, and
// table S2 on its IF demodulator.
class CTuner_G13 : public CTunerModuleClass<CTuner_G13, 13> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_G13() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;

    long GetLPrimeIF() const { return m_lLPrimeIF; }

private:
    long m_lLPrimeIF = 33950;  // the IF for SECAM_L1
};
