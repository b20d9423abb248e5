// The tuner-module classes of maker L: each the module of its row with operations of its own.
#pragma once

#include "tuners/TunerModules.h"

// CTuner_L72: tuner model 72: the base tuning; fixed sequence F1.
class CTuner_L72 : public CTunerModuleClass<CTuner_L72, 72> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_L72() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_L73: tuner model 73: the base tuning.
class CTuner_L73 : public CTunerModuleClass<CTuner_L73, 73> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_L73() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
};

// CTuner_L75: tuner model 75: its TV status through map C; table S7.
class CTuner_L75 : public CTunerModuleClass<CTuner_L75, 75> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_L75() override { StopScan(); }

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
