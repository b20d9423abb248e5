// The operator's keyboard, as every display hands it to the dialogs. Internal to the displays.
#pragma once

#include "platform/winuser.h"

namespace platform::display {

// Where a key goes: the focus of the active window's thread when it lies in the active window
// and can take input. A focus that cannot (on a page the sheet just hid, on a control hidden or
// disabled since, in another window) moves to the active window's first tab stop first, as when
// the window opened; the active window itself when it has none. Null without a window.
HWND KeyTarget();

// One key going down or up (virtual-key code, the key message's lParam), and the character it
// types (0 for none), on every display alike. Enter on a focused push button presses that button,
// whichever dialog holds it (a page that keeps Enter from its sheet never keeps it from the
// button under the operator's eye). Every other key is posted to the key target, so the dialogs
// see it in their PreTranslateMessage: Enter presses a dialog's default button, Escape cancels,
// Tab moves the focus, Space presses the focused button; WM_CHAR follows a key that types.
void OperatorKey(UINT virtualKey, bool down, LPARAM flags, char typed = 0);

// The virtual key of the key that types a printable ASCII character on the US layout: letters
// and digits by their capital and digit, the punctuation keys as VK_OEM_*, Space; 0 for none.
UINT VirtualKeyOf(char typed);

}  // namespace platform::display
