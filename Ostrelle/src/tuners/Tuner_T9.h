// CTuner_T9: tuner model 9: its FM and TV status reads are those of the base.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_T9 : public CTunerBase {
public:
    explicit CTuner_T9(CCustomDataAccess* pAccess);
    ~CTuner_T9() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
};
