// The "ListBox" window class: a list of texts, sorted with LBS_SORT, one selection.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
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
};

ControlStates<ListBoxState>& States() {
    static auto* states = new ControlStates<ListBoxState>;
    return *states;
}

LRESULT Insert(HWND window, int index, const char* text, bool sorted) {
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
        s.items.insert(s.items.begin() + index, item);
        if (s.selection >= index) ++s.selection;
        return index;
    });
    if (r != LB_ERR) Changed(window);
    return r;
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

// Items one font height each from the top, scrolled so the selection shows; the selection in
// the highlight colours; a scroll bar's strip when the items do not fit.
void Paint(HWND window) {
    ControlPaint p(window, WM_CTLCOLORLISTBOX);
    if (!p.dc) return;
    p.FillBackground(p.client);
    RECT r = p.DrawBorder();
    ListBoxState s = States().With(window, [](ListBoxState& st) { return st; });
    int itemHeight = ItemHeight(p.dc);
    int visible = std::max(1, int((r.bottom - r.top) / itemHeight));
    bool scrolls = int(s.items.size()) > visible && (p.style & WS_VSCROLL);
    if (scrolls) {
        RECT bar{r.right - 16, r.top, r.right, r.bottom};
        FillRect(p.dc, &bar, GetSysColorBrush(COLOR_SCROLLBAR));
        RECT up{bar.left, bar.top, bar.right, bar.top + 16}, down{bar.left, bar.bottom - 16, bar.right, bar.bottom};
        DrawEdge(p.dc, &up, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        DrawEdge(p.dc, &down, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        r.right -= 16;
    }
    int top = s.selection >= visible ? s.selection - visible + 1 : 0;
    SetBkMode(p.dc, TRANSPARENT);
    COLORREF text = GetTextColor(p.dc);
    for (int i = top; i < int(s.items.size()) && (i - top) * itemHeight < r.bottom - r.top; ++i) {
        RECT item{r.left, r.top + (i - top) * itemHeight, r.right, r.top + (i - top + 1) * itemHeight};
        if (i == s.selection) {
            FillRect(p.dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(p.dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(p.dc, text);
        }
        RECT t = item;
        t.left += 2;
        IntersectClipRect(p.dc, r.left, r.top, r.right, r.bottom);
        DrawTextA(p.dc, s.items[size_t(i)].text.c_str(), -1, &t, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    }
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    int index = int(INT_PTR(wParam));
    switch (message) {
    case LB_GETITEMHEIGHT: return ItemHeight(window);
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
    case LB_SETCURSEL: {
        LRESULT r = States().With(window, [&](ListBoxState& s) -> LRESULT {
            if (index < 0 || index >= int(s.items.size())) {
                s.selection = LB_ERR;
                return index == -1 ? 0 : LB_ERR;
            }
            s.selection = index;
            return index;
        });
        Changed(window);
        return r;
    }
    case LB_GETCURSEL: return States().With(window, [](ListBoxState& s) { return LRESULT(s.selection); });
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
    case WM_ENABLE: ::InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(window); return 0;
    default: return DefaultControlProc(States(), window, message, wParam, lParam);
    }
}

}  // namespace mfc
