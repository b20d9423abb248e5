// The remote-key controller that boards read over I2C.
#include "hwsim/chips/I2CKeyController.h"

#include "platform/runtime.h"

namespace hwsim {

I2CKeyController::I2CKeyController(const I2CKeyWiring& wiring)
    : RegisterFileDevice(wiring.address7, kRegisters), m_wiring(wiring) {}

void I2CKeyController::PressKey(BYTE code) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_queue.Push(code);
    PresentNext();
}

void I2CKeyController::RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_queue.RepeatRounds(round, pauseMs);
}

bool I2CKeyController::KeyWaiting() const { return Peek(m_wiring.readyRegister) == 1; }

size_t I2CKeyController::KeysQueued() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_queue.Size();
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
    if (offset == m_wiring.readyRegister) PresentNext();  // a round of keys may have come due
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
    if (registers[m_wiring.readyRegister] == 1) return;
    if (m_wiring.nextAfterKeyRead && m_keyUnread) return;
    const ULONGLONG now = platform::ClockNow();
    if (!m_queue.Ready(now)) return;
    registers[m_wiring.keyRegister] = m_queue.Front();
    m_queue.Pop(now);
    registers[m_wiring.readyRegister] = 1;
    m_keyUnread = true;
}

}  // namespace hwsim
