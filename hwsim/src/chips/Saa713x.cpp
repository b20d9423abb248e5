// The SAA713x bridge as its driver sees it.
#include "hwsim/chips/Saa713x.h"

#include <algorithm>

namespace hwsim {

DWORD Saa713x::PinLevelsLocked() const {
    const DWORD driven = m_mode & kGpioLines;
    const DWORD pushPull = driven & ~m_shared;
    return ((m_latches & pushPull) | (m_latches & m_external & driven & m_shared) | (m_external & ~driven)) &
           kGpioLines;
}

void Saa713x::NotifyHostLines() {
    const DWORD driven = m_mode & kGpioLines;
    for (GpioListener* listener : m_listeners) listener->OnHostLines(m_latches & driven, driven);
}

DWORD Saa713x::Read(DWORD address) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    DWORD value;
    if (address == kGpioMode) {
        value = m_mode;
    } else if (address == kGpioStatus) {
        value = m_sampled;
    } else {
        auto it = m_registers.find(address);
        value = it == m_registers.end() ? 0 : it->second;
    }
    auto hook = m_hooks.find(address);
    return hook == m_hooks.end() ? value : hook->second(value);
}

void Saa713x::Write(DWORD address, DWORD value) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (address == kGpioMode) {
        const bool rising = (value & kGpioStrobe) && !(m_mode & kGpioStrobe);
        const bool linesChanged = ((value ^ m_mode) & kGpioLines) != 0;
        m_mode = value;
        if (linesChanged) NotifyHostLines();
        if (rising) {
            for (GpioListener* listener : m_listeners) listener->OnSample();
            m_sampled = PinLevelsLocked();
        }
    } else if (address == kGpioStatus) {
        const DWORD latches = value & kGpioLines;
        const bool changed = ((latches ^ m_latches) & m_mode & kGpioLines) != 0;
        m_latches = latches;
        if (changed) NotifyHostLines();
    } else {
        m_registers[address] = value;
    }
}

void Saa713x::SetReadHook(DWORD address, ReadHook hook) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (hook) {
        m_hooks[address] = std::move(hook);
    } else {
        m_hooks.erase(address);
    }
}

DWORD Saa713x::Directions() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_mode & kGpioLines;
}

DWORD Saa713x::HostLatches() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_latches;
}

DWORD Saa713x::ExternalLevels() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_external;
}

DWORD Saa713x::PinLevels() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return PinLevelsLocked();
}

DWORD Saa713x::LatchedLevels() const {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return m_sampled;
}

void Saa713x::DriveExternal(DWORD mask, DWORD levels) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_external = ((m_external & ~mask) | (levels & mask)) & kGpioLines;
}

DWORD Saa713x::SampleLines() {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    const DWORD mode = m_mode;
    Write(kGpioMode, mode & ~kGpioStrobe);
    Write(kGpioMode, mode | kGpioStrobe);
    Write(kGpioMode, mode);
    return Read(kGpioStatus);
}

void Saa713x::DriveHostLines(DWORD mask, DWORD levels) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    Write(kGpioMode, m_mode | mask);
    Write(kGpioStatus, (m_latches & ~mask) | (levels & mask));
}

void Saa713x::DriveOnlyHostLines(DWORD mask, DWORD levels) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    // The levels first, so a listener sees the new word on the lines still driven, then the
    // lines let go.
    Write(kGpioStatus, (m_latches & ~mask) | (levels & mask));
    Write(kGpioMode, (m_mode & ~kGpioLines) | (mask & kGpioLines));
}

void Saa713x::SetSharedLines(DWORD lines) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_shared = lines & kGpioLines;
}

void Saa713x::Attach(GpioListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_listeners.push_back(listener);
}

void Saa713x::Detach(GpioListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    std::erase(m_listeners, listener);
}

}  // namespace hwsim
