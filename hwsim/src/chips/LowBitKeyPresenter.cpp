// The remote-key receiver of the Cranlow family of boards.
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
    m_keys.Push(code);
}

void LowBitKeyPresenter::RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_keys.RepeatRounds(round, pauseMs);
}

size_t LowBitKeyPresenter::PendingKeys() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_keys.Size();
}

void LowBitKeyPresenter::OnSample() {
    std::lock_guard<std::mutex> lock(m_lock);
    const ULONGLONG now = platform::ClockNow();
    if (m_pressed && now - m_pressedAt >= kPressMs) {
        m_keys.Pop(now);
        m_pressed = false;
    }
    if (!m_pressed && m_keys.Ready(now)) {
        m_pressed = true;
        m_pressedAt = now;
    }
    m_bridge.DriveExternal(kLines, m_pressed ? LinesOf(m_keys.Front()) : kLines);
}

}  // namespace hwsim
