// CTuner_P95: tuner model 95, the TDA8275A tuner behind the TDA8290 IF demodulator's I2C gate.
// Tuning runs the two chips' sequence with the demodulator's current standard and then writes
// its register set; the lock test is the card's video-decoder lock.
#pragma once

#include "tuners/TDA8275A.h"
#include "tuners/TunerBase.h"
#include "tuners/TunerI2CBridge.h"

class CTuner_P95 : public CTunerBase {
public:
    explicit CTuner_P95(CCustomDataAccess* pAccess);
    ~CTuner_P95() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    CTDA8275A& GetTDA8275A() { return m_tda8275a; }

private:
    CTunerI2CBridge m_bridge;
    CTDA8275A m_tda8275a;
};
