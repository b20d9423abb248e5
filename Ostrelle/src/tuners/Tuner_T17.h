// CTuner_T17: tuner model 17: block table S3 on its IF demodulator.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_T17 : public CTunerBase {
public:
    explicit CTuner_T17(CCustomDataAccess* pAccess);
    ~CTuner_T17() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetVideoStandard(long standard) override;
};
