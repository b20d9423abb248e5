// A chip that is a plain file of byte registers behind an 8-bit register pointer.
#include "hwsim/bus/RegisterFileDevice.h"

namespace hwsim {

RegisterFileDevice::RegisterFileDevice(BYTE address7, size_t size, BYTE fill)
    : I2CDevice(address7), m_registers(size, fill) {}

BYTE RegisterFileDevice::Peek(size_t offset) const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_registers.at(offset);
}

void RegisterFileDevice::Poke(size_t offset, BYTE value) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_registers.at(offset) = value;
}

std::vector<BYTE> RegisterFileDevice::Contents() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_registers;
}

void RegisterFileDevice::Load(const std::vector<BYTE>& contents) {
    std::lock_guard<std::mutex> lock(ChipLock());
    for (size_t i = 0; i < contents.size() && i < m_registers.size(); ++i) m_registers[i] = contents[i];
}

size_t RegisterFileDevice::Pointer() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_pointer;
}

bool RegisterFileDevice::OnSelect(bool read) {
    m_expectPointer = !read;
    return true;
}

bool RegisterFileDevice::OnReceive(BYTE value) {
    if (m_expectPointer) {
        m_pointer = value % m_registers.size();
        m_expectPointer = false;
        return true;
    }
    Store(m_pointer, value);
    m_pointer = NextWritePointer(m_pointer);
    return true;
}

BYTE RegisterFileDevice::OnTransmit() {
    const BYTE value = Fetch(m_pointer);
    m_pointer = (m_pointer + 1) % m_registers.size();
    return value;
}

void RegisterFileDevice::Store(size_t offset, BYTE value) { m_registers[offset] = value; }

BYTE RegisterFileDevice::Fetch(size_t offset) { return m_registers[offset]; }

size_t RegisterFileDevice::NextWritePointer(size_t offset) const { return (offset + 1) % m_registers.size(); }

}  // namespace hwsim
