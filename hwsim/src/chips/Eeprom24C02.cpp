// The card's configuration EEPROM.
#include "hwsim/chips/Eeprom24C02.h"

#include "platform/runtime.h"

namespace hwsim {

Eeprom24C02::Eeprom24C02() : Eeprom24C02(Options()) {}

Eeprom24C02::Eeprom24C02(const Options& options)
    : RegisterFileDevice(options.address7, kSize, 0xFF), m_options(options) {
    if (m_options.pageSize == 0 || m_options.pageSize > kSize) m_options.pageSize = kSize;
}

void Eeprom24C02::SetWriteProtect(bool on) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_options.writeProtect = on;
}

bool Eeprom24C02::WriteProtect() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_options.writeProtect;
}

void Eeprom24C02::SetWriteCycleMs(DWORD milliseconds) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_options.writeCycleMs = milliseconds;
}

void Eeprom24C02::SetStoreObserver(StoreObserver observer) {
    std::lock_guard<std::mutex> lock(ChipLock());
    m_observer = std::move(observer);
}

bool Eeprom24C02::OnSelect(bool read) {
    if (m_busyUntil != 0) {
        if (platform::ClockNow() < m_busyUntil) return false;
        m_busyUntil = 0;
    }
    m_pending.clear();
    return RegisterFileDevice::OnSelect(read);
}

void Eeprom24C02::Store(size_t offset, BYTE value) {
    // The page buffer keeps the last byte given for each address.
    for (auto& pending : m_pending) {
        if (pending.first == offset) {
            pending.second = value;
            return;
        }
    }
    m_pending.emplace_back(static_cast<BYTE>(offset), value);
}

size_t Eeprom24C02::NextWritePointer(size_t offset) const {
    const size_t page = offset - offset % m_options.pageSize;
    return page + (offset + 1 - page) % m_options.pageSize;
}

void Eeprom24C02::OnEnd(bool stop) {
    // A repeated start abandons the page; only a stop programs it.
    if (!stop || m_pending.empty() || m_options.writeProtect) {
        m_pending.clear();
        return;
    }
    for (const auto& [offset, value] : m_pending) {
        Registers()[offset] = value;
        if (m_observer) m_observer(offset, value);
    }
    m_pending.clear();
    if (m_options.writeCycleMs) m_busyUntil = platform::ClockNow() + m_options.writeCycleMs;
}

}  // namespace hwsim
