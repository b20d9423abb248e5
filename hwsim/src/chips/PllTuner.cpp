// A PLL tuner module (synthesiser with an I2C programming port).
#include "hwsim/chips/PllTuner.h"

#include "hwsim/chips/PllAfc.h"

namespace hwsim {

PllTuner::PllTuner(const RfEnvironment& rf, const Options& options)
    : I2CDevice(options.address7), m_rf(rf), m_options(options) {}

bool PllTuner::OnSelect(bool read) {
    // The sixth byte holds for the write that carries it: a write without one leaves none.
    if (!read) m_aux.reset();
    m_next = Next::Any;
    m_sawDivider = false;
    m_sawControl = false;
    return true;
}

bool PllTuner::OnReceive(BYTE value) {
    switch (m_next) {
    case Next::Any:
        if ((value & 0x80) && !m_sawControl) {
            m_control = value;
            m_sawControl = true;
            m_next = Next::Band;
            return true;
        }
        if (!(value & 0x80) && !m_sawDivider) {
            m_dividerHigh = value;
            m_sawDivider = true;
            m_next = Next::DividerLow;
            return true;
        }
        return false;
    case Next::DividerLow:
        m_divider = static_cast<WORD>((m_dividerHigh << 8) | value);
        m_next = m_sawControl ? Next::Done : Next::Any;
        return true;
    case Next::Band:
        m_band = value;
        m_fm = m_options.fmControl != 0 && m_control == m_options.fmControl && m_band == m_options.fmBand;
        m_next = m_sawDivider ? Next::Aux : Next::Any;
        return true;
    case Next::Aux:
        m_aux = value;
        m_next = Next::Done;
        return true;
    case Next::Done:
        break;
    }
    return false;
}

BYTE PllTuner::OnTransmit() { return StatusLocked(); }

long PllTuner::TunedKHzLocked() const {
    if (m_divider == 0) return 0;
    return static_cast<long>(static_cast<long long>(m_divider) * m_options.stepHz / 1000) - m_options.ifKHz;
}

long PllTuner::FmKHzLocked() const {
    if (m_divider == 0) return 0;
    return static_cast<long>(static_cast<long long>(m_divider) * m_options.fmStepHz / 1000) - m_options.fmIfKHz;
}

BYTE PllTuner::StatusLocked() const {
    if (m_divider == 0) return 0;
    if (m_fm) {
        if (!m_rf.FmStationNear(FmKHzLocked(), m_options.fmWindowKHz)) return 0;
        return kLockBit | (m_options.fmLockCode & 0x07);
    }
    const auto station = m_rf.StationNear(TunedKHzLocked(), m_options.windowKHz);
    if (!station) return 0;
    // PllAfcCode counts from far above (0) to far below (4); the module's codes go the other way.
    return kLockBit | m_options.afcCodes[4 - PllAfcCode(TunedKHzLocked() - station->frequencyKHz)];
}

WORD PllTuner::Divider() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_divider;
}

BYTE PllTuner::ControlByte() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_control;
}

BYTE PllTuner::BandByte() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_band;
}

std::optional<BYTE> PllTuner::AuxByte() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_aux;
}

long PllTuner::TunedKHz() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return TunedKHzLocked();
}

bool PllTuner::FmMode() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_fm;
}

long PllTuner::FmKHz() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return FmKHzLocked();
}

bool PllTuner::Locked() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return !m_fm && (StatusLocked() & kLockBit) != 0;
}

std::optional<Station> PllTuner::Picture() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    if (m_fm || m_divider == 0) return std::nullopt;
    return m_rf.StationNear(TunedKHzLocked(), m_options.windowKHz);
}

BYTE PllTuner::Status() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return StatusLocked();
}

}  // namespace hwsim
