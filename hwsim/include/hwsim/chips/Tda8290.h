// The TDA8290 analog IF demodulator (0x96 on the bus): a file of byte registers behind an 8-bit
// register pointer. Register 0x21 holds the I2C gate (bit 6 open) that passes the bus to the
// TDA8275A tuner behind it; register 0x01 holds the standard code, which sets the IF. The
// status registers answer from the picture the tuner delivers: a station within the capture
// window of the tuned frequency gives lock flag 0x1B bit 7, a level of 0x40 in 0x1A and an AGC
// of 0x40 in 0x1D; without one the flag is clear, the level 0x05 and the AGC 0x7F.
#pragma once

#include <atomic>

#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/bench/RfEnvironment.h"

namespace hwsim {

class Tda8275a;

class Tda8290 : public RegisterFileDevice {
public:
    static constexpr BYTE kAddress7 = 0x4B;
    static constexpr BYTE kGate = 0x21;
    static constexpr BYTE kGateOpen = 0x40;
    static constexpr BYTE kStandard = 0x01;
    static constexpr BYTE kLevel = 0x1A;
    static constexpr BYTE kFlags = 0x1B;
    static constexpr BYTE kAgc = 0x1D;

    explicit Tda8290(const RfEnvironment& rf, long windowKHz = 500);

    // The tuner whose picture the status registers report (not owned).
    void SetTuner(const Tda8275a* tuner) { m_tuner.store(tuner); }

    bool GateOpen() const { return m_gateOpen.load(); }
    // Times the gate went from closed to open.
    int GateOpenings() const { return m_gateOpenings.load(); }
    // Register 0x01 without the fast-tune bit 7.
    BYTE StandardCode() const { return m_standardCode.load(); }
    // The picture IF the standard code selects, in Hz (0 for a code the chip does not know).
    long IfHz() const;
    // The picture carrier the tuner's oscillator and this IF select, in kHz (0 before tuning).
    long TunedKHz() const;
    // A station lies within the capture window of the tuned frequency.
    bool Locked() const;

protected:
    bool OnSelect(bool read) override;
    void Store(size_t offset, BYTE value) override;

private:
    const RfEnvironment& m_rf;
    const long m_windowKHz;
    std::atomic<const Tda8275a*> m_tuner{nullptr};
    std::atomic<bool> m_gateOpen{false};
    std::atomic<int> m_gateOpenings{0};
    std::atomic<BYTE> m_standardCode{0};
};

}  // namespace hwsim
