// The tuner-module classes of maker A: each the module of its row with operations of its own.
#pragma once

#include "tuners/TunerModules.h"

// CTuner_A59: tuner model 59: tunes 250 kHz above the asked frequency; fixed sequence F2.
class CTuner_A59 : public CTunerModuleClass<CTuner_A59, 59> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A59() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_A62: tuner model 62: its FM operations are those of the base.
class CTuner_A62 : public CTunerModuleClass<CTuner_A62, 62> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A62() override { StopScan(); }

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
};

// CTuner_A63: tuner model 63: tunes 250 kHz above the asked frequency; fixed sequence F3.
class CTuner_A63 : public CTunerModuleClass<CTuner_A63, 63> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A63() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_A67: tuner model 67: tunes 250 kHz above the asked frequency, reads the PLL's lock bit
// as its status (1: locked), and table S4 on its IF demodulator.
class CTuner_A67 : public CTunerModuleClass<CTuner_A67, 67> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A67() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_A70: tuner model 70: the IF demodulator set for FM after each FM tuning, its FM
// status, its TV status through map D, and table S6.
class CTuner_A70 : public CTunerModuleClass<CTuner_A70, 70> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A70() override { StopScan(); }

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_A132: tuner model 132: its TV status through map C; block table S10.
class CTuner_A132 : public CTunerModuleClass<CTuner_A132, 132> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A132() override { StopScan(); }

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_A138: tuner model 138: its FM operations are those of the base.
class CTuner_A138 : public CTunerModuleClass<CTuner_A138, 138> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A138() override { StopScan(); }

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
};

// CTuner_A139: tuner model 139, whose standard sets both its IF demodulator's registers and its
// own IF (33900 kHz for SECAM_L and SECAM_L1, else 38900 kHz), so the next tuning uses it.
class CTuner_A139 : public CTunerModuleClass<CTuner_A139, 139> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_A139() override { StopScan(); }

    BOOL SetVideoStandard(long standard) override;
};
