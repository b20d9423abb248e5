#include "XServerSession.h"

#include <sys/wait.h>
#include <unistd.h>

// gtest before Xlib, whose macros (None, Bool) its templates would meet.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <fstream>

#include "platform/display.h"

namespace testsupport {

namespace {

std::string ReadLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::vector<uint32_t> ReadPixels(::Display* x, Window window, int left, int top, int width, int height) {
    std::vector<uint32_t> out;
    XImage* image = XGetImage(x, window, left, top, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image) return out;
    out.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int c = 0; c < width; ++c) out.push_back(uint32_t(XGetPixel(image, c, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
}

std::string Title(::Display* x, Window w) {
    Atom name = XInternAtom(x, "_NET_WM_NAME", False), utf8 = XInternAtom(x, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(x, w, name, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

}  // namespace

XServerSession::~XServerSession() {
    platform::StopDisplay();
    if (m_x) XCloseDisplay(m_x);
}

bool XServerSession::Start(std::string* why) {
    const char* state = getenv("PELVATRO_TEST_XVFB");
    if (!state) {
        *why = "no X server fixture (run through ctest)";
        return false;
    }
    std::string display = ReadLine(std::string(state) + ".display");
    if (display.empty()) {
        std::string reason = ReadLine(std::string(state) + ".reason");
        *why = reason.empty() ? "Xvfb did not start" : reason;
        return false;
    }
    setenv("DISPLAY", display.c_str(), 1);
    int event = 0, error = 0, major = 0, minor = 0;
    m_x = XOpenDisplay(display.c_str());
    if (!m_x || !XTestQueryExtension(m_x, &event, &error, &major, &minor)) {
        *why = "the X server " + display + " cannot be opened or has no XTest";
        return false;
    }
    platform::StartDisplay(platform::DisplayKind::X11);
    platform::Display* d = platform::CurrentDisplay();
    if (!d || d->Kind() != platform::DisplayKind::X11) {
        *why = "the X11 display did not start on " + display;
        return false;
    }
    return true;
}

XWindowId XServerSession::Find(const std::string& title) const {
    Window root = DefaultRootWindow(m_x), parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(m_x, root, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(m_x, children[i], &a) && a.map_state == IsViewable && Title(m_x, children[i]) == title)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

POINT XServerSession::Origin(Window window) const {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_x, window, DefaultRootWindow(m_x), 0, 0, &x, &y, &child);
    return POINT{x, y};
}

XWindowId XServerSession::Of(HWND topLevel) const {
    char text[512] = {};
    ::GetWindowTextA(topLevel, text, sizeof text);
    return Find(text);
}

void XServerSession::MoveTo(int x, int y) {
    XTestFakeMotionEvent(m_x, DefaultScreen(m_x), x, y, CurrentTime);
    XSync(m_x, False);
}

void XServerSession::Press(unsigned button) {
    XTestFakeButtonEvent(m_x, button, True, CurrentTime);
    XSync(m_x, False);
}

void XServerSession::Release(unsigned button) {
    XTestFakeButtonEvent(m_x, button, False, CurrentTime);
    XSync(m_x, False);
}

void XServerSession::Click(int x, int y) {
    MoveTo(x, y);
    Press();
    Release();
}

void XServerSession::Key(unsigned long keysym, bool shift, bool alt) {
    KeyCode shiftKey = XKeysymToKeycode(m_x, XK_Shift_L), altKey = XKeysymToKeycode(m_x, XK_Alt_L);
    KeyCode key = XKeysymToKeycode(m_x, keysym);
    if (shift) XTestFakeKeyEvent(m_x, shiftKey, True, CurrentTime);
    if (alt) XTestFakeKeyEvent(m_x, altKey, True, CurrentTime);
    XTestFakeKeyEvent(m_x, key, True, CurrentTime);
    XTestFakeKeyEvent(m_x, key, False, CurrentTime);
    if (alt) XTestFakeKeyEvent(m_x, altKey, False, CurrentTime);
    if (shift) XTestFakeKeyEvent(m_x, shiftKey, False, CurrentTime);
    XSync(m_x, False);
}

POINT XServerSession::CentreOf(HWND control) const {
    HWND top = control;
    while (::GetParent(top)) top = ::GetParent(top);
    RECT r, t;
    ::GetWindowRect(control, &r);
    ::GetWindowRect(top, &t);
    POINT origin = Origin(Of(top));
    return POINT{origin.x + (r.left + r.right) / 2 - t.left, origin.y + (r.top + r.bottom) / 2 - t.top};
}

void XServerSession::AskToClose(Window window) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(m_x, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_x, window, False, NoEventMask, &e);
    XSync(m_x, False);
}

std::vector<uint32_t> XServerSession::Pixels(Window window, int width, int height) const {
    return ReadPixels(m_x, window, 0, 0, width, height);
}

std::vector<uint32_t> XServerSession::ScreenPixels(const RECT& area) const {
    return ReadPixels(m_x, DefaultRootWindow(m_x), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void XServerSession::KillClientOf(Window window) {
    XKillClient(m_x, window);
    XSync(m_x, False);
}

void XServerSession::Destroy(Window window) {
    XDestroyWindow(m_x, window);
    XSync(m_x, False);
}

ChildRun RunInChild(const std::function<int(XServerSession& x)>& body) {
    int err[2];
    ChildRun run;
    if (pipe(err) != 0) return run;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(err[1], STDERR_FILENO);
        XServerSession x;
        std::string why;
        _exit(x.Start(&why) ? body(x) : 77);
    }
    close(err[1]);
    char buffer[512];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) run.err.append(buffer, size_t(n));
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

void Await(platform::TestOperator& op, std::function<bool()> ready, const char* what, std::function<void()> step,
           int seconds) {
    auto deadline = std::make_shared<std::chrono::steady_clock::time_point>();
    // What the last look saw: a condition on pixels that held may no longer hold a moment later.
    auto held = std::make_shared<bool>(false);
    op.Then([deadline, seconds] { *deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds); });
    op.When([=] { return (*held = ready()) || std::chrono::steady_clock::now() > *deadline; },
            [=] {
                EXPECT_TRUE(*held) << "never came: " << what;
                if (step) step();
            });
}

}  // namespace testsupport
