// A card's I2C bus: chips keyed by their 7-bit address, the wire primitives.
#include "hwsim/bus/I2CBus.h"

#include <cstdio>
#include <stdexcept>

namespace hwsim {

std::string I2CTransfer::Text() const {
    char part[24];
    std::snprintf(part, sizeof part, "%02X %c", address, IsRead() ? 'R' : 'W');
    std::string text = part;
    if (stuck) return text + " STUCK";
    for (BYTE value : data) {
        std::snprintf(part, sizeof part, " %02X", value);
        text += part;
    }
    if (nackAt >= 0) {
        std::snprintf(part, sizeof part, " NACK@%d", nackAt);
        text += part;
    }
    return text;
}

I2CBus::I2CBus() { InitializeCriticalSection(&m_ownership); }

I2CBus::~I2CBus() { DeleteCriticalSection(&m_ownership); }

void I2CBus::Acquire() {
    // Only this thread ever stores its own id, so finding it there means the bus is ours.
    if (m_owner.load() == std::this_thread::get_id()) return;
    EnterCriticalSection(&m_ownership);
    m_owner.store(std::this_thread::get_id());
}

void I2CBus::Release() {
    m_owner.store(std::thread::id());
    LeaveCriticalSection(&m_ownership);
}

void I2CBus::Attach(I2CDevice* device) {
    Acquire();
    {
        std::lock_guard<std::mutex> lock(m_devicesLock);
        auto [it, inserted] = m_devices.emplace(device->Address(), device);
        if (!inserted) {
            if (m_phase == Phase::Idle) Release();
            char text[64];
            std::snprintf(text, sizeof text, "I2C address 0x%02X is taken", device->Address());
            throw std::logic_error(text);
        }
    }
    if (m_phase == Phase::Idle) Release();
}

void I2CBus::Detach(I2CDevice* device) {
    Acquire();
    {
        std::lock_guard<std::mutex> lock(m_devicesLock);
        auto it = m_devices.find(device->Address());
        if (it != m_devices.end() && it->second == device) m_devices.erase(it);
    }
    if (m_selected == device) m_selected = nullptr;
    if (m_phase == Phase::Idle) Release();
}

I2CDevice* I2CBus::DeviceAt(BYTE address7) const {
    std::lock_guard<std::mutex> lock(m_devicesLock);
    auto it = m_devices.find(address7 & 0x7F);
    return it == m_devices.end() ? nullptr : it->second;
}

bool I2CBus::AnyHoldsBus() const {
    std::lock_guard<std::mutex> lock(m_devicesLock);
    for (const auto& [address, device] : m_devices) {
        if (device->HoldsBus()) return true;
    }
    return false;
}

void I2CBus::EndTransfer(bool stop) {
    if (m_phase == Phase::Idle) return;
    if (m_selected) m_selected->End(stop);
    if (m_phase != Phase::Address) {
        std::lock_guard<std::mutex> lock(m_logLock);
        m_log.push_back(std::move(m_current));
        if (m_log.size() > kLogLimit) m_log.pop_front();
    }
    m_current = I2CTransfer();
    m_selected = nullptr;
    m_phase = Phase::Idle;
}

void I2CBus::Start() {
    Acquire();
    EndTransfer(false);
    m_phase = Phase::Address;
    m_byteIndex = 0;
}

I2CResult I2CBus::Write(BYTE value) {
    if (m_phase == Phase::Idle || m_phase == Phase::Reading) return I2CResult::Nack;
    if (m_phase == Phase::Address) {
        m_current.address = value;
        m_phase = (value & 1) ? Phase::Reading : Phase::Writing;
        m_byteIndex = 1;
        if (AnyHoldsBus()) {
            m_current.stuck = true;
            return I2CResult::Stuck;
        }
        m_selected = DeviceAt(value >> 1);
        if (m_selected && !m_selected->Select((value & 1) != 0)) m_selected = nullptr;
        if (!m_selected) {
            m_current.nackAt = 0;
            return I2CResult::Nack;
        }
        return I2CResult::Ack;
    }
    if (m_current.stuck) return I2CResult::Stuck;
    const int index = m_byteIndex++;
    m_current.data.push_back(value);
    if (!m_selected) return I2CResult::Nack;
    if (m_selected->Receive(value, index)) return I2CResult::Ack;
    // A refused byte ends the chip's part of the transfer.
    if (m_current.nackAt < 0) m_current.nackAt = index;
    m_selected->End(false);
    m_selected = nullptr;
    return I2CResult::Nack;
}

BYTE I2CBus::Read(bool ack) {
    if (m_phase != Phase::Reading) return 0xFF;
    if (m_current.stuck) return 0x00;
    if (!m_selected) return 0xFF;
    const BYTE value = m_selected->Transmit();
    m_current.data.push_back(value);
    ++m_byteIndex;
    return value;
}

void I2CBus::Stop() {
    if (m_owner.load() != std::this_thread::get_id()) return;
    EndTransfer(true);
    Release();
}

bool I2CBus::IsReadForm(BYTE address) { return (address & 1) != 0; }

I2CResult I2CBus::SendAddress(BYTE address) {
    Start();
    return Write(address);
}

I2CResult I2CBus::SendBytes(const BYTE* data, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        I2CResult result = Write(data[i]);
        if (result != I2CResult::Ack) return result;
    }
    return I2CResult::Ack;
}

I2CResult I2CBus::WriteSub(BYTE address, BYTE sub, const BYTE* data, size_t count) {
    if (IsReadForm(address)) return I2CResult::Refused;
    I2CResult result = SendAddress(address);
    if (result == I2CResult::Ack) result = SendBytes(&sub, 1);
    if (result == I2CResult::Ack) result = SendBytes(data, count);
    Stop();
    return result;
}

I2CResult I2CBus::ReadSub(BYTE address, BYTE sub, BYTE* data, size_t count) {
    return ReadSub(address, &sub, 1, data, count);
}

I2CResult I2CBus::ReadSub(BYTE address, const BYTE* sub, size_t subCount, BYTE* data, size_t count) {
    if (IsReadForm(address)) return I2CResult::Refused;
    I2CResult result = SendAddress(address);
    if (result == I2CResult::Ack) result = SendBytes(sub, subCount);
    if (result == I2CResult::Ack) result = SendAddress(address | 1);
    if (result == I2CResult::Ack) {
        for (size_t i = 0; i < count; ++i) data[i] = Read(i + 1 < count);
    }
    Stop();
    return result;
}

I2CResult I2CBus::WriteRaw(BYTE address, const BYTE* data, size_t count) {
    if (IsReadForm(address)) return I2CResult::Refused;
    I2CResult result = SendAddress(address);
    if (result == I2CResult::Ack) result = SendBytes(data, count);
    Stop();
    return result;
}

I2CResult I2CBus::ReadRaw(BYTE address, BYTE* data, size_t count) {
    if (!IsReadForm(address)) return I2CResult::Refused;
    I2CResult result = SendAddress(address);
    if (result == I2CResult::Ack) {
        for (size_t i = 0; i < count; ++i) data[i] = Read(i + 1 < count);
    }
    Stop();
    return result;
}

std::vector<I2CTransfer> I2CBus::Log() const {
    std::lock_guard<std::mutex> lock(m_logLock);
    return std::vector<I2CTransfer>(m_log.begin(), m_log.end());
}

std::string I2CBus::LogText() const {
    std::string text;
    for (const I2CTransfer& transfer : Log()) text += transfer.Text() + "\n";
    return text;
}

void I2CBus::ClearLog() {
    std::lock_guard<std::mutex> lock(m_logLock);
    m_log.clear();
}

}  // namespace hwsim
