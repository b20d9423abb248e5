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

namespace platform::display {

namespace {

constexpr ULONGLONG kPollMs = 10;
// The system menu's rows.
constexpr int kMenuRow = 20, kMenuSeparator = 8, kMenuMargin = 24;
// The frame drawn round a window when no window manager draws one.
constexpr int kFrameBorder = 3, kFrameCaption = 18;

std::atomic<bool> g_lost{false};

int OnIoError(::Display*) {
    g_lost = true;
    return 0;
}

// Xlib's default would end the process here; returning leaves the connection dead and the
// program running.
void OnIoErrorExit(::Display*, void*) { g_lost = true; }

int OnXError(::Display* display, XErrorEvent* error) {
    char text[128] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    PlatformTrace("X11: %s (request %d)\n", text, int(error->request_code));
    return 0;
}

UINT VirtualKey(KeySym key) {
    // The Latin-1 keysyms of printable ASCII are the characters themselves.
    if (key >= 0x20 && key < 0x7F) return VirtualKeyOf(char(key));
    if (key >= XK_KP_0 && key <= XK_KP_9) return UINT(VK_NUMPAD0 + (key - XK_KP_0));
    if (key >= XK_F1 && key <= XK_F12) return UINT(VK_F1 + (key - XK_F1));
    switch (key) {
    case XK_Tab:
    case XK_ISO_Left_Tab: return VK_TAB;
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_BackSpace: return VK_BACK;
    case XK_Delete: return VK_DELETE;
    case XK_Left: return VK_LEFT;
    case XK_Right: return VK_RIGHT;
    case XK_Up: return VK_UP;
    case XK_Down: return VK_DOWN;
    case XK_Home: return VK_HOME;
    case XK_End: return VK_END;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R: return VK_MENU;
    case XK_KP_Multiply: return VK_MULTIPLY;
    case XK_KP_Add: return VK_ADD;
    case XK_KP_Subtract: return VK_SUBTRACT;
    case XK_KP_Decimal: return VK_DECIMAL;
    case XK_KP_Divide: return VK_DIVIDE;
    default: return 0;
    }
}

// The character a key types, as WM_CHAR carries it: printable ASCII and the control keys a
// dialog reads as characters (Enter, Tab, Escape, Backspace); 0 for none.
char Typed(const char* text, int length) {
    if (length != 1) return 0;
    unsigned char ch = static_cast<unsigned char>(text[0]);
    bool control = ch == '\r' || ch == '\t' || ch == 0x1B || ch == 0x08;
    return (ch >= 0x20 && ch < 0x7F) || control ? char(ch) : 0;
}

bool IsClass(HWND window, const char* name) {
    char cls[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    return strcasecmp(cls, name) == 0;
}

// Windows that take no pointer input of their own: labels, pictures and group boxes.
bool PointerTransparent(HWND window) {
    if (IsClass(window, "Static")) return true;
    return IsClass(window, "Button") && (DWORD(::GetWindowLongPtrA(window, GWL_STYLE)) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The deepest visible window under a screen point, within `parent`; null when it is disabled.
HWND WindowAt(HWND parent, POINT screen) {
    for (HWND child : GetChildWindowList(parent)) {
        RECT r;
        if (!::IsWindowVisible(child) || !::GetWindowRect(child, &r) || !::PtInRect(&r, screen)) continue;
        if (PointerTransparent(child)) continue;
        if (!::IsWindowEnabled(child)) return nullptr;
        return WindowAt(child, screen);
    }
    return parent;
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

    ULONGLONG Idle() override {
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

    void Stop() override {
        if (m_stopped) return;
        m_stopped = true;
        if (g_lost) return;  // the connection is dead: nothing of it may be touched
        CloseMenu();
        for (auto& [hwnd, w] : m_windows) Release(w);
        m_windows.clear();
        XCloseDisplay(m_x);
    }

private:
    // ---- windows ----

    void SyncWindows() {
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

    void Show(HWND top) {
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

    // ---- frames, where no window manager draws them ----

    // A window manager announces itself on the root window (EWMH) or owns the screen's WM_Sn
    // selection (ICCCM).
    bool WindowManagerRuns() {
        Atom check = XInternAtom(m_x, "_NET_SUPPORTING_WM_CHECK", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool announced = XGetWindowProperty(m_x, RootWindow(m_x, m_screen), check, 0, 1, False, XA_WINDOW, &type, &format,
                                            &count, &after, &data) == Success &&
                         type == XA_WINDOW && count == 1;
        if (data) XFree(data);
        std::string selection = "WM_S" + std::to_string(m_screen);
        return announced || XGetSelectionOwner(m_x, XInternAtom(m_x, selection.c_str(), False)) != None;
    }

    // The active window's frame in the active caption's colours, the others' in the inactive.
    void DrawFrames(HWND active) {
        for (auto& [hwnd, w] : m_windows)
            if (w.frame && w.mapped && w.active != (hwnd == active)) {
                w.active = hwnd == active;
                DrawFrame(w);
            }
    }

    void DrawFrame(const XWindow& w) {
        if (!w.frame) return;
        int width = w.width + 2 * kFrameBorder, height = w.height + 2 * kFrameBorder + kFrameCaption;
        PutDrawn(w.frame, width, height, [&](HDC dc) {
            RECT all{0, 0, width, height};
            FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
            RECT bar{kFrameBorder, kFrameBorder, width - kFrameBorder, kFrameBorder + kFrameCaption - 1};
            FillRect(dc, &bar, GetSysColorBrush(w.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(w.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            RECT text{bar.left + 4, bar.top, bar.right - 2, bar.bottom};
            DrawTextA(dc, w.title.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        });
    }

    // Draws width x height pixels with the platform's own GDI and puts them in an X window.
    void PutDrawn(Window id, int width, int height, const std::function<void(HDC)>& draw) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) {
            if (bitmap) DeleteObject(bitmap);
            DeleteDC(dc);
            return;
        }
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        draw(dc);
        XImage* image = XCreateImage(m_x, m_visual, unsigned(DefaultDepth(m_x, m_screen)), ZPixmap, 0,
                                     static_cast<char*>(bits), unsigned(width), unsigned(height), 32, 0);
        if (image) {
            XPutImage(m_x, id, DefaultGC(m_x, m_screen), image, 0, 0, 0, 0, unsigned(width), unsigned(height));
            image->data = nullptr;  // the DIB section's
            XDestroyImage(image);
        }
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    static std::string WindowText(HWND window) {
        char text[512] = {};
        ::GetWindowTextA(window, text, sizeof text);
        return text;
    }

    void MakeImage(XWindow& w) {
        FreeImage(w);
        int depth = DefaultDepth(m_x, m_screen);
        if (m_hasShm) {
            w.image = XShmCreateImage(m_x, m_visual, unsigned(depth), ZPixmap, nullptr, &w.shm, unsigned(w.width),
                                      unsigned(w.height));
            if (w.image) {
                w.shm.shmid = shmget(IPC_PRIVATE, size_t(w.image->bytes_per_line) * size_t(w.height), IPC_CREAT | 0600);
                void* at = w.shm.shmid >= 0 ? shmat(w.shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
                if (at != reinterpret_cast<void*>(-1)) {
                    w.shm.shmaddr = w.image->data = static_cast<char*>(at);
                    w.shm.readOnly = True;
                    w.shared = XShmAttach(m_x, &w.shm) && SyncedWithoutError();
                    shmctl(w.shm.shmid, IPC_RMID, nullptr);  // goes when both sides detach
                }
                if (!w.shared) {
                    // A server that cannot reach this memory (another machine): plain requests.
                    if (w.shm.shmaddr) shmdt(w.shm.shmaddr);
                    else if (w.shm.shmid >= 0) shmctl(w.shm.shmid, IPC_RMID, nullptr);
                    w.image->data = nullptr;
                    XDestroyImage(w.image);
                    w.image = nullptr;
                    w.shm = XShmSegmentInfo{};
                    m_hasShm = false;
                }
            }
        }
        if (!w.image) {
            char* data = static_cast<char*>(calloc(size_t(w.width) * size_t(w.height), 4));
            w.image = XCreateImage(m_x, m_visual, unsigned(depth), ZPixmap, 0, data, unsigned(w.width), unsigned(w.height),
                                   32, 0);
            if (!w.image) free(data);
        }
    }

    bool SyncedWithoutError() {
        int before = m_errors;
        XErrorHandler old = XSetErrorHandler(&CountError);
        g_counting = this;
        XSync(m_x, False);
        XSetErrorHandler(old);
        g_counting = nullptr;
        return m_errors == before;
    }

    static int CountError(::Display*, XErrorEvent*) {
        if (g_counting) ++g_counting->m_errors;
        return 0;
    }

    void FreeImage(XWindow& w) {
        if (!w.image) return;
        if (w.shared) {
            XShmDetach(m_x, &w.shm);
            XSync(m_x, False);
            shmdt(w.shm.shmaddr);
            w.image->data = nullptr;
        }
        XDestroyImage(w.image);  // frees a plain image's pixels
        w.image = nullptr;
        w.shared = false;
        w.shm = XShmSegmentInfo{};
    }

    void Release(XWindow& w) {
        FreeImage(w);
        m_byId.erase(w.id);
        XDestroyWindow(m_x, w.id);
        if (w.frame) {
            m_frames.erase(w.frame);
            XDestroyWindow(m_x, w.frame);
        }
    }

    // ---- pixels ----

    void PutChanged() {
        std::map<HWND, std::vector<RECT>> dirty;
        dirty.swap(m_dirty);
        for (auto& [top, rects] : dirty) {
            auto it = m_windows.find(top);
            if (it == m_windows.end() || !it->second.mapped) continue;
            for (const RECT& r : rects) Put(it->second, top, r);
        }
    }

    // Copies a rectangle of the surface into the window's image and puts it.
    void Put(XWindow& w, HWND top, RECT r) {
        if (!w.image) return;
        r.left = std::max<LONG>(r.left, 0);
        r.top = std::max<LONG>(r.top, 0);
        bool any = false;
        ViewSurface(top, [&](const SurfaceView& view) {
            r.right = std::min<LONG>({r.right, w.width, view.width});
            r.bottom = std::min<LONG>({r.bottom, w.height, view.height});
            if (r.right <= r.left || r.bottom <= r.top) return;
            any = true;
            for (int y = r.top; y < r.bottom; ++y)
                std::memcpy(w.image->data + size_t(y) * size_t(w.image->bytes_per_line) + size_t(r.left) * 4,
                            view.pixels + size_t(y) * size_t(view.stride) + size_t(r.left) * 4,
                            size_t(r.right - r.left) * 4);
        });
        if (!any) return;
        GC gc = DefaultGC(m_x, m_screen);
        unsigned width = unsigned(r.right - r.left), height = unsigned(r.bottom - r.top);
        if (w.shared) XShmPutImage(m_x, w.id, gc, w.image, r.left, r.top, r.left, r.top, width, height, False);
        else XPutImage(m_x, w.id, gc, w.image, r.left, r.top, r.left, r.top, width, height);
    }

    // ---- input ----

    void ReadEvents() {
        while (!g_lost && XPending(m_x) > 0) {
            XEvent e;
            XNextEvent(m_x, &e);
            // Of a run of moves only the last counts.
            if (e.type == MotionNotify)
                while (XCheckTypedWindowEvent(m_x, e.xmotion.window, MotionNotify, &e)) {
                }
            if (m_menu.id && e.xany.window == m_menu.id) {
                MenuEvent(e);
                continue;
            }
            if (auto f = m_frames.find(e.xany.window); f != m_frames.end()) {
                auto w = m_windows.find(f->second);
                if (e.type == Expose && e.xexpose.count == 0 && w != m_windows.end()) DrawFrame(w->second);
                continue;
            }
            auto it = m_byId.find(e.xany.window);
            if (it == m_byId.end()) continue;
            HWND top = it->second;
            if (e.type == DestroyNotify && e.xdestroywindow.window == e.xany.window) {
                // Not this display's own doing: it takes the window out of its table first.
                m_byId.erase(it);
                m_destroyedElsewhere = true;
                return;
            }
            if (e.type == Expose) {
                auto w = m_windows.find(top);
                if (w != m_windows.end())
                    Put(w->second, top, RECT{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                             e.xexpose.y + e.xexpose.height});
                continue;
            }
            if (e.type == MapNotify) {
                auto w = m_windows.find(top);
                if (w != m_windows.end()) w->second.viewable = true;
                if (top == ActiveTopLevel()) Focus(top, e.xany.window);
                continue;
            }
            if (m_menu.id && (e.type == ButtonPress || e.type == KeyPress)) {
                // A press elsewhere closes the menu; keys steer it.
                if (e.type == KeyPress) MenuKey(e);
                else CloseMenu();
                continue;
            }
            // Keys typed while the server still focuses an owner that a new modal dialog or
            // message box disabled belong to that dialog, as the keyboard focus went with it.
            if ((e.type == KeyPress || e.type == KeyRelease) && !::IsWindowEnabled(top)) {
                HWND active = ActiveTopLevel();
                if (active && active != top && ::IsWindowEnabled(active) && m_windows.count(active)) {
                    Key(active, e.xkey);
                    return;
                }
            }
            // A window under a modal dialog or message box takes nothing.
            if (!::IsWindowEnabled(top)) continue;
            switch (e.type) {
            case ButtonPress:
            case ButtonRelease: Button(top, e.xbutton); break;
            case MotionNotify: Motion(top, e.xmotion.x, e.xmotion.y, e.xmotion.state); break;
            case LeaveNotify:
                if (e.xcrossing.mode == NotifyNormal && !m_capture) input::PointerAt(nullptr, POINT{}, ClockNow());
                break;
            case KeyPress:
            case KeyRelease:
                Key(top, e.xkey);
                // The rest waits until the key's messages are handled, so that GetKeyState
                // answers as it stood when the key came (Shift held for a Shift-Tab).
                return;
            case ClientMessage:
                if (e.xclient.message_type == m_protocols && Atom(e.xclient.data.l[0]) == m_deleteWindow)
                    ::PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            default: break;
            }
        }
    }

    void Focus(HWND top, Window id) {
        m_focused = top;
        XSetInputFocus(m_x, id, RevertToParent, CurrentTime);
    }

    static POINT ScreenPoint(HWND top, int x, int y) {
        RECT r;
        ::GetWindowRect(top, &r);
        return POINT{r.left + x, r.top + y};
    }

    static LPARAM ClientPosition(HWND window, POINT screen) {
        ::ScreenToClient(window, &screen);
        return MAKELPARAM(WORD(short(screen.x)), WORD(short(screen.y)));
    }

    void Motion(HWND top, int x, int y, unsigned state) {
        POINT screen = ScreenPoint(top, x, y);
        HWND under = WindowAt(top, screen);
        POINT client = screen;
        if (under) ::ScreenToClient(under, &client);
        input::PointerAt(under, client, ClockNow());
        HWND target = m_capture ? m_capture : under;
        if (target) ::PostMessageA(target, WM_MOUSEMOVE, (state & Button1Mask) ? MK_LBUTTON : 0, ClientPosition(target, screen));
    }

    void Button(HWND top, const XButtonEvent& b) {
        POINT screen = ScreenPoint(top, b.x, b.y);
        if (b.button == Button3 && b.type == ButtonPress) {
            OpenSystemMenu(top, b.x_root, b.y_root);
            return;
        }
        if ((b.button == Button4 || b.button == Button5) && b.type == ButtonPress) {
            // The wheel: a notch to the window under the pointer, the place in screen coordinates.
            if (HWND under = WindowAt(top, screen))
                ::PostMessageA(under, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(b.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA))),
                               MAKELPARAM(WORD(short(screen.x)), WORD(short(screen.y))));
            return;
        }
        if (b.button != Button1) return;
        if (b.type == ButtonPress) {
            m_capture = WindowAt(top, screen);
            if (m_capture) ::PostMessageA(m_capture, WM_LBUTTONDOWN, MK_LBUTTON, ClientPosition(m_capture, screen));
        } else {
            HWND target = m_capture ? m_capture : WindowAt(top, screen);
            m_capture = nullptr;
            if (target && ::IsWindow(target)) ::PostMessageA(target, WM_LBUTTONUP, 0, ClientPosition(target, screen));
        }
    }

    void Key(HWND top, XKeyEvent& k) {
        char text[8] = {};
        KeySym typed = NoSymbol;
        int length = XLookupString(&k, text, sizeof text - 1, &typed, nullptr);
        // The virtual key names the key itself, whatever Shift makes it type; the keypad's digits
        // as Num Lock gives them.
        bool keypadDigit = typed >= XK_KP_0 && typed <= XK_KP_9;
        UINT vk = VirtualKey(keypadDigit ? typed : XLookupKeysym(&k, 0));
        if (!vk) return;
        bool down = k.type == KeyPress;
        input::SetKeyDown(vk, down);
        if (down && vk == VK_SPACE && (k.state & Mod1Mask)) {
            RECT r;
            ::GetWindowRect(top, &r);
            OpenSystemMenu(top, r.left, r.top);
            return;
        }
        LPARAM flags = 1 | (LPARAM(k.keycode & 0xFF) << 16) | (down ? 0 : LPARAM(0xC0000000u));
        OperatorKey(vk, down, flags, down && !(k.state & (ControlMask | Mod1Mask)) ? Typed(text, length) : 0);
    }

    // ---- the system menu ----

    void OpenSystemMenu(HWND top, int x, int y) {
        CloseMenu();
        std::vector<CMenu::Item> items = mfc::SystemMenuItems(top);
        if (items.empty()) return;
        m_menu.owner = top;
        m_menu.items = std::move(items);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        int width = 0, y0 = 2;
        for (const CMenu::Item& item : m_menu.items) {
            m_menu.tops.push_back(y0);
            if (item.flags & MF_SEPARATOR) {
                y0 += kMenuSeparator;
                continue;
            }
            RECT r{0, 0, 0, 0};
            DrawTextA(dc, item.text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
            width = std::max<int>(width, r.right);
            y0 += kMenuRow;
        }
        SelectObject(dc, oldFont);
        DeleteDC(dc);
        // Opened with its first line lit, so Enter chooses it.
        m_menu.lit = MenuStep(-1, 1);
        m_menu.width = width + 2 * kMenuMargin;
        m_menu.height = y0 + 2;
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
        m_menu.id = XCreateWindow(m_x, RootWindow(m_x, m_screen), x, y, unsigned(m_menu.width), unsigned(m_menu.height),
                                  0, CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &a);
        XMapRaised(m_x, m_menu.id);
    }

    void CloseMenu() {
        if (!m_menu.id) return;
        XDestroyWindow(m_x, m_menu.id);
        m_menu = OpenMenu{};
    }

    int MenuRowAt(int y) const {
        for (size_t i = 0; i < m_menu.items.size(); ++i) {
            int bottom = m_menu.tops[i] + ((m_menu.items[i].flags & MF_SEPARATOR) ? kMenuSeparator : kMenuRow);
            if (y >= m_menu.tops[i] && y < bottom) return (m_menu.items[i].flags & MF_SEPARATOR) ? -1 : int(i);
        }
        return -1;
    }

    // The menu drawn with the platform's own GDI and put as one image.
    void DrawMenu() {
        PutDrawn(m_menu.id, m_menu.width, m_menu.height, [&](HDC dc) {
            RECT all{0, 0, m_menu.width, m_menu.height};
            FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
            DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
            SetBkMode(dc, TRANSPARENT);
            for (size_t i = 0; i < m_menu.items.size(); ++i) {
                int top = m_menu.tops[i];
                if (m_menu.items[i].flags & MF_SEPARATOR) {
                    RECT line{3, top + kMenuSeparator / 2 - 1, m_menu.width - 3, top + kMenuSeparator / 2 + 1};
                    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
                    continue;
                }
                RECT row{3, top, m_menu.width - 3, top + kMenuRow};
                bool lit = int(i) == m_menu.lit;
                if (lit) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
                bool grey = m_menu.items[i].flags & (MF_GRAYED | MF_DISABLED);
                SetTextColor(dc, GetSysColor(grey ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
                RECT text{kMenuMargin, top, m_menu.width - 4, top + kMenuRow};
                DrawTextA(dc, m_menu.items[i].text, -1, &text, DT_SINGLELINE | DT_VCENTER);
            }
        });
    }

    void Choose(int row) {
        if (row < 0 || size_t(row) >= m_menu.items.size()) return;
        if (m_menu.items[size_t(row)].flags & (MF_GRAYED | MF_DISABLED)) return;  // a grey line is not chosen
        HWND owner = m_menu.owner;
        UINT id = UINT(m_menu.items[size_t(row)].id);
        CloseMenu();
        if (::IsWindow(owner) && ::IsWindowEnabled(owner)) ::PostMessageA(owner, WM_SYSCOMMAND, id, 0);
    }

    void MenuEvent(const XEvent& e) {
        switch (e.type) {
        case Expose: DrawMenu(); break;
        case MotionNotify: {
            int row = MenuRowAt(e.xmotion.y);
            if (row != m_menu.lit) {
                m_menu.lit = row;
                DrawMenu();
            }
            break;
        }
        case ButtonRelease:
            if (e.xbutton.button == Button1) Choose(MenuRowAt(e.xbutton.y));
            break;
        case KeyPress: MenuKey(e); break;
        default: break;
        }
    }

    // The line `by` lines on from `row` (-1 for none), past the separators; `row` when none is.
    int MenuStep(int row, int by) const {
        int n = int(m_menu.items.size());
        for (int i = 0, at = row; i < n; ++i) {
            at = ((at < 0 ? (by > 0 ? -1 : 0) : at) + by + n) % n;
            if (!(m_menu.items[size_t(at)].flags & MF_SEPARATOR)) return at;
        }
        return row;
    }

    void MenuKey(XEvent e) {
        KeySym sym = XLookupKeysym(&e.xkey, 0);
        auto step = [&](int by) {
            m_menu.lit = MenuStep(m_menu.lit, by);
            DrawMenu();
        };
        if (sym == XK_Escape) CloseMenu();
        else if (sym == XK_Down) step(1);
        else if (sym == XK_Up) step(-1);
        else if (sym == XK_Return || sym == XK_KP_Enter) Choose(m_menu.lit);
    }

    // ---- a lost connection ----

    void GoOnWithoutX() {
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

}  // namespace

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
