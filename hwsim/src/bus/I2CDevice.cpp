// One chip on a card's I2C bus, seen from the bus.
#include "hwsim/bus/I2CDevice.h"

namespace hwsim {

I2CDevice::I2CDevice(BYTE address7) : m_address(address7 & 0x7F) {}

I2CDevice::~I2CDevice() = default;

bool I2CDevice::NackNow(int byteIndex) const {
    if (m_nackFirst < 0 || byteIndex != m_nackByte || m_transfer < m_nackFirst) return false;
    return m_nackCount < 0 || m_transfer < m_nackFirst + m_nackCount;
}

bool I2CDevice::Select(bool read) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_absent) return false;
    ++m_transfer;
    if (NackNow(0)) return false;
    return OnSelect(read);
}

bool I2CDevice::Receive(BYTE value, int index) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (NackNow(index)) return false;
    return OnReceive(value);
}

BYTE I2CDevice::Transmit() {
    std::lock_guard<std::mutex> lock(m_lock);
    return OnTransmit();
}

void I2CDevice::End(bool stop) {
    std::lock_guard<std::mutex> lock(m_lock);
    OnEnd(stop);
}

bool I2CDevice::HoldsBus() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_stuck;
}

void I2CDevice::SetAbsent(bool absent) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_absent = absent;
}

void I2CDevice::SetStuck(bool stuck) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_stuck = stuck;
}

void I2CDevice::NackTransfers(int transfer, int byteIndex, int count) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_transfer = -1;
    m_nackFirst = transfer < 0 ? 0 : transfer;
    m_nackByte = byteIndex < 0 ? 0 : byteIndex;
    m_nackCount = count;
}

void I2CDevice::ClearFaults() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_absent = false;
    m_stuck = false;
    m_nackFirst = -1;
    m_nackCount = 0;
}

}  // namespace hwsim
