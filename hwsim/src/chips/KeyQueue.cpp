#include "hwsim/chips/KeyQueue.h"

namespace hwsim {

void KeyQueue::RepeatRounds(const std::vector<BYTE>& round, ULONGLONG pauseMs) {
    m_round = round;
    m_pauseMs = pauseMs;
    m_roundDue = 0;
    m_roundWaiting = !round.empty() && pauseMs != 0;
}

bool KeyQueue::Ready(ULONGLONG now) {
    if (m_keys.empty() && m_roundWaiting && now >= m_roundDue) {
        m_keys.insert(m_keys.end(), m_round.begin(), m_round.end());
        m_roundWaiting = false;
    }
    return !m_keys.empty();
}

void KeyQueue::Pop(ULONGLONG now) {
    m_keys.pop_front();
    if (m_keys.empty() && !m_round.empty() && m_pauseMs != 0 && !m_roundWaiting) {
        m_roundDue = now + m_pauseMs;
        m_roundWaiting = true;
    }
}

}  // namespace hwsim
