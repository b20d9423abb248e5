// CTuner_P92: tuner model 92: its own FM tuning (the module prepared, the demodulator in radio
// mode, 50 kHz steps), a clamped six-byte TV tuning with the 33900 kHz IF for SECAM_L1, its TV
// status through map A, and table S8.
#pragma once

#include "tuners/TunerBase.h"

class CTuner_P92 : public CTunerBase {
public:
    explicit CTuner_P92(CCustomDataAccess* pAccess);
    ~CTuner_P92() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
