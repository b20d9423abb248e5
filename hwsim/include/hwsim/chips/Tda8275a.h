// The TDA8275A silicon tuner (0xC2 on the bus), fitted behind the TDA8290's I2C gate: it
// answers only while the gate is open, so a driver must open the gate before each sequence.
// Its registers sit at sub-addresses 0x00 to 0xC0 in steps of 0x10; the oscillator frequency
// is recomputed from the divider bytes (0x00, 0x10) and the post-divider code of the band
// switch byte (0x40, bits 5-7): N * 16 MHz / (64 * divider).
#pragma once

#include "hwsim/bus/RegisterFileDevice.h"

namespace hwsim {

class Tda8290;

class Tda8275a : public RegisterFileDevice {
public:
    static constexpr BYTE kAddress7 = 0x61;

    explicit Tda8275a(const Tda8290& gate);

    // Register at a sub-address, as last written.
    BYTE Register(BYTE subAddress) const { return Peek(subAddress); }
    // The divider N of the divider bytes.
    unsigned Divider() const;
    // The oscillator frequency in Hz (0 before a divider was written).
    long long OscillatorHz() const;

protected:
    bool OnSelect(bool read) override;

private:
    const Tda8290& m_gate;
};

}  // namespace hwsim
