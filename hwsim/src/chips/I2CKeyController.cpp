#include "hwsim/chips/I2CKeyController.h"

namespace hwsim {

I2CKeyController::I2CKeyController(const I2CKeyWiring& wiring)
    : RegisterFileDevice(wiring.address7, kRegisters), m_wiring(wiring) {}

void I2CKeyController::PressKey(BYTE code) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_queue.push_back(code);
    PresentNext();
}

bool I2CKeyController::KeyWaiting() const { return Peek(m_wiring.readyRegister) == 1; }

size_t I2CKeyController::KeysQueued() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_queue.size();
}

void I2CKeyController::Store(size_t offset, BYTE value) {
    if ((offset == m_wiring.readyRegister && value == 0) || (offset == m_wiring.keyRegister && value == kClearKey)) {
        Registers()[offset] = value;
        ClearReady();
        return;
    }
    RegisterFileDevice::Store(offset, value);
}

BYTE I2CKeyController::Fetch(size_t offset) {
    const BYTE value = RegisterFileDevice::Fetch(offset);
    if (offset == m_wiring.keyRegister) {
        m_keyUnread = false;
        ClearReady();
    }
    return value;
}

void I2CKeyController::ClearReady() {
    Registers()[m_wiring.readyRegister] = 0;
    PresentNext();
}

void I2CKeyController::PresentNext() {
    std::vector<BYTE>& registers = Registers();
    if (registers[m_wiring.readyRegister] == 1 || m_queue.empty()) return;
    if (m_wiring.nextAfterKeyRead && m_keyUnread) return;
    registers[m_wiring.keyRegister] = m_queue.front();
    m_queue.pop_front();
    registers[m_wiring.readyRegister] = 1;
    m_keyUnread = true;
}

}  // namespace hwsim
