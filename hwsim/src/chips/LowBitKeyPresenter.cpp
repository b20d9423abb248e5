#include "hwsim/chips/LowBitKeyPresenter.h"

#include "platform/runtime.h"

namespace hwsim {

LowBitKeyPresenter::LowBitKeyPresenter(Saa713x& bridge) : m_bridge(bridge) {
    m_bridge.DriveExternal(kLines, kLines);
    m_bridge.Attach(this);
}

LowBitKeyPresenter::~LowBitKeyPresenter() { m_bridge.Detach(this); }

DWORD LowBitKeyPresenter::LinesOf(BYTE code) {
    const BYTE swapped = static_cast<BYTE>((code << 4) | (code >> 4));
    return static_cast<BYTE>(~swapped);
}

void LowBitKeyPresenter::PressKey(BYTE code) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_keys.push_back(code);
}

size_t LowBitKeyPresenter::PendingKeys() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_keys.size();
}

void LowBitKeyPresenter::OnSample() {
    std::lock_guard<std::mutex> lock(m_lock);
    const ULONGLONG now = platform::ClockNow();
    if (m_pressed && now - m_pressedAt >= kPressMs) {
        m_keys.pop_front();
        m_pressed = false;
    }
    if (!m_pressed && !m_keys.empty()) {
        m_pressed = true;
        m_pressedAt = now;
    }
    m_bridge.DriveExternal(kLines, m_pressed ? LinesOf(m_keys.front()) : kLines);
}

}  // namespace hwsim
