// The TDA8275A silicon tuner (0xC2 on the bus), fitted behind the TDA8290's I2C gate.
#include "hwsim/chips/Tda8275a.h"

#include "hwsim/chips/Tda8290.h"

namespace hwsim {

Tda8275a::Tda8275a(const Tda8290& gate) : RegisterFileDevice(kAddress7, 0x100), m_gate(gate) {}

bool Tda8275a::OnSelect(bool read) {
    if (!m_gate.GateOpen()) return false;
    return RegisterFileDevice::OnSelect(read);
}

unsigned Tda8275a::Divider() const {
    return (static_cast<unsigned>(Peek(0x00)) << 6) | (Peek(0x10) >> 2);
}

long long Tda8275a::OscillatorHz() const {
    const unsigned n = Divider();
    const unsigned code = (Peek(0x40) >> 5) & 0x07;
    const unsigned divider = code <= 3 ? 1u << code : 16u;
    return static_cast<long long>(n) * 16000000LL / (64LL * divider);
}

}  // namespace hwsim
