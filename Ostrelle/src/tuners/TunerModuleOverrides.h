// The module classes with an operation that no record of the module table can say: each is the
// module of its row and record (CTunerModule) and replaces only that operation, for the
// reason its comment gives. The other named module classes are in TunerModuleRows.h, whose
// table gives every one of them its row.
#pragma once

#include <atomic>

#include "tuners/PllTunerModule.h"
#include "tuners/TDA8275A.h"
#include "tuners/TunerI2CBridge.h"

// CTuner_P92: tuner model 92. Its FM tuning is its own: the module prepared with two writes, the
// demodulator in radio mode, then a divider in 50 kHz steps over a 10700 kHz IF.
class CTuner_P92 final : public CTunerModule<92> {
public:
    using CTunerModule::CTunerModule;

    BOOL SetFMChannelFreq(float kHz) override;
};

// CTuner_P95: tuner model 95, the TDA8275A tuner behind the TDA8290 IF demodulator's I2C gate,
// a chip pair with a driver of its own. Tuning runs the two chips' sequence with the
// demodulator's current standard and then writes its register set; the lock test is the card's
// video-decoder lock.
class CTuner_P95 final : public CTunerModule<95> {
public:
    explicit CTuner_P95(CCustomDataAccess* pAccess);

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    CTDA8275A& GetTDA8275A() { return m_tda8275a; }

private:
    CTunerI2CBridge m_bridge;
    CTDA8275A m_tda8275a;
};

// CTuner_P97: tuner model 97. Its lock test reads the card's video decoder, whose address the
// card filter sets on the object (the USB card's decoder sits elsewhere), not the PLL.
class CTuner_P97 final : public CTunerModule<97> {
public:
    using CTunerModule::CTunerModule;

    BOOL IsTVChannelLocked() override;

    // The video decoder the lock test reads (the USB card filter probes for it).
    void SetDemodAddress(long address) { m_lDemodAddress = address; }
    long GetDemodAddress() const { return m_lDemodAddress; }

private:
    std::atomic<long> m_lDemodAddress{0x42};
};

// CTuner_A139: tuner model 139, the one module whose standard moves its IF: 33900 kHz for
// SECAM_L and SECAM_L1, else the IF of its row, so the next tuning uses it.
class CTuner_A139 final : public CTunerModule<139> {
public:
    using CTunerModule::CTunerModule;

    BOOL SetVideoStandard(long standard) override;
};

// CTuner_O100: tuner model 100, a Japanese-band module with a mode chip at 0xB6 beside its IF
// demodulator, the one module with such a chip. The card filter chooses the mode; every
// standard change writes the demodulator's fixed registers and applies the mode again.
class CTuner_O100 final : public CTunerModule<100> {
public:
    using CTunerModule::CTunerModule;

    BOOL SetVideoStandard(long standard) override;

    // Stores the mode and applies it.
    BOOL SetMode(long mode);
    // Writes the mode's byte to register 0 of the mode chip and 0x04 to register 1.
    BOOL ApplyMode(long mode);
    long GetMode() const { return m_lMode; }

private:
    std::atomic<long> m_lMode{2};
};
