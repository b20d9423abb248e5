// CTuner_O100: tuner model 100, a Japanese-band module with a mode chip at 0xB6 beside its IF
// demodulator. The card filter chooses the mode; every standard change writes the demodulator's
// fixed registers and applies the mode again. Its TV status reads the demodulator through map B.
#pragma once

#include <atomic>

#include "tuners/TunerModules.h"

class CTuner_O100 : public CTunerModuleClass<CTuner_O100, 100> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_O100() override { StopScan(); }

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    // Stores the mode and applies it.
    BOOL SetMode(long mode);
    // Writes the mode's byte to register 0 of the mode chip and 0x04 to register 1.
    BOOL ApplyMode(long mode);
    long GetMode() const { return m_lMode; }

private:
    std::atomic<long> m_lMode{2};
};
