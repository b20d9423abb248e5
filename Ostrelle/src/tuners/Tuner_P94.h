// CTuner_P94: tuner model 94: its TV status through map A; fixed sequence F4.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_P94 : public CTunerBase {
public:
    explicit CTuner_P94(CCustomDataAccess* pAccess);
    ~CTuner_P94() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
