// The pointer and keyboard state a display feeds: the keys held (GetKeyState) and the windows
// that asked TrackMouseEvent for hover and leave notices. Internal.
#pragma once

#include "platform/winctrl.h"

namespace platform::input {

// A key went down or up (virtual-key code).
void SetKeyDown(UINT virtualKey, bool down);
bool IsKeyDown(UINT virtualKey);

// TrackMouseEvent's request: TME_HOVER and TME_LEAVE for a window, or their cancel.
BOOL Track(const TRACKMOUSEEVENT& request);
// The pointer is over `window` (null: over no window of this program) at `client` (its client
// coordinates) at platform-clock time `now`: a tracked window it left hears WM_MOUSELEAVE; a
// move restarts the hover wait.
void PointerAt(HWND window, POINT client, ULONGLONG now);
// Time passes with the pointer at rest: a hover wait that ran out gives WM_MOUSEHOVER. Returns
// the platform-clock time of the next hover due (UINT64_MAX for none).
ULONGLONG PointerResting(ULONGLONG now);

}  // namespace platform::input
