// Reading the visible window tree for the displays.
#include "display/ScreenModel.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>

#include "display/VideoWindows.h"
#include "gdi/DrawnText.h"
#include "platform/commctrl.h"
#include "platform/display.h"

namespace platform::display {

namespace {


std::string TextOf(HWND window) {
    int length = ::GetWindowTextLengthA(window);
    std::string text(size_t(length) + 1, '\0');
    int n = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(size_t(n));
    return text;
}

ControlKind KindOf(const std::string& className, DWORD style, bool topLevel) {
    if (topLevel || strcasecmp(className.c_str(), WC_DIALOG) == 0) return ControlKind::Window;
    if (strcasecmp(className.c_str(), "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: return ControlKind::GroupBox;
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
        case BS_OWNERDRAW:
        case BS_USERBUTTON: return ControlKind::PushButton;
        default: return ControlKind::CheckBox;
        }
    }
    if (strcasecmp(className.c_str(), "Static") == 0) {
        DWORD type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP) return ControlKind::Picture;
        if ((type >= SS_BLACKRECT && type <= SS_WHITEFRAME) || (type >= SS_ETCHEDHORZ && type <= SS_ETCHEDFRAME))
            return ControlKind::Line;
        return ControlKind::Text;
    }
    if (strcasecmp(className.c_str(), "Edit") == 0) return ControlKind::Edit;
    if (strcasecmp(className.c_str(), "ListBox") == 0) return ControlKind::ListBox;
    if (strcasecmp(className.c_str(), PROGRESS_CLASS) == 0) return ControlKind::Progress;
    if (strcasecmp(className.c_str(), WC_LISTVIEW) == 0) return ControlKind::ListView;
    return ControlKind::Text;
}

bool ShowsDrawnText(ControlKind kind) {
    return kind == ControlKind::Text || kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::GroupBox;
}

// A control that has painted is shown by what it drew.
void ReadDrawnText(ControlView& v) {
    std::vector<gdi::DrawnText> drawn;
    if (!ShowsDrawnText(v.kind) || !gdi::GetDrawnText(v.hwnd, &drawn)) return;
    v.drawn = true;
    v.text.clear();
    for (const gdi::DrawnText& d : drawn) v.text += (v.text.empty() ? "" : "\n") + d.text;
    if (drawn.empty()) return;
    v.ink = drawn.front().ink;
    v.paper = drawn.front().paper;
}

void ReadState(ControlView& v) {
    switch (v.kind) {
    case ControlKind::CheckBox: v.checked = ::SendMessageA(v.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; break;
    case ControlKind::Progress: {
        PBRANGE range{};
        ::SendMessageA(v.hwnd, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        v.low = range.iLow;
        v.high = range.iHigh;
        v.pos = int(::SendMessageA(v.hwnd, PBM_GETPOS, 0, 0));
        break;
    }
    case ControlKind::ListBox: {
        int count = int(::SendMessageA(v.hwnd, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::string item(size_t(std::max<LRESULT>(::SendMessageA(v.hwnd, LB_GETTEXTLEN, i, 0), 0)) + 1, '\0');
            item.resize(size_t(::SendMessageA(v.hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
            v.rows.push_back({item});
        }
        v.selectedRow = int(::SendMessageA(v.hwnd, LB_GETCURSEL, 0, 0));
        v.topRow = int(std::max<LRESULT>(::SendMessageA(v.hwnd, LB_GETTOPINDEX, 0, 0), 0));
        break;
    }
    case ControlKind::ListView: {
        char buffer[512];
        for (int c = 0;; ++c) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = buffer;
            column.cchTextMax = sizeof buffer;
            if (!::SendMessageA(v.hwnd, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&column))) break;
            v.columns.push_back(buffer);
        }
        int count = int(::SendMessageA(v.hwnd, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::vector<std::string> row;
            for (size_t c = 0; c < std::max<size_t>(v.columns.size(), 1); ++c) {
                LVITEMA item{};
                item.iSubItem = int(c);
                item.pszText = buffer;
                item.cchTextMax = sizeof buffer;
                LRESULT n = ::SendMessageA(v.hwnd, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
                row.emplace_back(buffer, size_t(n));
            }
            v.rows.push_back(row);
        }
        break;
    }
    default: break;
    }
}

void Walk(HWND window, int depth, POINT origin, std::vector<ControlView>& out) {
    WindowSnapshot s;
    if (!GetWindowSnapshot(window, &s) || !(s.style & WS_VISIBLE)) return;
    ControlView v;
    v.hwnd = window;
    v.id = s.id;
    v.depth = depth;
    v.style = s.style;
    v.kind = KindOf(s.className, s.style, depth == 0);
    v.text = depth == 0 ? s.text : TextOf(window);
    v.enabled = !(s.style & WS_DISABLED);
    v.focused = ::GetFocus() == window;
    v.isDefault = v.kind == ControlKind::PushButton && (s.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    POINT at = depth == 0 ? POINT{0, 0} : POINT{origin.x + s.rect.left, origin.y + s.rect.top};
    v.rect = RECT{at.x, at.y, at.x + (s.rect.right - s.rect.left), at.y + (s.rect.bottom - s.rect.top)};
    if (depth > 0) ReadDrawnText(v);
    ReadState(v);
    VideoWindowInfo info;
    if (FindVideoWindowInfo(window, &info)) {
        v.video = true;
        if (depth > 0) v.kind = ControlKind::Video;
        v.pictureWidth = info.width;
        v.pictureHeight = info.height;
        v.framesShown = info.framesShown;
    }
    out.push_back(v);
    for (HWND child : GetChildWindowList(window)) Walk(child, depth + 1, at, out);
}

}  // namespace

std::vector<HWND> VisibleTopLevels() {
    std::vector<HWND> windows, boxes;
    DWORD me = ::GetCurrentThreadId();
    for (HWND w : GetTopLevelWindowList()) {
        if (!::IsWindowVisible(w)) continue;
        // A message box shows over every window, whichever thread raised it.
        if (IsMessageBoxWindow(w)) boxes.push_back(w);
        else if (::GetWindowThreadProcessId(w, nullptr) == me) windows.push_back(w);
    }
    windows.insert(windows.end(), boxes.begin(), boxes.end());
    return windows;
}

HWND ActiveTopLevel() {
    std::vector<HWND> tops = VisibleTopLevels();
    return tops.empty() ? nullptr : tops.back();
}

std::vector<ControlView> DescribeTree(HWND topLevel) {
    std::vector<ControlView> out;
    Walk(topLevel, 0, POINT{0, 0}, out);
    return out;
}

bool IsPressable(const ControlView& v) { return v.kind == ControlKind::PushButton && v.enabled; }

std::string VideoCaption(const ControlView& v) {
    if (!v.pictureWidth) return "no picture";
    return std::to_string(v.pictureWidth) + "x" + std::to_string(v.pictureHeight) + ", " +
           std::to_string(v.framesShown) + " frames shown";
}

std::string ColourName(COLORREF c) {
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    int high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high - low < 0x80) return "";
    bool R = r > high / 2, G = g > high / 2, B = b > high / 2;
    if (R && G) return "yellow";
    if (G && B) return "cyan";
    if (R && B) return "magenta";
    return R ? "red" : G ? "green" : "blue";
}

std::string ColourMark(const ControlView& v) {
    if (!v.drawn) return "";
    std::string ink = ColourName(v.ink), paper = ColourName(v.paper);
    if (paper.empty()) return ink;
    return (ink.empty() ? "" : ink + " on ") + paper + " background";
}

int Percent(const ControlView& v) {
    if (v.high == v.low) return 0;
    return int((long long)(v.pos - v.low) * 100 / (v.high - v.low));
}

std::string Signature(const std::vector<ControlView>& tree) {
    std::string s;
    for (const ControlView& v : tree) {
        char head[64];
        snprintf(head, sizeof head, "%d:%d:%d:%d:%d:%d|", v.id, int(v.kind), v.enabled, v.checked,
                 v.kind == ControlKind::Progress ? Percent(v) : 0, int(v.rows.size()));
        s += head;
        s += v.text;
        if (v.kind == ControlKind::Text) s += "|" + ColourMark(v);
        for (const auto& row : v.rows)
            for (const auto& cell : row) s += "\t" + cell;
        s += '\n';
    }
    return s;
}

}  // namespace platform::display
