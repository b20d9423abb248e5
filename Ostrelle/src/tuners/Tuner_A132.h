// CTuner_A132: tuner model 132: its TV status through map C; block table S10.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_A132 : public CTunerBase {
public:
    explicit CTuner_A132(CCustomDataAccess* pAccess);
    ~CTuner_A132() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
