// The keys a remote-key receiver has still to present, in order. A bench can have the remote
// pressed over and over (nobody stands at a simulated bench): a round of keys is queued again
// once the last round was taken and a pause of the clock has passed, so a page that listens late
// still hears every key. The owner's lock guards the queue.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "platform/winbase.h"

namespace hwsim {

class KeyQueue {
public:
    void Push(BYTE code) { m_keys.push_back(code); }
    // Presses `round` at the first look, then again `pauseMs` after each round was taken; an
    // empty round or a pause of 0 ends the rounds. Keys already queued stay.
    void RepeatRounds(const std::vector<BYTE>& round, ULONGLONG pauseMs);
    // Whether a key waits at `now` (queues the next round when it is due).
    bool Ready(ULONGLONG now);
    BYTE Front() const { return m_keys.front(); }
    // Takes the front key at `now`.
    void Pop(ULONGLONG now);
    size_t Size() const { return m_keys.size(); }

private:
    std::deque<BYTE> m_keys;
    std::vector<BYTE> m_round;
    ULONGLONG m_pauseMs = 0;
    ULONGLONG m_roundDue = 0;
    bool m_roundWaiting = false;  // a round is due at m_roundDue
};

}  // namespace hwsim
