// Keys held and mouse tracking, as the display reports the pointer and the keyboard.
#include "display/InputState.h"

#include <bitset>
#include <mutex>

#include "platform/runtime.h"

namespace platform::input {

namespace {

// The hover time of HOVER_DEFAULT.
constexpr DWORD kDefaultHoverMs = 400;

struct Tracking {
    HWND window = nullptr;
    bool hover = false;
    bool leave = false;
    DWORD hoverMs = kDefaultHoverMs;
    ULONGLONG restingSince = 0;
    POINT at{};
};

struct State {
    std::mutex lock;
    std::bitset<256> keys;
    Tracking tracking;
    HWND under = nullptr;  // where the pointer is, as last reported
    POINT at{};
};

State& S() {
    static auto* s = new State;
    return *s;
}

}  // namespace

void SetKeyDown(UINT virtualKey, bool down) {
    std::lock_guard<std::mutex> g(S().lock);
    S().keys.set(virtualKey & 0xFF, down);
}

bool IsKeyDown(UINT virtualKey) {
    std::lock_guard<std::mutex> g(S().lock);
    return S().keys.test(virtualKey & 0xFF);
}

BOOL Track(const TRACKMOUSEEVENT& request) {
    if (request.cbSize != sizeof(TRACKMOUSEEVENT) || !::IsWindow(request.hwndTrack)) return FALSE;
    bool leaveAtOnce = false;
    {
        std::lock_guard<std::mutex> g(S().lock);
        Tracking& t = S().tracking;
        if (request.dwFlags & TME_CANCEL) {
            if (t.window == request.hwndTrack) {
                if (request.dwFlags & TME_HOVER) t.hover = false;
                if (request.dwFlags & TME_LEAVE) t.leave = false;
            }
            return TRUE;
        }
        if (t.window != request.hwndTrack) t = Tracking{request.hwndTrack};
        if (request.dwFlags & TME_HOVER) {
            t.hover = true;
            t.hoverMs = request.dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : request.dwHoverTime;
            t.restingSince = ClockNow();
            t.at = S().at;
        }
        if (request.dwFlags & TME_LEAVE) {
            // A window the pointer is not over hears at once that it was left.
            leaveAtOnce = S().under != request.hwndTrack;
            t.leave = !leaveAtOnce;
        }
    }
    if (leaveAtOnce) ::PostMessageA(request.hwndTrack, WM_MOUSELEAVE, 0, 0);
    return TRUE;
}

void PointerAt(HWND window, POINT client, ULONGLONG now) {
    HWND left = nullptr;
    {
        std::lock_guard<std::mutex> g(S().lock);
        State& s = S();
        s.under = window;
        s.at = client;
        Tracking& t = s.tracking;
        if (!t.window) return;
        if (window != t.window) {
            if (t.leave) left = t.window;
            t = Tracking{};
        } else if (t.hover && (client.x != t.at.x || client.y != t.at.y)) {
            t.restingSince = now;
            t.at = client;
        }
    }
    if (left) ::PostMessageA(left, WM_MOUSELEAVE, 0, 0);
}

ULONGLONG PointerResting(ULONGLONG now) {
    HWND hovered = nullptr;
    POINT at{};
    {
        std::lock_guard<std::mutex> g(S().lock);
        Tracking& t = S().tracking;
        if (!t.window || !t.hover) return UINT64_MAX;
        ULONGLONG due = t.restingSince + t.hoverMs;
        if (now < due) return due;
        t.hover = false;  // one notice a request
        hovered = t.window;
        at = t.at;
        if (!t.leave) t = Tracking{};
    }
    ::PostMessageA(hovered, WM_MOUSEHOVER, 0, MAKELPARAM(at.x, at.y));
    return UINT64_MAX;
}

}  // namespace platform::input
