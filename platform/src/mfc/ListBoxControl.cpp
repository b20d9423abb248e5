// The "ListBox" window class: a list of texts, sorted with LBS_SORT, one selection, a first line
// shown that scrolls (WS_VSCROLL: a bar with arrows and a thumb, the wheel, the keys when focused).
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "ControlPaint.h"
#include "ControlStates.h"
#include "platform/winctrl.h"

namespace mfc {

namespace {

struct Item {
    std::string text;
    LPARAM data = 0;
};

struct ListBoxState {
    std::vector<Item> items;
    int selection = LB_ERR;
    int top = 0;          // the first line shown
    int visible = 1;      // lines the box shows whole (at least one)
    int dragFrom = -1;    // while the thumb is dragged: the pointer's y where it was taken
    int dragTop = 0;      //   and the first line then
    bool focused = false;

    int Count() const { return int(items.size()); }
    int LastTop() const { return std::max(0, Count() - visible); }
    void ScrollTo(int line) { top = std::clamp(line, 0, LastTop()); }
    void ShowLine(int line) {
        if (line < top) top = line;
        else if (line >= top + visible) top = line - visible + 1;
        ScrollTo(top);
    }
};

constexpr int kBar = 16;       // the scroll bar's width and its arrows' height
constexpr int kMinThumb = 8;

ControlStates<ListBoxState>& States() {
    static auto* states = new ControlStates<ListBoxState>;
    return *states;
}

LRESULT Find(HWND window, int after, const char* text, bool exact) {
    std::string wanted = text ? text : "";
    return States().With(window, [&](ListBoxState& s) -> LRESULT {
        int count = int(s.items.size());
        for (int n = 0; n < count; ++n) {
            int i = (after + 1 + n) % count;
            if (i < 0) i += count;
            const std::string& t = s.items[i].text;
            bool match = exact ? strcasecmp(t.c_str(), wanted.c_str()) == 0
                               : strncasecmp(t.c_str(), wanted.c_str(), wanted.size()) == 0;
            if (match) return i;
        }
        return LB_ERR;
    });
}

// One line of the control's font.
int ItemHeight(HDC dc) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return std::max<LONG>(tm.tmHeight, 1);
}

int ItemHeight(HWND window) {
    HDC dc = ::GetDC(window);
    HGDIOBJ old = SelectObject(dc, ControlFont(window));
    int height = ItemHeight(dc);
    SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return height;
}

// Where the lines and the scroll bar stand in the client area.
struct Geometry {
    RECT lines{};
    RECT bar{};  // empty without a bar
    RECT thumb{};
    int itemHeight = 1;
};

RECT Inside(HWND window) {
    RECT r;
    ::GetClientRect(window, &r);
    LONG_PTR ex = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    int edge = (ex & WS_EX_CLIENTEDGE) ? 2 : (ex & WS_EX_STATICEDGE) ? 1 : 0;
    if (::GetWindowLongPtrA(window, GWL_STYLE) & WS_BORDER) ++edge;
    InflateRect(&r, -edge, -edge);
    return r;
}

// Also sets the lines the box shows whole.
Geometry Measure(HWND window, ListBoxState& s, int itemHeight) {
    Geometry g;
    g.itemHeight = itemHeight;
    g.lines = Inside(window);
    s.visible = std::max(1, int((g.lines.bottom - g.lines.top) / itemHeight));
    s.ScrollTo(s.top);
    if (!(::GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL) || s.Count() <= s.visible) return g;
    g.bar = RECT{g.lines.right - kBar, g.lines.top, g.lines.right, g.lines.bottom};
    g.lines.right = g.bar.left;
    int track = std::max(0, int(g.bar.bottom - g.bar.top) - 2 * kBar);
    int thumb = std::min(track, std::max(kMinThumb, track * s.visible / s.Count()));
    int at = s.LastTop() ? (track - thumb) * s.top / s.LastTop() : 0;
    g.thumb = RECT{g.bar.left, g.bar.top + kBar + at, g.bar.right, g.bar.top + kBar + at + thumb};
    return g;
}

Geometry Measure(HWND window) {
    int height = ItemHeight(window);
    return States().With(window, [&](ListBoxState& s) { return Measure(window, s, height); });
}

LRESULT Insert(HWND window, int index, const char* text, bool sorted) {
    Measure(window);
    Item item{text ? text : "", 0};
    LRESULT r = States().With(window, [&](ListBoxState& s) -> LRESULT {
        int count = int(s.items.size());
        if (sorted) {
            auto it = std::upper_bound(s.items.begin(), s.items.end(), item, [](const Item& a, const Item& b) {
                return strcasecmp(a.text.c_str(), b.text.c_str()) < 0;
            });
            index = int(it - s.items.begin());
        } else if (index < 0 || index > count) {
            if (index > count) return LB_ERR;
            index = count;
        }
        // The first line shown stays where it is: a page that wants the newest line shown says so.
        s.items.insert(s.items.begin() + index, item);
        if (s.selection >= index) ++s.selection;
        return index;
    });
    if (r != LB_ERR) Changed(window);
    return r;
}

// A small triangle pointing up or down, centred in `box`.
void Arrow(HDC dc, const RECT& box, bool up) {
    HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        int y = up ? cy - 2 + row : cy + 1 - row;
        RECT line{cx - row, y, cx + row + 1, y + 1};
        FillRect(dc, &line, ink);
    }
}

