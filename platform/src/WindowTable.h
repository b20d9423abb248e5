// The window table: every window's record, by handle. Internal to the platform library.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gdi/Region.h"
#include "platform/windowcore.h"

namespace platform::win {

struct WindowRecord {
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    std::string className;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    HWND owner = nullptr;  // a top-level window's owner (GW_OWNER)
    int id = 0;
    HFONT font = nullptr;  // WM_SETFONT
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    RECT rect{};
    LONG_PTR userData = 0;
    std::vector<HWND> children;
    bool destroying = false;
    bool hiddenWithOwner = false;  // hidden because its owner was hidden; shown with it again
    // The update region in client coordinates, whether it asks for erasing; `invalid` while a
    // WM_PAINT is owed.
    platform::gdi::Region update;
    bool erase = false;
    bool invalid = false;
};

// Guards every record. Never held while a window procedure or an observer runs, and never
// taken while the kernel lock is held.
std::mutex& TableLock();
// The record of a live window, or null (table lock held).
WindowRecord* FindLocked(HWND window);
// Every live window's record, by handle (table lock held).
std::map<HWND, std::unique_ptr<WindowRecord>>& WindowsLocked();
// Whether a window and every ancestor of it are visible (table lock held).
bool VisibleLocked(WindowRecord* r);
// Thread and procedure of a live window; false when there is none.
bool Route(HWND window, DWORD* threadId, WNDPROC* proc);
// A registered window class by name, any case; null when there is none (table lock held).
const WNDCLASSA* FindClassLocked(const char* className);

// Adds `area` (client coordinates; null for the whole client area) to a window's update region
// (table lock held), and to the children it shares pixels with (all but under WS_CLIPCHILDREN).
// Returns the thread to wake, 0 when nothing was added.
DWORD InvalidateLocked(WindowRecord* r, const RECT* area, bool erase = true);
// Wakes the thread InvalidateLocked named (nothing for 0).
void Wake(DWORD threadId);
// Invalidates the part of the parent that a child covers (table lock held); the thread to wake.
DWORD InvalidateBehindLocked(WindowRecord* r);

// Observers.
void NotifyCreated(HWND window);
void NotifyDestroyed(HWND window);
void NotifyChanged(HWND window);

// A visible window of a thread that is owed a WM_PAINT (only `filter` when it is not null); takes
// one and clears its flag (the update region stays until the window validates it); with `take`
// false only names it.
HWND TakeInvalidWindow(DWORD threadId, HWND filter, bool take = true);
// The update region (the whole client area when there is none) and its erase flag, and
// validates the window.
bool TakeUpdateRegion(HWND window, platform::gdi::Region* region, bool* erase);
// Adds to / takes from a window's update region (client coordinates).
bool InvalidateRegion(HWND window, const platform::gdi::Region& region, bool erase);
bool ValidateRegion(HWND window, const platform::gdi::Region* region);
bool PeekUpdateRegion(HWND window, platform::gdi::Region* region);

// Where a window draws in its top-level window's surface.
struct PaintGeometry {
    HWND top = nullptr;
    SIZE topSize{0, 0};
    POINT origin{0, 0};          // the client area's top-left in the surface
    RECT visible{0, 0, 0, 0};    // the client area inside every ancestor's, in the surface
    std::vector<RECT> children;  // visible children cut out (WS_CLIPCHILDREN), in the surface
};
bool GetPaintGeometry(HWND window, PaintGeometry* geometry);
// Called by CreateWindowEx for the next window the calling thread creates, after its record
// exists and before its first message (the framework attaches its object there).
void SetCreationHook(void (*hook)(HWND window, void* context), void* context);
// Destroys the windows a thread created; called as the thread ends.
void DestroyThreadWindows(DWORD threadId);
// Ends a thread's message queue: messages sent to it answer 0 from now on.
void EndThreadMessages(DWORD threadId);
// Wakes a thread waiting for its messages (a window of it needs painting).
void WakeThread(DWORD threadId);
// Drops what the message system keeps for a destroyed window (its timers).
void ForgetWindowMessages(HWND window);

}  // namespace platform::win
