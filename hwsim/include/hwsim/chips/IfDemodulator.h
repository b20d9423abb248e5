// An IF demodulator beside a PLL tuner module, linked to that module's PLL chip. Three
// registers (0, 1, 2) behind an auto-incrementing register pointer take single-byte, block
// and longer writes; every read answers the status byte:
//   bits 4..1  the AFC nibble, a signed 4-bit count of steps from the frequency the PLL is
//              tuned to up to the nearest carrier: 0 on the carrier, 1 to 7 the carrier lies
//              above, 15 down to 9 it lies below, 8 no carrier in reach (TV steps 62.5 kHz,
//              FM steps 25 kHz, a step started counts as none)
//   bit 6      a carrier is in reach
//   bits 5, 7  tuned to FM with an FM station in reach
// Register 0 bit 3 puts the demodulator in radio mode: it then reads the PLL's divider as an
// FM frequency and looks for FM stations. A TV carrier is seen only once register 2 was set,
// for the system of the station on air: its sound carrier bits (1..0) 0, 4.5 MHz, for a
// 525-line station, any other for a 625-line one.
#pragma once

#include <optional>

#include "hwsim/bench/RfEnvironment.h"
#include "hwsim/bus/RegisterFileDevice.h"

namespace hwsim {

class PllTuner;

class IfDemodulator : public RegisterFileDevice {
public:
    static constexpr BYTE kAddress = 0x43;       // 0x86 on the bus
    static constexpr BYTE kRadioMode = 0x08;     // register 0
    static constexpr BYTE kCarrier = 0x40;
    static constexpr BYTE kFmStation = 0xA0;     // bits 5 and 7
    static constexpr BYTE kNoCarrier = 8;        // the nibble without a carrier in reach
    static constexpr BYTE kSoundCarrierBits = 0x03;  // register 2

    explicit IfDemodulator(const RfEnvironment& rf, BYTE address7 = kAddress);

    // The PLL chip whose tuning the status follows (the demodulator does not own it).
    void SetPll(const PllTuner* pll);
    BYTE Status() const;

    // The nibble of a carrier `offsetKHz` above the tuned frequency (negative: below).
    static BYTE AfcNibble(long offsetKHz, double stepKHz);

protected:
    BYTE OnTransmit() override;
    void Store(size_t offset, BYTE value) override;

private:
    BYTE StatusLocked() const;
    // Register 2 was set for the station's system.
    bool ServesLocked(const Station& station) const;

    const RfEnvironment& m_rf;
    const PllTuner* m_pll = nullptr;
    bool m_radio = false;
    std::optional<BYTE> m_standard;  // register 2, once set
};

}  // namespace hwsim
