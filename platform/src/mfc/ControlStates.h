// The state of every window of one control class, by handle. Internal.
#pragma once

#include <map>
#include <mutex>

#include "platform/windowcore.h"
#include "platform/winctrl.h"

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

// A control's own state changed: it is drawn again (the displays hear of it).
inline void Changed(HWND window) { ::InvalidateRect(window, nullptr, TRUE); }

// What a control's procedure does with a message it does not handle itself: an empty paint,
// everything else to DefWindowProc.
inline LRESULT DefaultControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        ::BeginPaint(window, &ps);
        ::EndPaint(window, &ps);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// The same for a control with a state: the state goes with the window.
template <class State>
LRESULT DefaultControlProc(ControlStates<State>& states, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        states.Erase(window);
        return 0;
    }
    return DefaultControlProc(window, message, wParam, lParam);
}

}  // namespace mfc
