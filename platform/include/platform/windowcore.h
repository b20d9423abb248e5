// What displays and tests see of the window tree: snapshots of windows and change notices.
#pragma once

#include <string>
#include <vector>

#include "platform/winuser.h"

namespace platform {

struct WindowSnapshot {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    RECT rect{};  // in the parent's client coordinates (screen for top-level windows)
    DWORD threadId = 0;
};

// Told of every change a person could see. Called on the thread that made the change, with no
// platform lock held.
class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void OnWindowCreated(HWND window) {}
    virtual void OnWindowDestroyed(HWND window) {}
    // Text, style (visible, enabled), position or size changed, or the window was invalidated.
    virtual void OnWindowChanged(HWND window) {}
};

PLATFORM_API void AddWindowObserver(WindowObserver* observer);
PLATFORM_API void RemoveWindowObserver(WindowObserver* observer);
// Tells the observers that a window's look changed in a way the window core does not see
// (a control's own state, such as a progress bar's position).
PLATFORM_API void NotifyWindowChanged(HWND window);

PLATFORM_API bool GetWindowSnapshot(HWND window, WindowSnapshot* snapshot);
// Children in creation order (the dialog's tab order).
PLATFORM_API std::vector<HWND> GetChildWindowList(HWND parent);
PLATFORM_API std::vector<HWND> GetTopLevelWindowList();

// The keyboard focus of a thread (null when none), and the focus set for the thread that owns a
// window, as the displays move it for the operator; another thread hears WM_KILLFOCUS and
// WM_SETFOCUS in its own loop.
PLATFORM_API HWND GetThreadFocus(DWORD threadId);
PLATFORM_API void SetThreadFocus(HWND window);

}  // namespace platform
