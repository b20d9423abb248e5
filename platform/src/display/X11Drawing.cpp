// The X11 display's drawing: the surfaces' pixels put in their X windows, the frames where no
// window manager draws them, and the system menu's image.
#include "display/X11Display.h"

namespace platform::display::x11 {

// A window manager announces itself on the root window (EWMH) or owns the screen's WM_Sn
// selection (ICCCM).
bool X11Display::WindowManagerRuns() {
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
void X11Display::DrawFrames(HWND active) {
    for (auto& [hwnd, w] : m_windows)
        if (w.frame && w.mapped && w.active != (hwnd == active)) {
            w.active = hwnd == active;
            DrawFrame(w);
        }
}

void X11Display::DrawFrame(const XWindow& w) {
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
void X11Display::PutDrawn(Window id, int width, int height, const std::function<void(HDC)>& draw) {
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

std::string X11Display::WindowText(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

void X11Display::MakeImage(XWindow& w) {
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

bool X11Display::SyncedWithoutError() {
    int before = m_errors;
    XErrorHandler old = XSetErrorHandler(&CountError);
    g_counting = this;
    XSync(m_x, False);
    XSetErrorHandler(old);
    g_counting = nullptr;
    return m_errors == before;
}

void X11Display::FreeImage(XWindow& w) {
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

void X11Display::Release(XWindow& w) {
    FreeImage(w);
    m_byId.erase(w.id);
    XDestroyWindow(m_x, w.id);
    if (w.frame) {
        m_frames.erase(w.frame);
        XDestroyWindow(m_x, w.frame);
    }
}

void X11Display::PutChanged() {
    std::map<HWND, std::vector<RECT>> dirty;
    dirty.swap(m_dirty);
    for (auto& [top, rects] : dirty) {
        auto it = m_windows.find(top);
        if (it == m_windows.end() || !it->second.mapped) continue;
        for (const RECT& r : rects) Put(it->second, top, r);
    }
}

// Copies a rectangle of the surface into the window's image and puts it.
void X11Display::Put(XWindow& w, HWND top, RECT r) {
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

// The menu drawn with the platform's own GDI and put as one image.
void X11Display::DrawMenu() {
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

}  // namespace platform::display::x11
