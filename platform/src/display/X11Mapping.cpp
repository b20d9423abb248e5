// The X11 display's connection and its windows: each visible top-level window mapped as an X
// window of its size and title, unmapped when hidden, released when destroyed; the connection
// opened, and lost without ending the program.
#include "display/X11Display.h"

namespace platform::display::x11 {

ULONGLONG X11Display::Idle() {
    if (m_stopped) return UINT64_MAX;
    if (g_lost) {
        GoOnWithoutX();
        return ClockNow();
    }
    SyncWindows();
    KeyTarget();  // the focus shows where the next key goes (on a page the sheet just showed)
    PutChanged();
    ReadEvents();
    XFlush(m_x);
    if (g_lost) {
        GoOnWithoutX();
        return ClockNow();
    }
    if (m_destroyedElsewhere) {
        DisplayLost("a window was destroyed by another X client");
        return ClockNow();
    }
    ULONGLONG now = ClockNow();
    ULONGLONG wake = std::min(now + kPollMs, input::PointerResting(now));
    if (HeadlessOperator* op = AttachedOperator()) wake = std::min(wake, op->Idle());
    return wake;
}

void X11Display::Stop() {
    if (m_stopped) return;
    m_stopped = true;
    if (g_lost) return;  // the connection is dead: nothing of it may be touched
    CloseMenu();
    for (auto& [hwnd, w] : m_windows) Release(w);
    m_windows.clear();
    XCloseDisplay(m_x);
}

void X11Display::SyncWindows() {
    std::vector<HWND> tops = VisibleTopLevels();
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        bool shown = std::find(tops.begin(), tops.end(), it->first) != tops.end();
        if (!::IsWindow(it->first)) {
            Release(it->second);
            it = m_windows.erase(it);
            continue;
        }
        if (!shown && it->second.mapped) {
            XUnmapWindow(m_x, it->second.id);
            if (it->second.frame) XUnmapWindow(m_x, it->second.frame);
            it->second.mapped = it->second.viewable = false;
        }
        ++it;
    }
    for (HWND top : tops) Show(top);
    // The keyboard goes to the active window (the one a closed message box leaves, too).
    HWND active = tops.empty() ? nullptr : tops.back();
    DrawFrames(active);
    if (active != m_focused) {
        auto w = m_windows.find(active);
        if (w != m_windows.end() && w->second.viewable) Focus(active, w->second.id);
    }
    if (m_menu.id && !m_windows.count(m_menu.owner)) CloseMenu();
    if (m_capture && !::IsWindow(m_capture)) m_capture = nullptr;
}

void X11Display::Show(HWND top) {
    RECT r;
    ::GetWindowRect(top, &r);
    int width = std::max<int>(r.right - r.left, 1), height = std::max<int>(r.bottom - r.top, 1);
    auto found = m_windows.find(top);
    if (found == m_windows.end()) {
        XWindow w;
        XSetWindowAttributes a{};
        a.background_pixel = BlackPixel(m_x, m_screen);
        a.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                       PointerMotionMask | LeaveWindowMask | StructureNotifyMask;
        // A frame the display draws stands where the window's place is, the window inside it.
        int inset = m_framed ? kFrameBorder : 0, caption = m_framed ? kFrameCaption : 0;
        w.id = XCreateWindow(m_x, RootWindow(m_x, m_screen), r.left + inset, r.top + inset + caption, unsigned(width),
                             unsigned(height), 0,
                             CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &a);
        XSetWMProtocols(m_x, w.id, &m_deleteWindow, 1);
        if (m_framed) {
            XSetWindowAttributes f{};
            f.override_redirect = True;
            f.event_mask = ExposureMask;
            w.frame = XCreateWindow(m_x, RootWindow(m_x, m_screen), r.left, r.top, unsigned(width + 2 * kFrameBorder),
                                    unsigned(height + 2 * kFrameBorder + kFrameCaption), 0, CopyFromParent, InputOutput,
                                    CopyFromParent, CWOverrideRedirect | CWEventMask, &f);
        }
        found = m_windows.emplace(top, w).first;
        m_byId[w.id] = top;
        if (w.frame) m_frames[w.frame] = top;
        if (HWND owner = ::GetWindow(top, GW_OWNER)) {
            auto o = m_windows.find(owner);
            if (o != m_windows.end()) XSetTransientForHint(m_x, w.id, o->second.id);
        }
    }
    XWindow& w = found->second;
    if (w.width != width || w.height != height) {
        w.width = width;
        w.height = height;
        XResizeWindow(m_x, w.id, unsigned(width), unsigned(height));
        if (w.frame)
            XResizeWindow(m_x, w.frame, unsigned(width + 2 * kFrameBorder),
                          unsigned(height + 2 * kFrameBorder + kFrameCaption));
        // Its size, and only that size.
        XSizeHints hints{};
        hints.flags = PPosition | USPosition | PMinSize | PMaxSize;
        hints.x = r.left + (m_framed ? kFrameBorder : 0);
        hints.y = r.top + (m_framed ? kFrameBorder + kFrameCaption : 0);
        hints.min_width = hints.max_width = width;
        hints.min_height = hints.max_height = height;
        XSetWMNormalHints(m_x, w.id, &hints);
        MakeImage(w);
    }
    std::string title = WindowText(top);
    if (title != w.title || !w.mapped) {
        w.title = title;
        XChangeProperty(m_x, w.id, m_netName, m_utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
        XStoreName(m_x, w.id, title.c_str());
        if (w.mapped) DrawFrame(w);
    }
    if (!w.mapped) {
        w.mapped = true;
        if (w.frame) XMapRaised(m_x, w.frame);  // just under the window
        XMapRaised(m_x, w.id);
    }
}

void X11Display::GoOnWithoutX() {
    m_stopped = true;
    // A dead connection is never closed (Xlib would touch it); it is kept, not lost.
    static auto* dead = new std::vector<::Display*>;
    dead->push_back(m_x);
    // The images are this process's own memory: freed without a word to the server.
    for (auto& [hwnd, w] : m_windows) {
        if (!w.image) continue;
        if (w.shared) {
            shmdt(w.shm.shmaddr);
            w.image->data = nullptr;
        }
        XDestroyImage(w.image);
        w.image = nullptr;
    }
    // Stops this display, touching nothing of the connection.
    DisplayLost("the connection to the X server was lost");
}

}  // namespace platform::display::x11

namespace platform::display {

using namespace x11;

std::unique_ptr<Display> MakeX11Display(std::string* why) {
    const char* name = getenv("DISPLAY");
    if (!name || !*name) {
        if (why) *why = "DISPLAY is not set";
        return nullptr;
    }
    ::Display* x = XOpenDisplay(name);
    if (!x) {
        if (why) *why = std::string("the X display ") + name + " cannot be opened";
        return nullptr;
    }
    // The surfaces' pixels go to the server as they are: blue, green, red, unused.
    Visual* v = DefaultVisual(x, DefaultScreen(x));
    if (DefaultDepth(x, DefaultScreen(x)) != 24 || v->red_mask != 0xFF0000 || v->green_mask != 0xFF00 ||
        v->blue_mask != 0xFF || ImageByteOrder(x) != LSBFirst) {
        XCloseDisplay(x);
        if (why) *why = std::string("the X display ") + name + " has no 24-bit true-colour visual";
        return nullptr;
    }
    g_lost = false;
    XSetIOErrorHandler(&OnIoError);
    XSetIOErrorExitHandler(x, &OnIoErrorExit, nullptr);
    XSetErrorHandler(&OnXError);
    return std::make_unique<X11Display>(x);
}

}  // namespace platform::display
