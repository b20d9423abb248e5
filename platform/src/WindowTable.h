// The window table: every window's record, by handle. Internal to the platform library.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/windowcore.h"

namespace platform::win {

struct WindowRecord {
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    std::string className;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    RECT rect{};
    LONG_PTR userData = 0;
    std::vector<HWND> children;
    bool destroying = false;
    bool invalid = false;
};

// Guards every record. Never held while a window procedure or an observer runs, and never
// taken while the kernel lock is held.
std::mutex& TableLock();
// The record of a live window, or null (table lock held).
WindowRecord* FindLocked(HWND window);
// Thread and procedure of a live window; false when there is none.
bool Route(HWND window, DWORD* threadId, WNDPROC* proc);

// Observers.
void NotifyCreated(HWND window);
void NotifyDestroyed(HWND window);
void NotifyChanged(HWND window);

// Windows of a thread waiting for WM_PAINT; takes one and clears its flag.
HWND TakeInvalidWindow(DWORD threadId);
// Wakes a thread waiting for its messages (a window of it needs painting).
void WakeThread(DWORD threadId);
// Drops what the message system keeps for a destroyed window (its timers).
void ForgetWindowMessages(HWND window);

}  // namespace platform::win
