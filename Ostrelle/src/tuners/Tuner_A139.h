// CTuner_A139: tuner model 139, whose standard sets both its IF demodulator's registers and its
// own IF (33900 kHz for SECAM_L and SECAM_L1, else 38900 kHz), so the next tuning uses it.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A139 : public CTunerBase {
public:
    explicit CTuner_A139(CCustomDataAccess* pAccess);
    ~CTuner_A139() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetVideoStandard(long standard) override;
};
