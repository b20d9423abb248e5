// The state of every window of one control class, by handle. Internal.
#pragma once

#include <map>
#include <mutex>

#include "platform/windowcore.h"

namespace mfc {

template <class State>
class ControlStates {
public:
    // Runs `use` on the window's state (created on first use) under the lock; returns its result.
    template <class F>
    auto With(HWND window, F&& use) {
        std::lock_guard<std::mutex> g(m_lock);
        return use(m_states[window]);
    }
    void Erase(HWND window) {
        std::lock_guard<std::mutex> g(m_lock);
        m_states.erase(window);
    }

private:
    std::mutex m_lock;
    std::map<HWND, State> m_states;
};

// Tells the displays that a control's own state changed.
inline void Changed(HWND window) { platform::NotifyWindowChanged(window); }

}  // namespace mfc