// Items one font height each from the first line shown; the selection in the highlight colours;
// the focus as a dotted rectangle round the selected line (the first when none is); the scroll
// bar with its arrows and a thumb whose size and place follow the lines shown.
void Paint(HWND window) {
    ControlPaint p(window, WM_CTLCOLORLISTBOX);
    if (!p.dc) return;
    p.FillBackground(p.client);
    p.DrawBorder();
    int itemHeight = ItemHeight(p.dc);
    ListBoxState s;
    Geometry g = States().With(window, [&](ListBoxState& st) {
        Geometry measured = Measure(window, st, itemHeight);
        s = st;
        return measured;
    });
    RECT r = g.lines;
    if (g.bar.right > g.bar.left) {
        FillRect(p.dc, &g.bar, GetSysColorBrush(COLOR_SCROLLBAR));
        RECT up{g.bar.left, g.bar.top, g.bar.right, g.bar.top + kBar};
        RECT down{g.bar.left, g.bar.bottom - kBar, g.bar.right, g.bar.bottom};
        for (RECT* part : {&up, &down, &g.thumb}) DrawEdge(p.dc, part, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        Arrow(p.dc, up, true);
        Arrow(p.dc, down, false);
    }
    SetBkMode(p.dc, TRANSPARENT);
    COLORREF text = GetTextColor(p.dc);
    IntersectClipRect(p.dc, r.left, r.top, r.right, r.bottom);
    for (int i = s.top; i < s.Count() && (i - s.top) * itemHeight < r.bottom - r.top; ++i) {
        RECT item{r.left, r.top + (i - s.top) * itemHeight, r.right, r.top + (i - s.top + 1) * itemHeight};
        if (i == s.selection) {
            FillRect(p.dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(p.dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(p.dc, text);
        }
        RECT t = item;
        t.left += 2;
        DrawTextA(p.dc, s.items[size_t(i)].text.c_str(), -1, &t, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    }
    int caret = s.selection >= 0 ? s.selection : s.top;
    if (s.focused && caret >= s.top && caret < s.top + s.visible) {
        RECT focus{r.left, r.top + (caret - s.top) * itemHeight, r.right, r.top + (caret - s.top + 1) * itemHeight};
        DrawFocusRect(p.dc, &focus);
    }
}

// Moves the first line shown as a WM_VSCROLL code asks.
void Scroll(HWND window, int code, int position) {
    Measure(window);
    bool moved = States().With(window, [&](ListBoxState& s) {
        int was = s.top;
        switch (code) {
        case SB_LINEUP: s.ScrollTo(s.top - 1); break;
        case SB_LINEDOWN: s.ScrollTo(s.top + 1); break;
        case SB_PAGEUP: s.ScrollTo(s.top - std::max(1, s.visible - 1)); break;
        case SB_PAGEDOWN: s.ScrollTo(s.top + std::max(1, s.visible - 1)); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: s.ScrollTo(position); break;
        case SB_TOP: s.ScrollTo(0); break;
        case SB_BOTTOM: s.ScrollTo(s.LastTop()); break;
        default: break;
        }
        return s.top != was;
    });
    if (moved) Changed(window);
}

void Select(HWND window, int index, bool notify) {
    Measure(window);
    bool changed = States().With(window, [&](ListBoxState& s) {
        if (s.items.empty()) return false;
        index = std::clamp(index, 0, s.Count() - 1);
        bool differs = s.selection != index;
        s.selection = index;
        s.ShowLine(index);
        return differs;
    });
    Changed(window);
    if (changed && notify && (::GetWindowLongPtrA(window, GWL_STYLE) & LBS_NOTIFY))
        ::SendMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(window));
}

// The keys of a focused list: the arrows, Page Up/Down, Home and End move the selection.
void Key(HWND window, UINT key) {
    auto [selection, page, count] = States().With(window, [](ListBoxState& s) {
        return std::tuple{s.selection >= 0 ? s.selection : s.top - 1, std::max(1, s.visible - 1), s.Count()};
    });
    switch (key) {
    case VK_UP: Select(window, selection - 1, true); break;
    case VK_DOWN: Select(window, selection + 1, true); break;
    case VK_PRIOR: Select(window, selection - page, true); break;
    case VK_NEXT: Select(window, selection + page, true); break;
    case VK_HOME: Select(window, 0, true); break;
    case VK_END: Select(window, count - 1, true); break;
    default: break;
    }
}

// The pointer: on an arrow a line, on the track beside the thumb a page, the thumb dragged, on a
// line that line selected.
void Pointer(HWND window, UINT message, LPARAM position) {
    POINT at{short(LOWORD(position)), short(HIWORD(position))};
    Geometry g = Measure(window);
    if (message == WM_LBUTTONUP) {
        States().With(window, [](ListBoxState& s) { s.dragFrom = -1; });
        return;
    }
    if (message == WM_MOUSEMOVE) {
        auto [from, topThen, last] = States().With(window, [](ListBoxState& s) { return std::tuple{s.dragFrom, s.dragTop, s.LastTop()}; });
        int track = int(g.bar.bottom - g.bar.top) - 2 * kBar - int(g.thumb.bottom - g.thumb.top);
        if (from < 0 || track <= 0) return;
        Scroll(window, SB_THUMBTRACK, topThen + (int(at.y) - from) * last / track);
        return;
    }
    ::SetFocus(window);
    if (PtInRect(&g.bar, at)) {
        if (at.y < g.bar.top + kBar) Scroll(window, SB_LINEUP, 0);
        else if (at.y >= g.bar.bottom - kBar) Scroll(window, SB_LINEDOWN, 0);
        else if (at.y < g.thumb.top) Scroll(window, SB_PAGEUP, 0);
        else if (at.y >= g.thumb.bottom) Scroll(window, SB_PAGEDOWN, 0);
        else States().With(window, [&](ListBoxState& s) { s.dragFrom = int(at.y), s.dragTop = s.top; });
        return;
    }
    if (!PtInRect(&g.lines, at)) return;
    int line = States().With(window, [&](ListBoxState& s) { return s.top + int(at.y - g.lines.top) / g.itemHeight; });
    int count = States().With(window, [](ListBoxState& s) { return s.Count(); });
    if (line < count) Select(window, line, true);
}

// The items' messages: adding, removing, their texts and data, finding one; nothing for another
// message.
std::optional<LRESULT> ItemMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    int index = int(INT_PTR(wParam));
    switch (message) {
    case LB_ADDSTRING:
        return Insert(window, -1, text, (::GetWindowLongPtrA(window, GWL_STYLE) & LBS_SORT) != 0);
    case LB_INSERTSTRING: return Insert(window, index, text, false);
    case LB_DELETESTRING: {
        LRESULT r = States().With(window, [&](ListBoxState& s) -> LRESULT {
            if (index < 0 || index >= int(s.items.size())) return LB_ERR;
            s.items.erase(s.items.begin() + index);
            if (s.selection == index) s.selection = LB_ERR;
            else if (s.selection > index) --s.selection;
            return LRESULT(s.items.size());
        });
        if (r != LB_ERR) Changed(window);
        return r;
    }
    case LB_RESETCONTENT:
        States().With(window, [](ListBoxState& s) { s = ListBoxState{}; });
        Changed(window);
        return 0;
    case LB_GETCOUNT: return States().With(window, [](ListBoxState& s) { return LRESULT(s.items.size()); });
    case LB_GETTEXTLEN:
    case LB_GETTEXT:
        return States().With(window, [&](ListBoxState& s) -> LRESULT {
            if (index < 0 || index >= int(s.items.size())) return LB_ERR;
            const std::string& t = s.items[index].text;
            if (message == LB_GETTEXT && lParam) std::memcpy(reinterpret_cast<char*>(lParam), t.c_str(), t.size() + 1);
            return LRESULT(t.size());
        });
    case LB_FINDSTRING: return Find(window, index, text, false);
    case LB_FINDSTRINGEXACT: return Find(window, index, text, true);
    case LB_SETITEMDATA:
    case LB_GETITEMDATA:
        return States().With(window, [&](ListBoxState& s) -> LRESULT {
            if (index < 0 || index >= int(s.items.size())) return LB_ERR;
            if (message == LB_GETITEMDATA) return s.items[index].data;
            s.items[index].data = lParam;
            return LB_OKAY;
        });
    default: return std::nullopt;
    }
}

// The selection and the lines shown: the selected line, the first line shown, where a line stands;
// nothing for another message.
std::optional<LRESULT> ViewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    int index = int(INT_PTR(wParam));
    switch (message) {
    case LB_GETITEMHEIGHT: return ItemHeight(window);
    case LB_SETCURSEL: {
        Measure(window);
        LRESULT r = States().With(window, [&](ListBoxState& s) -> LRESULT {
            if (index < 0 || index >= int(s.items.size())) {
                s.selection = LB_ERR;
                return index == -1 ? 0 : LB_ERR;
            }
            s.selection = index;
            s.ShowLine(index);
            return index;
        });
        Changed(window);
        return r;
    }
    case LB_GETCURSEL: return States().With(window, [](ListBoxState& s) { return LRESULT(s.selection); });
    case LB_GETTOPINDEX: return States().With(window, [](ListBoxState& s) { return LRESULT(s.top); });
    case LB_SETTOPINDEX: {
        Measure(window);
        int count = States().With(window, [](ListBoxState& s) { return s.Count(); });
        if (index < 0 || (index >= count && count > 0)) return LB_ERR;
        Scroll(window, SB_THUMBPOSITION, index);
        return LB_OKAY;
    }
    case LB_GETITEMRECT: {
        Geometry g = Measure(window);
        int top = States().With(window, [](ListBoxState& s) { return s.top; });
        auto* item = reinterpret_cast<RECT*>(lParam);
        if (!item || index < 0) return LB_ERR;
        int y = int(g.lines.top) + (index - top) * g.itemHeight;
        *item = RECT{g.lines.left, y, g.lines.right, y + g.itemHeight};
        return LB_OKAY;
    }
    default: return std::nullopt;
    }
}

// The operator's messages and the window's own: scrolling, the pointer, the keys, the focus, the
// size and the paint.
LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VSCROLL: Scroll(window, LOWORD(wParam), short(HIWORD(wParam))); return 0;
    case WM_MOUSEWHEEL: {
        // Three lines a notch.
        int lines = -GET_WHEEL_DELTA_WPARAM(wParam) * 3 / WHEEL_DELTA;
        for (int n = 0; n < std::abs(lines); ++n) Scroll(window, lines < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: Pointer(window, message, lParam); return 0;
    case WM_KEYDOWN: Key(window, UINT(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        States().With(window, [&](ListBoxState& s) { s.focused = message == WM_SETFOCUS; });
        Changed(window);
        return 0;
    case WM_SIZE: Measure(window); Changed(window); return 0;
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto r = ItemMessage(window, message, wParam, lParam)) return *r;
    if (auto r = ViewMessage(window, message, wParam, lParam)) return *r;
    return WindowMessage(window, message, wParam, lParam);
}

}  // namespace mfc
