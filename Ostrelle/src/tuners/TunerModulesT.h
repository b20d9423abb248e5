// The tuner-module classes of maker T: each the module of its row with operations of its own.
#pragma once

#include "tuners/TunerModules.h"

// CTuner_T9: tuner model 9: its FM and TV status reads are those of the base.
class CTuner_T9 : public CTunerModuleClass<CTuner_T9, 9> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_T9() override { StopScan(); }

    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
};

// CTuner_T17: tuner model 17: block table S3 on its IF demodulator.
class CTuner_T17 : public CTunerModuleClass<CTuner_T17, 17> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_T17() override { StopScan(); }

    BOOL SetVideoStandard(long standard) override;
};
