// The TDA8290 analog IF demodulator (0x96 on the bus).
#include "hwsim/chips/Tda8290.h"

#include "hwsim/chips/Tda8275a.h"

namespace hwsim {

namespace {

struct CodeIf {
    BYTE code;
    long ifHz;
};

constexpr CodeIf kIfs[] = {{0x01, 5750000}, {0x02, 6750000}, {0x04, 7750000}, {0x08, 7750000},
                           {0x10, 7750000}, {0x20, 7750000}, {0x40, 1750000}};

}  // namespace

Tda8290::Tda8290(const RfEnvironment& rf, long windowKHz)
    : RegisterFileDevice(kAddress7, 0x40), m_rf(rf), m_windowKHz(windowKHz) {}

long Tda8290::IfHz() const {
    const BYTE code = m_standardCode.load();
    for (const CodeIf& row : kIfs)
        if (row.code == code) return row.ifHz;
    return 0;
}

long Tda8290::TunedKHz() const {
    const Tda8275a* tuner = m_tuner.load();
    if (tuner == nullptr) return 0;
    const long long oscillator = tuner->OscillatorHz();
    if (oscillator == 0) return 0;
    return static_cast<long>((oscillator - IfHz()) / 1000);
}

bool Tda8290::Locked() const {
    const long tuned = TunedKHz();
    return tuned > 0 && m_rf.StationNear(tuned, m_windowKHz).has_value();
}

bool Tda8290::OnSelect(bool read) {
    if (read) {
        const bool locked = Locked();
        Registers()[kLevel] = locked ? 0x40 : 0x05;
        Registers()[kFlags] = locked ? 0x80 : 0x00;
        Registers()[kAgc] = locked ? 0x40 : 0x7F;
    }
    return RegisterFileDevice::OnSelect(read);
}

void Tda8290::Store(size_t offset, BYTE value) {
    RegisterFileDevice::Store(offset, value);
    if (offset == kGate) {
        const bool open = (value & kGateOpen) != 0;
        if (open && !m_gateOpen.load()) ++m_gateOpenings;
        m_gateOpen.store(open);
    } else if (offset == kStandard) {
        m_standardCode.store(static_cast<BYTE>(value & 0x7F));
    }
}

}  // namespace hwsim
