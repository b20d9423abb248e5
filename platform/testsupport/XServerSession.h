// A test's hands on the X server of the X11 display tests: it makes the X11 display current on
// the fixture's Xvfb, finds the program's X windows by title and moves the pointer, clicks and
// types through XTest, as a person at that screen would. A test that cannot have the server
// skips itself with the reason (see XSERVER_OR_SKIP).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/testoperator.h"
#include "platform/winuser.h"

struct _XDisplay;

namespace testsupport {

// An X window's id (Xlib's Window, kept out of the tests' namespace with Xlib's macros).
using XWindowId = unsigned long;

class XServerSession {
public:
    XServerSession() = default;
    ~XServerSession();
    XServerSession(const XServerSession&) = delete;
    XServerSession& operator=(const XServerSession&) = delete;

    // Sets DISPLAY to the fixture's server, starts the X11 display and opens the test's own
    // connection; false, with the reason, when there is no server to use.
    bool Start(std::string* why);

    // The mapped top-level X window titled so (_NET_WM_NAME), 0 when none is.
    XWindowId Find(const std::string& title) const;
    // A window's top-left corner on the screen.
    POINT Origin(XWindowId window) const;
    // The X window showing a top-level window (by its title).
    XWindowId Of(HWND topLevel) const;

    // Pointer and keys, sent at once (the X11 display reads them at its next idle moment).
    void MoveTo(int x, int y);
    void Press(unsigned button = 1);
    void Release(unsigned button = 1);
    // Moves there, presses and releases the left button.
    void Click(int x, int y);
    // Presses and releases a key (keysym), with Shift and Alt held when asked.
    void Key(unsigned long keysym, bool shift = false, bool alt = false);
    // The middle of a control of a top-level window, on the screen.
    POINT CentreOf(HWND control) const;
    // What a window manager's close button sends: WM_DELETE_WINDOW.
    void AskToClose(XWindowId window);
    // The window's pixels as the server holds them, 0x00RRGGBB.
    std::vector<uint32_t> Pixels(XWindowId window, int width, int height) const;
    // The screen's pixels in a rectangle, 0x00RRGGBB, whatever window shows them.
    std::vector<uint32_t> ScreenPixels(const RECT& area) const;
    // The window's own connection is cut, as the server does when the client is killed.
    void KillClientOf(XWindowId window);
    // The window is destroyed by this other client.
    void Destroy(XWindowId window);

    _XDisplay* Connection() const { return m_x; }

private:
    _XDisplay* m_x = nullptr;
};

// A run of the X11 display in a child process of its own (a lost display asks the program to
// close, which stays asked for the process): `body` gets the child's session, started, and gives
// its exit code; 77 when there is no server.
struct ChildRun {
    int exitCode = -1;  // -1: ended by a signal
    std::string err;
};
ChildRun RunInChild(const std::function<int(XServerSession& x)>& body);

// A step of `op` once `ready` holds, or, when it never does within `seconds` of real time (the
// server answers in real time), a failure naming what was awaited; the step runs either way.
void Await(platform::TestOperator& op, std::function<bool()> ready, const char* what,
           std::function<void()> step = nullptr, int seconds = 20);

}  // namespace testsupport

#define XSERVER_OR_SKIP(session)                                 \
    do {                                                         \
        std::string why_;                                        \
        if (!(session).Start(&why_)) GTEST_SKIP() << why_;       \
    } while (0)
