// CTNJ7752JFF_MK5: tuner model 68: the IF demodulator set for FM after each FM tuning, its FM
// status (traced bit by bit), its TV status through map B, and table S5.
#pragma once

#include "tuners/TunerBase.h"

class CTNJ7752JFF_MK5 : public CTunerBase {
public:
    explicit CTNJ7752JFF_MK5(CCustomDataAccess* pAccess);
    ~CTNJ7752JFF_MK5() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
