// The X11 display's input: the X events turned into the messages a person's pointer and keys
// give, and the system menu worked by them.
#include "display/X11Display.h"

namespace platform::display::x11 {

namespace {

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

}  // namespace

void X11Display::ReadEvents() {
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

POINT X11Display::ScreenPoint(HWND top, int x, int y) {
    RECT r;
    ::GetWindowRect(top, &r);
    return POINT{r.left + x, r.top + y};
}

void X11Display::Motion(HWND top, int x, int y, unsigned state) {
    POINT screen = ScreenPoint(top, x, y);
    HWND under = WindowAt(top, screen);
    POINT client = screen;
    if (under) ::ScreenToClient(under, &client);
    input::PointerAt(under, client, ClockNow());
    HWND target = m_capture ? m_capture : under;
    if (target) ::PostMessageA(target, WM_MOUSEMOVE, (state & Button1Mask) ? MK_LBUTTON : 0, ClientPosition(target, screen));
}

void X11Display::Button(HWND top, const XButtonEvent& b) {
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

void X11Display::Key(HWND top, XKeyEvent& k) {
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

void X11Display::OpenSystemMenu(HWND top, int x, int y) {
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

void X11Display::CloseMenu() {
    if (!m_menu.id) return;
    XDestroyWindow(m_x, m_menu.id);
    m_menu = OpenMenu{};
}

int X11Display::MenuRowAt(int y) const {
    for (size_t i = 0; i < m_menu.items.size(); ++i) {
        int bottom = m_menu.tops[i] + ((m_menu.items[i].flags & MF_SEPARATOR) ? kMenuSeparator : kMenuRow);
        if (y >= m_menu.tops[i] && y < bottom) return (m_menu.items[i].flags & MF_SEPARATOR) ? -1 : int(i);
    }
    return -1;
}

void X11Display::Choose(int row) {
    if (row < 0 || size_t(row) >= m_menu.items.size()) return;
    if (m_menu.items[size_t(row)].flags & (MF_GRAYED | MF_DISABLED)) return;  // a grey line is not chosen
    HWND owner = m_menu.owner;
    UINT id = UINT(m_menu.items[size_t(row)].id);
    CloseMenu();
    if (::IsWindow(owner) && ::IsWindowEnabled(owner)) ::PostMessageA(owner, WM_SYSCOMMAND, id, 0);
}

void X11Display::MenuEvent(const XEvent& e) {
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
int X11Display::MenuStep(int row, int by) const {
    int n = int(m_menu.items.size());
    for (int i = 0, at = row; i < n; ++i) {
        at = ((at < 0 ? (by > 0 ? -1 : 0) : at) + by + n) % n;
        if (!(m_menu.items[size_t(at)].flags & MF_SEPARATOR)) return at;
    }
    return row;
}

void X11Display::MenuKey(XEvent e) {
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

}  // namespace platform::display::x11
