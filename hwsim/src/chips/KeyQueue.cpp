// The keys a remote-key receiver has still to present, in order.
#include "hwsim/chips/KeyQueue.h"

namespace hwsim {

void KeyQueue::RepeatRounds(const std::vector<BYTE>& round, ULONGLONG pauseMs) {
    // An empty round or no pause: no rounds.
    m_round = pauseMs != 0 ? round : std::vector<BYTE>();
    m_pauseMs = pauseMs;
    m_roundDue = 0;
    m_roundWaiting = !m_round.empty();
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
    if (m_keys.empty() && !m_round.empty() && !m_roundWaiting) {
        m_roundDue = now + m_pauseMs;
        m_roundWaiting = true;
    }
}

}  // namespace hwsim
