// An Xceive XC2028/XC3028 silicon tuner: it answers at 0xC2/0xC3 (a board may fit a second one
// at 0xC8/0xC9), runs firmware that the host loads over I2C, and is tuned by a 16-bit word in
// 15.625 kHz units.
//
// Reset input: the board wires it (on the SAA713x boards a GPIO line, WireResetToGpio). While
// reset is asserted the chip acknowledges nothing; asserting it clears the firmware and the
// tuning. The chip records every pulse on the platform clock.
//
// Every write is d[0] followed by bytes.
// - d[0] = 0x00 is a register write: the next byte is the register's low byte, then its value.
//   00 02 00 00 (00) is the mode write, 00 00 N-high N-low (00) sets the frequency word, and a
//   bare 00 02 selects register 0x0002 for the following read, which answers high byte first:
//   1 when the chip is tunable and a station lies at the tuned frequency, else 0.
// - Any other d[0] is a chunk of a firmware data record: d[0] and the next payload bytes of
//   that record, however the host cut it. The records describe themselves (list identity,
//   sequence number, last-record flag, length, check byte; see the host's firmware generator):
//   the chip puts each record together from its chunks and checks it. A base list must follow
//   a reset pulse (a fresh chip that no pulse has reached refuses one too), a standard patch must follow the complete base of its family (a sound-IF patch
//   fits either base); the chip is tunable after a complete base and then a complete patch. A torn, reordered, foreign or wrongly chunked
//   record leaves the chip untunable until the next reset (LoadError says why).
// - A write of one byte alone carries nothing the chip acts on and is ignored.
// The chip knows the standards each patch serves (ServesStandard), as the chip maker's
// firmware table gives them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hwsim/bench/RfEnvironment.h"
#include "hwsim/bus/I2CDevice.h"

namespace hwsim {

class Saa713x;

class XceiveTuner : public I2CDevice {
public:
    static constexpr BYTE kAddress7 = 0x61;        // 0xC2 on the bus
    static constexpr BYTE kSecondAddress7 = 0x64;  // 0xC8 on the bus
    static constexpr double kWordKHz = 15.625;
    static constexpr long kWindowKHz = 500;        // a station this close to the tuned frequency locks
    static constexpr WORD kFrequencyRegister = 0x0000;
    static constexpr WORD kLockRegister = 0x0002;

    struct ResetPulse {
        ULONGLONG assertedAt = 0;  // platform clock, ms
        ULONGLONG releasedAt = 0;  // 0 while still held
        ULONGLONG HeldMs() const { return releasedAt >= assertedAt ? releasedAt - assertedAt : 0; }
    };

    explicit XceiveTuner(const RfEnvironment& rf, BYTE address7 = kAddress7);
    ~XceiveTuner() override;

    // ---- reset input ----
    void SetReset(bool asserted);
    // In reset while the host drives `line` of the bridge low; released when it drives it high
    // or stops driving it.
    void WireResetToGpio(Saa713x& bridge, DWORD line);
    bool InReset() const;
    std::vector<ResetPulse> ResetPulses() const;

    // ---- firmware ----
    bool Tunable() const;
    // The names of the complete base and patch held; empty when none.
    std::string Base() const;
    std::string Patch() const;
    // Why the chip refused the load since the last reset; empty when it refused nothing.
    std::string LoadError() const;
    // Data records accepted since the last reset.
    size_t RecordsAccepted() const;
    // Tunable, with a patch that serves `standard` (one AnalogVideoStandard bit).
    bool ServesStandard(long standard) const;

    // ---- tuning ----
    WORD FrequencyWord() const;
    long TunedKHz() const;  // 0 before the first frequency write
    int ModeWrites() const;
    bool Locked() const;

protected:
    bool OnSelect(bool read) override;
    bool OnReceive(BYTE value) override;
    BYTE OnTransmit() override;
    void OnEnd(bool stop) override;

private:
    class GpioReset;

    void ProcessWrite();
    void RegisterWrite();
    void FirmwareChunk();
    void CompleteRecord();
    void Refuse(const std::string& reason);
    void ClearLocked();
    bool TunableLocked() const;
    bool LockedLocked() const;
    long TunedKHzLocked() const;

    const RfEnvironment& m_rf;
    std::unique_ptr<GpioReset> m_gpioReset;

    bool m_inReset = false;
    bool m_pulsed = false;  // a pulse ended since the last base began
    std::vector<ResetPulse> m_pulses;

    bool m_reading = false;
    std::vector<BYTE> m_write;
    WORD m_readRegister = kLockRegister;
    int m_readIndex = 0;

    std::vector<BYTE> m_record;  // the record being put together: d[0] and payload
    int m_base = -1;             // list ids of the complete base and patch
    int m_patch = -1;
    int m_loading = -1;          // the list whose records are arriving
    int m_nextSequence = 0;
    bool m_broken = false;
    std::string m_error;
    size_t m_accepted = 0;

    bool m_tuned = false;
    WORD m_word = 0;
    int m_modeWrites = 0;
};

}  // namespace hwsim
