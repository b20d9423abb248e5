// CTuner_L75: tuner model 75: its TV status through map C; table S7.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_L75 : public CTunerBase {
public:
    explicit CTuner_L75(CCustomDataAccess* pAccess);
    ~CTuner_L75() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
