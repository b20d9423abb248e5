// The framework's bookkeeping of windows: objects by handle, the owners of top-level windows,
// the message being handled on each thread, and the object being created. Internal.
#pragma once

#include <functional>

#include "mfc/Wnd.h"

namespace mfc {

// The object that subclassed or attached a window (null for none).
CWnd* Permanent(HWND window);
void SetPermanent(HWND window, CWnd* object);
void ErasePermanent(HWND window);
// A wrapper object for a window nobody attached; deleted when the window is destroyed.
CWnd* Temporary(HWND window);

// The next window the calling thread creates is attached to `object` (subclassed) before its
// first message; Unhook drops a hook that no creation took.
void HookWindowCreate(CWnd* object);
void UnhookWindowCreate();

// The message the calling thread's innermost window procedure is handling.
struct CurrentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
const CurrentMessage* Current();

// Calls the object's WindowProc with the message recorded as current; detaches the object
// after WM_NCDESTROY.
LRESULT CallWndProc(CWnd* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Pumps the calling thread's messages, letting the display work whenever none is waiting, until
// keepGoing answers false (true) or a WM_QUIT arrives (false, with its exit code).
bool PumpMessages(const std::function<bool()>& keepGoing, const std::function<void()>& onFirstIdle, int* quitCode);

// Pixels from dialog units (a template's positions and sizes).
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

}  // namespace mfc
