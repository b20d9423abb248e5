// An IF demodulator beside a PLL tuner module, linked to that module's PLL chip.
#include "hwsim/chips/IfDemodulator.h"

#include <cmath>

#include "hwsim/chips/PllTuner.h"

namespace hwsim {

namespace {

constexpr double kTvStepKHz = 62.5;
constexpr double kFmStepKHz = 25.0;
constexpr int kReachSteps = 7;

}  // namespace

IfDemodulator::IfDemodulator(const RfEnvironment& rf, BYTE address7) : RegisterFileDevice(address7, 3), m_rf(rf) {}

void IfDemodulator::SetPll(const PllTuner* pll) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_pll = pll;
}

BYTE IfDemodulator::AfcNibble(long offsetKHz, double stepKHz) {
    const double steps = std::trunc(static_cast<double>(offsetKHz) / stepKHz);
    if (std::fabs(steps) > kReachSteps) return kNoCarrier;
    return static_cast<BYTE>(static_cast<int>(steps) & 0x0F);
}

BYTE IfDemodulator::Status() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return StatusLocked();
}

BYTE IfDemodulator::OnTransmit() { return StatusLocked(); }

void IfDemodulator::Store(size_t offset, BYTE value) {
    RegisterFileDevice::Store(offset, value);
    if (offset == 0) m_radio = (value & kRadioMode) != 0;
    if (offset == 2) m_standard = value;
}

bool IfDemodulator::ServesLocked(const Station& station) const {
    // Register 2's sound carrier bits: 4.5 MHz is the 525-line system M, the others (5.5, 6.0
    // and 6.5 MHz) the 625-line systems.
    if (!m_standard) return false;
    const bool system525 = (*m_standard & kSoundCarrierBits) == 0;
    return system525 == (station.lines == 525);
}

BYTE IfDemodulator::StatusLocked() const {
    const BYTE none = kNoCarrier << 1;
    if (m_pll == nullptr) return none;
    const bool radio = m_radio;
    const double step = radio ? kFmStepKHz : kTvStepKHz;
    const long reach = static_cast<long>(step * (kReachSteps + 1)) - 1;
    const long tuned = radio ? m_pll->FmKHz() : m_pll->TunedKHz();
    const auto station = radio ? m_rf.FmStationNear(tuned, reach) : m_rf.StationNear(tuned, reach);
    if (!station || tuned == 0) return none;
    if (!radio && !ServesLocked(*station)) return none;
    const BYTE nibble = AfcNibble(station->frequencyKHz - tuned, step);
    return static_cast<BYTE>((nibble << 1) | kCarrier | (radio ? kFmStation : 0));
}

}  // namespace hwsim
