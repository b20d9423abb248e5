// The X11 display: each visible top-level window (dialog, message box, video window of its own)
// is an X window of its size, titled with its text, showing the pixels of its surface as the
// paint passes leave them. The pointer and the keyboard act on the windows as a person's would:
// mouse messages go to the control under the pointer (the one pressed keeps them until the
// button is released), keys to the focused control through the thread's message loop, the
// window manager's close asks the window to close, and Alt+Space or a right click opens the
// system menu. Only the user-interface thread calls Xlib, from Idle, without ever blocking.
// Under a server without a window manager the display frames each window itself: a border and
// a title bar with the window's text (the active window's in the active caption colours), in an
// X window of its own at the window's place, the window's inside it, so a message box stands out
// from the page.
//
// A lost connection, or a window of the display's destroyed by another client, never ends the
// program in the middle of an EEPROM write, nor acts for the operator: the display is lost, which
// asks the program to close (DisplayLost).
//
// The class is declared here; its parts are defined by concern: the connection and the windows
// mapped (X11Mapping.cpp), the surfaces and frames drawn (X11Drawing.cpp), the events turned into
// messages (X11Input.cpp).
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <strings.h>
#include <sys/shm.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>

#include "display/DisplayHost.h"
#include "display/InputState.h"
#include "display/OperatorKeys.h"
#include "display/ScreenModel.h"
#include "mfc/SystemMenu.h"
#include "platform/runtime.h"
#include "platform/winctrl.h"
#include "platform/wingdi.h"

namespace platform::display::x11 {

constexpr ULONGLONG kPollMs = 10;
// The system menu's rows.
constexpr int kMenuRow = 20, kMenuSeparator = 8, kMenuMargin = 24;
// The frame drawn round a window when no window manager draws one.
constexpr int kFrameBorder = 3, kFrameCaption = 18;

inline std::atomic<bool> g_lost{false};

inline int OnIoError(::Display*) {
    g_lost = true;
    return 0;
}

// Xlib's default would end the process here; returning leaves the connection dead and the
// program running.
inline void OnIoErrorExit(::Display*, void*) { g_lost = true; }

inline int OnXError(::Display* display, XErrorEvent* error) {
    char text[128] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    PlatformTrace("X11: %s (request %d)\n", text, int(error->request_code));
    return 0;
}


// One X window for a top-level window, with the image its pixels go through.
struct XWindow {
    Window id = 0;
    Window frame = 0;  // its frame, when the display draws one
    bool active = false;  // as its frame was last drawn
    int width = 0, height = 0;
    std::string title;
    bool mapped = false;
    bool viewable = false;  // mapped, as the server said
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    bool shared = false;
};

// The open system menu: its items, which row is lit, and its own X window.
struct OpenMenu {
    HWND owner = nullptr;
    Window id = 0;
    std::vector<CMenu::Item> items;
    std::vector<int> tops;  // each row's top
    int width = 0, height = 0;
    int lit = -1;
};

class X11Display : public Display {
public:
    explicit X11Display(::Display* x) : m_x(x) {
        m_screen = DefaultScreen(m_x);
        m_visual = DefaultVisual(m_x, m_screen);
        m_deleteWindow = XInternAtom(m_x, "WM_DELETE_WINDOW", False);
        m_protocols = XInternAtom(m_x, "WM_PROTOCOLS", False);
        m_netName = XInternAtom(m_x, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_x, "UTF8_STRING", False);
        m_hasShm = XShmQueryExtension(m_x);
        m_framed = !WindowManagerRuns();
    }

    ~X11Display() override { Stop(); }

    DisplayKind Kind() const override { return DisplayKind::X11; }

    int AnswerMessageBox(HWND, const char*, const char*, UINT) override { return 0; }

    void SurfaceChanged(HWND top, const std::vector<RECT>& rects) override {
        auto& dirty = m_dirty[top];
        dirty.insert(dirty.end(), rects.begin(), rects.end());
    }

    ULONGLONG Idle() override;

    void Stop() override;

private:
    // ---- windows ----

    void SyncWindows();
    void Show(HWND top);

    // ---- frames, where no window manager draws them ----

    bool WindowManagerRuns();
    void DrawFrames(HWND active);
    void DrawFrame(const XWindow& w);
    void PutDrawn(Window id, int width, int height, const std::function<void(HDC)>& draw);
    static std::string WindowText(HWND window);
    void MakeImage(XWindow& w);
    bool SyncedWithoutError();

    static int CountError(::Display*, XErrorEvent*) {
        if (g_counting) ++g_counting->m_errors;
        return 0;
    }

    void FreeImage(XWindow& w);
    void Release(XWindow& w);

    // ---- pixels ----

    void PutChanged();
    void Put(XWindow& w, HWND top, RECT r);

    // ---- input ----

    void ReadEvents();

    void Focus(HWND top, Window id) {
        m_focused = top;
        XSetInputFocus(m_x, id, RevertToParent, CurrentTime);
    }

    static POINT ScreenPoint(HWND top, int x, int y);

    static LPARAM ClientPosition(HWND window, POINT screen) {
        ::ScreenToClient(window, &screen);
        return MAKELPARAM(WORD(short(screen.x)), WORD(short(screen.y)));
    }

    void Motion(HWND top, int x, int y, unsigned state);
    void Button(HWND top, const XButtonEvent& b);
    void Key(HWND top, XKeyEvent& k);

    // ---- the system menu ----

    void OpenSystemMenu(HWND top, int x, int y);
    void CloseMenu();

    int MenuRowAt(int y) const;

    void DrawMenu();
    void Choose(int row);
    void MenuEvent(const XEvent& e);

    int MenuStep(int row, int by) const;

    void MenuKey(XEvent e);

    // ---- a lost connection ----

    void GoOnWithoutX();

    ::Display* m_x;
    int m_screen = 0;
    Visual* m_visual = nullptr;
    Atom m_deleteWindow = 0, m_protocols = 0, m_netName = 0, m_utf8 = 0;
    bool m_hasShm = false;
    int m_errors = 0;
    bool m_stopped = false;
    bool m_destroyedElsewhere = false;
    std::map<HWND, XWindow> m_windows;
    std::map<Window, HWND> m_byId;
    std::map<Window, HWND> m_frames;  // frame windows and the windows they frame
    bool m_framed = false;            // no window manager: the display draws the frames
    std::map<HWND, std::vector<RECT>> m_dirty;
    HWND m_capture = nullptr;
    HWND m_focused = nullptr;
    OpenMenu m_menu;

    static inline X11Display* g_counting = nullptr;
};

}  // namespace platform::display::x11
