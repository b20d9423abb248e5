// The progress bar window class: a range, a position and a step.
#include <algorithm>

#include "ControlPaint.h"
#include "ControlStates.h"
#include "platform/commctrl.h"

namespace mfc {

namespace {

struct ProgressState {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
};

ControlStates<ProgressState>& States() {
    static auto* states = new ControlStates<ProgressState>;
    return *states;
}

// Sets the position (kept inside the range); returns the previous one.
LRESULT Move(HWND window, int (*to)(const ProgressState&, WPARAM), WPARAM wParam) {
    bool moved = false;
    LRESULT old = States().With(window, [&](ProgressState& s) {
        int before = s.pos;
        s.pos = std::clamp(to(s, wParam), std::min(s.low, s.high), std::max(s.low, s.high));
        moved = s.pos != before;
        return LRESULT(before);
    });
    if (moved) Changed(window);
    return old;
}

// A sunken strip filled from the left (from the bottom when vertical) to the position, in the
// highlight colour.
void Paint(HWND window) {
    ControlPaint p(window, WM_CTLCOLORSTATIC);
    if (!p.dc) return;
    RECT r = p.client;
    DrawEdge(p.dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FillRect(p.dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    ProgressState s = States().With(window, [](ProgressState& st) { return st; });
    int span = s.high - s.low;
    if (span <= 0) return;
    RECT bar = r;
    InflateRect(&bar, -1, -1);
    if (p.style & PBS_VERTICAL) bar.top = bar.bottom - MulDiv(bar.bottom - bar.top, s.pos - s.low, span);
    else bar.right = bar.left + MulDiv(bar.right - bar.left, s.pos - s.low, span);
    FillRect(p.dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
}

}  // namespace

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        int low = message == PBM_SETRANGE ? int(LOWORD(lParam)) : int(INT_PTR(wParam));
        int high = message == PBM_SETRANGE ? int(HIWORD(lParam)) : int(lParam);
        LRESULT old = States().With(window, [&](ProgressState& s) {
            LRESULT previous = MAKELONG(s.low, s.high);
            s.low = low;
            s.high = high;
            s.pos = std::clamp(s.pos, std::min(low, high), std::max(low, high));
            return previous;
        });
        Changed(window);
        return old;
    }
    case PBM_SETPOS: return Move(window, [](const ProgressState&, WPARAM w) { return int(INT_PTR(w)); }, wParam);
    case PBM_DELTAPOS: return Move(window, [](const ProgressState& s, WPARAM w) { return s.pos + int(INT_PTR(w)); }, wParam);
    case PBM_STEPIT:
        // Past the end the bar starts over from the beginning.
        return Move(window, [](const ProgressState& s, WPARAM) {
            int next = s.pos + s.step;
            return next > s.high ? s.low + (next - s.high) : next;
        }, 0);
    case PBM_SETSTEP:
        return States().With(window, [&](ProgressState& s) {
            LRESULT old = s.step;
            s.step = int(INT_PTR(wParam));
            return old;
        });
    case PBM_GETPOS: return States().With(window, [](ProgressState& s) { return LRESULT(s.pos); });
    case PBM_GETRANGE:
        return States().With(window, [&](ProgressState& s) {
            if (lParam) *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{s.low, s.high};
            return LRESULT(wParam ? s.low : s.high);
        });
    case WM_PAINT: Paint(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

}  // namespace mfc
