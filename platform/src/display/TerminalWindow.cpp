// A top-level window in terminal cells. Each control is first given its place (the cells of its
// rectangle, scaled to the terminal; a one-line control on the row of its middle, as wide as
// what it shows), then the places are kept apart: what stands under another control in the
// window is drawn under it, the tallest box above made shorter where the rows run out, and the
// one-line controls of a row keep a column between them, pushed right and, at the window's
// edge, back left. Then each is drawn in its place.
#include "display/TerminalWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/TextWidth.h"
#include "platform/display.h"
#include "platform/windowcore.h"

namespace platform::display {

namespace {

// Pixels of one terminal cell: the dialog base units of the system font.
constexpr int kCellWidth = 6;
constexpr int kCellHeight = 13;
// A window is drawn down to this part of its size; a smaller terminal is too small.
constexpr double kMinScale = 0.5;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(ExpandTabs(line));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

// A line cut into lines of at most `width` columns where a line may break: after a space, or
// beside a wide (Chinese) character; between any two characters where no such place fits.
std::vector<std::string> Wrap(const std::string& line, int width) {
    std::vector<std::string> out;
    std::string rest = line;
    while (TextWidth(rest) > width) {
        size_t fit = 0, breakAt = 0;
        bool wideBefore = false, spaceBefore = false;
        for (size_t i = 0; i < rest.size();) {
            size_t next = i + 1;
            while (next < rest.size() && (static_cast<unsigned char>(rest[next]) & 0xC0) == 0x80) ++next;
            bool wide = TextWidth(rest.substr(i, next - i)) > 1;
            if (i > 0 && (spaceBefore || wideBefore || wide)) breakAt = i;  // a break may come before it
            if (TextWidth(rest.substr(0, next)) > width) break;
            fit = next;
            wideBefore = wide;
            spaceBefore = rest[i] == ' ';
            i = next;
        }
        if (fit == 0) break;
        size_t cut = breakAt ? breakAt : fit;
        out.push_back(rest.substr(0, cut));
        rest = rest.substr(cut + (rest[cut] == ' ' ? 1 : 0));
    }
    out.push_back(rest);
    return out;
}

// A drawn text's marked colours as the terminal's.
unsigned short ColourStyle(const ControlView& v) {
    static const char* const kAnsi[8] = {"", "red", "green", "yellow", "blue", "magenta", "cyan", ""};
    auto ansi = [](COLORREF c) {
        std::string name = ColourName(c);
        for (int i = 1; i < 7; ++i)
            if (!name.empty() && name == kAnsi[i]) return i;
        return -1;
    };
    if (!v.drawn) return kPlain;
    int ink = ansi(v.ink), paper = ansi(v.paper);
    if (paper >= 0) return static_cast<unsigned short>(Paper(paper) | Ink(ink >= 0 ? ink : 0));
    return ink >= 0 ? Ink(ink) : static_cast<unsigned short>(kPlain);
}

RECT Cells(const RECT& px) {
    return RECT{px.left / kCellWidth, px.top / kCellHeight, (px.right + kCellWidth - 1) / kCellWidth,
                (px.bottom + kCellHeight - 1) / kCellHeight};
}

// A control of one line: a label, a field, a button, a check box, a group box's title. A taller
// text shows its line at its top, as it is drawn.
bool OneLine(const ControlView& v) {
    switch (v.kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox: return true;
    case ControlKind::Edit: return !(v.style & ES_MULTILINE);
    case ControlKind::Text:
        return v.text.find('\n') == std::string::npos && v.rect.bottom - v.rect.top <= 2 * kCellHeight;
    default: return false;
    }
}

// A rectangle one line thin (SS_BLACKRECT, SS_GRAYRECT, SS_WHITERECT less tall than a row): a rule
// across, as an etched line is.
bool IsRule(const ControlView& v) {
    DWORD type = v.style & SS_TYPEMASK;
    if (v.kind != ControlKind::Line) return false;
    if (type == SS_ETCHEDHORZ) return true;
    return (type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT) && v.rect.bottom - v.rect.top < kCellHeight / 2;
}

bool IsFrame(const ControlView& v) {
    DWORD type = v.style & SS_TYPEMASK;
    return v.kind == ControlKind::Line &&
           (type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME || type == SS_ETCHEDFRAME);
}

// The pixel row a one-line control stands on: its middle, or, for a label beside a field,
// the field's middle, so the two share a terminal row.
int MiddleOf(const ControlView& v, const std::vector<ControlView>& tree) {
    int middle = (v.rect.top + v.rect.bottom) / 2;
    if (v.kind != ControlKind::Text) return middle;
    for (const ControlView& field : tree) {
        if (&field == &v || field.depth != v.depth || !OneLine(field) || field.kind == ControlKind::Text) continue;
        if (middle >= field.rect.top && middle < field.rect.bottom && field.rect.left >= v.rect.right - kCellWidth)
            return (field.rect.top + field.rect.bottom) / 2;
    }
    return middle;
}

bool Covers(const RECT& over, const RECT& under) {
    long width = std::min(over.right, under.right) - std::max(over.left, under.left);
    long height = std::min(over.bottom, under.bottom) - std::max(over.top, under.top);
    if (width <= 0 || height <= 0) return false;
    long area = width * height;
    return 2 * area >= long(under.right - under.left) * (under.bottom - under.top);
}

// Where a control is drawn, in terminal cells.
struct Spot {
    bool drawn = false;
    bool oneLine = false;
    int x = 0, y = 0, width = 1, height = 1;
    std::string label;  // a button's caption as drawn
    std::string caption;  //   its text, shortened where the row is too narrow for it
    bool padded = true;   //   with a space inside each bracket
    std::vector<std::string> wrapped;  // a text's lines wrapped to the window's width
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

class WindowDrawing {
public:
    WindowDrawing(TerminalCanvas& canvas, const std::vector<ControlView>& tree, HWND focus, const Placement& at,
                  ListScrolls* scrolls)
        : m_canvas(canvas), m_tree(tree), m_focus(focus), m_at(at), m_scrolls(scrolls), m_spots(tree.size()) {
        m_ox = at.left + 1;
        m_oy = at.top + 1;
        m_right = at.left + at.width - 1;
        m_bottom = at.top + at.height - 1;
    }

    void Draw() {
        for (size_t i = 1; i < m_tree.size(); ++i) m_spots[i] = Place(m_tree[i]);
        HideFramesUnderPictures();
        KeepRowsInOrder();
        KeepBoxesApart();
        KeepRowsApart();
        WidenListsIntoFreeColumns();
        for (size_t i = 1; i < m_tree.size(); ++i) {
            if (!m_spots[i].drawn) continue;
            m_canvas.SetOwner(int(i));
            DrawControl(m_tree[i], m_spots[i]);
        }
        m_canvas.SetOwner(0);
    }

private:
    // A button's caption in brackets: "[>...<]" focused (and in reverse), "[ ... ]" enabled,
    // "( ... )" disabled, the last two without their padding where the row is narrow.
    std::string ButtonLabel(const ControlView& v, const Spot& s) const {
        if (v.hwnd == m_focus) return "[>" + s.caption + "<]";
        std::string open = v.enabled ? "[" : "(", close = v.enabled ? "]" : ")";
        return s.padded ? open + " " + s.caption + " " + close : open + s.caption + close;
    }

    // A button a step narrower, keeping its middle: first without its padding, then without its
    // caption's last word. False when it cannot be.
    bool Narrow(size_t i) {
        Spot& s = m_spots[i];
        if (m_tree[i].kind != ControlKind::PushButton) return false;
        size_t space = s.caption.find_last_of(' ');
        if (s.padded) s.padded = false;
        else if (space != std::string::npos && space > 0) s.caption.resize(s.caption.find_last_not_of(' ', space) + 1);
        else return false;
        s.label = ButtonLabel(m_tree[i], s);
        int width = TextWidth(s.label);
        s.x += (s.width - width) / 2;
        s.width = width;
        return true;
    }

    Spot Place(const ControlView& v) const {
        RECT c = Cells(v.rect);
        Spot s;
        s.drawn = true;
        s.x = m_ox + m_at.X(c.left);
        s.y = m_oy + m_at.Y(c.top);
        s.width = std::max(m_at.X(c.right) - m_at.X(c.left), 1);
        s.height = std::max(m_at.Y(c.bottom) - m_at.Y(c.top), 1);
        // A one-line control stands on the row of its middle: a label and the field beside it,
        // a few pixels apart, share that row, and a button under a box keeps below the box.
        if (OneLine(v)) {
            s.oneLine = true;
            s.y = m_oy + m_at.RowOf(MiddleOf(v, m_tree));
            s.height = 1;
        }
        switch (v.kind) {
        case ControlKind::Text: {
            std::vector<std::string> lines = Lines(v.text);
            int widest = 0;
            for (const std::string& line : lines) widest = std::max(widest, TextWidth(line));
            if (widest == 0) s.drawn = false;
            if (widest > m_right - s.x && (v.style & SS_TYPEMASK) == SS_LEFT) {
                // Wider than the room left of the window's edge: wrapped, on as many rows.
                s.oneLine = false;
                s.wrapped.clear();
                for (const std::string& line : lines)
                    for (std::string& piece : Wrap(line, std::max(m_right - s.x, 1))) s.wrapped.push_back(std::move(piece));
                s.width = m_right - s.x;
                s.height = int(s.wrapped.size());
            } else if (s.oneLine) {
                // As wide as its text, centred in its cells when it is centred.
                if ((v.style & SS_TYPEMASK) == SS_CENTER) s.x += std::max(0, (s.width - widest) / 2);
                s.width = std::max(widest, 1);
            } else {
                s.height = std::min<int>(int(lines.size()), std::max(s.height, 1));
            }
            break;
        }
        case ControlKind::PushButton: {
            s.caption = WithoutMnemonic(v.text);
            s.label = ButtonLabel(v, s);
            // Centred on the button, so neighbours keep apart.
            double middle = (v.rect.left + v.rect.right) / 2.0 / kCellWidth * m_at.fx;
            s.x = std::max(m_ox + int(std::lround(middle - TextWidth(s.label) / 2.0)), m_ox);
            s.width = TextWidth(s.label);
            break;
        }
        case ControlKind::CheckBox: s.width = 4 + TextWidth(WithoutMnemonic(v.text)); break;
        case ControlKind::GroupBox:
            s.oneLine = true;
            s.height = 1;
            s.width = TextWidth("─ " + WithoutMnemonic(v.text) + " ─");
            break;
        case ControlKind::Line: {
            if (IsRule(v)) s.height = 1;
            else if (!IsFrame(v) || s.width < 2 || s.height < 2) s.drawn = false;
            break;
        }
        case ControlKind::Edit: s.height = 1; break;
        case ControlKind::Progress: s.width = std::max(s.width - 7, 4) + 7; break;
        case ControlKind::ListBox:
        case ControlKind::ListView:
        case ControlKind::Video: break;
        default: s.drawn = false; break;
        }
        s.width = std::max(std::min(s.width, m_right - s.x), 1);
        s.height = std::max(std::min(s.height, m_bottom - s.y), 1);
        return s;
    }

    // A frame (the video area before its picture comes) under a video window: the picture shows.
    void HideFramesUnderPictures() {
        for (size_t i = 1; i < m_tree.size(); ++i) {
            if (!IsFrame(m_tree[i])) continue;
            for (size_t j = 1; j < m_tree.size(); ++j)
                if (m_tree[j].kind == ControlKind::Video && Covers(m_tree[j].rect, m_tree[i].rect)) m_spots[i].drawn = false;
        }
    }

    // Where what stands under a control begins, in pixels: a group box's title is its top row,
    // and what it holds stands under that.
    static LONG UnderneathOf(const ControlView& v) {
        return v.kind == ControlKind::GroupBox ? std::min<LONG>(v.rect.top + kCellHeight, v.rect.bottom) : v.rect.bottom;
    }

    static bool SideBySide(const Spot& a, const Spot& b) { return a.x < b.Right() && b.x < a.Right(); }

    // Rows as they stand in the window: a control under another in pixels is drawn under it,
    // moved down where the scaled rows brought them together; what then passes the window's
    // bottom is made room for by shortening the tallest box above it.
    void KeepRowsInOrder() {
        std::vector<Spot> placed = m_spots;
        std::vector<int> shortened(m_spots.size(), 0);
        for (size_t attempt = 0; attempt < 4 * m_spots.size(); ++attempt) {
            m_spots = placed;
            for (size_t i = 1; i < m_spots.size(); ++i) m_spots[i].height = std::max(m_spots[i].height - shortened[i], 1);
            for (bool moved = true; moved;) {
                moved = false;
                for (size_t i = 1; i < m_spots.size(); ++i)
                    for (size_t j = 1; j < m_spots.size(); ++j) {
                        Spot& below = m_spots[j];
                        const Spot& above = m_spots[i];
                        if (i == j || !above.drawn || !below.drawn || !SideBySide(above, below)) continue;
                        if (m_tree[j].rect.top >= UnderneathOf(m_tree[i]) - 2 && below.y < above.Bottom()) {
                            below.y = above.Bottom();
                            moved = true;
                        }
                    }
            }
            size_t over = 0;
            for (size_t i = 1; i < m_spots.size(); ++i)
                if (m_spots[i].drawn && m_spots[i].Bottom() > m_bottom && (!over || m_spots[i].Bottom() > m_spots[over].Bottom()))
                    over = i;
            if (!over) return;
            size_t tallest = 0;
            for (size_t i = 1; i < m_spots.size(); ++i)
                if (m_spots[i].drawn && m_spots[i].height > 3 && m_tree[i].rect.bottom <= m_tree[over].rect.top + 2 &&
                    (!tallest || m_spots[i].height > m_spots[tallest].height))
                    tallest = i;
            if (!tallest) return;
            shortened[tallest] += std::min(m_spots[over].Bottom() - m_bottom, m_spots[tallest].height - 3);
        }
    }

    // A box right of another in the window starts right of it here, where scaling brought their
    // columns together.
    void KeepBoxesApart() {
        for (size_t i = 1; i < m_tree.size(); ++i)
            for (size_t j = 1; j < m_tree.size(); ++j) {
                const Spot& left = m_spots[i];
                Spot& right = m_spots[j];
                if (i == j || !left.drawn || !right.drawn || left.height < 2 || right.height < 2) continue;
                bool sameRows = left.y < right.Bottom() && right.y < left.Bottom();
                if (!sameRows || m_tree[j].rect.left < m_tree[i].rect.right - 2 || right.x >= left.Right()) continue;
                int by = left.Right() - right.x;
                right.x += by;
                right.width = std::max(right.width - by, 1);
            }
    }

    // The buttons of a row too wide for the window narrowed, the widest first, until it fits.
    void FitRow(const std::vector<size_t>& row) {
        for (;;) {
            int width = -1;
            for (size_t i : row) width += m_spots[i].width + 1;
            if (width <= m_right - m_ox) return;
            std::vector<size_t> widest = row;
            std::stable_sort(widest.begin(), widest.end(), [&](size_t a, size_t b) { return m_spots[a].width > m_spots[b].width; });
            if (std::none_of(widest.begin(), widest.end(), [&](size_t i) { return Narrow(i); })) return;
        }
    }

    // The one-line controls of a row keep a column apart, within the window.
    void KeepRowsApart() {
        std::vector<Spot*> row;
        std::vector<size_t> indices;
        for (int y = m_oy; y < m_bottom; ++y) {
            indices.clear();
            for (size_t i = 1; i < m_tree.size(); ++i)
                if (m_spots[i].drawn && m_spots[i].oneLine && m_spots[i].y == y) indices.push_back(i);
            FitRow(indices);
            row.clear();
            for (size_t i : indices) row.push_back(&m_spots[i]);
            if (row.size() < 2) continue;
            std::stable_sort(row.begin(), row.end(), [](const Spot* a, const Spot* b) { return a->x < b->x; });
            for (size_t k = 1; k < row.size(); ++k)
                if (row[k]->x < row[k - 1]->Right()) row[k]->x = row[k - 1]->Right() + 1;
            if (row.back()->Right() > m_right) row.back()->x = std::max(m_right - row.back()->width, m_ox);
            for (size_t k = row.size() - 1; k > 0; --k)
                if (row[k - 1]->Right() >= row[k]->x) row[k - 1]->x = std::max(row[k]->x - 1 - row[k - 1]->width, m_ox);
        }
    }

    // A list's lines, narrower here than their text, take the free columns right of the list up to
    // the next control or the window's edge (the terminal draws no border there to keep).
    void WidenListsIntoFreeColumns() {
        for (size_t i = 1; i < m_tree.size(); ++i) {
            Spot& list = m_spots[i];
            if (!list.drawn || (m_tree[i].kind != ControlKind::ListBox && m_tree[i].kind != ControlKind::ListView)) continue;
            int edge = m_right;
            for (size_t j = 1; j < m_tree.size(); ++j) {
                const Spot& other = m_spots[j];
                if (j != i && other.drawn && other.x >= list.Right() && other.y < list.Bottom() && list.y < other.Bottom())
                    edge = std::min(edge, other.x - 1);
            }
            list.width = std::max(list.width, edge - list.x);
        }
    }

    void DrawControl(const ControlView& v, const Spot& s) {
        int x = s.x, y = s.y, width = s.width, height = s.height;
        switch (v.kind) {
        case ControlKind::Text: {
            std::vector<std::string> lines = s.wrapped.empty() ? Lines(v.text) : s.wrapped;
            bool centred = (v.style & SS_TYPEMASK) == SS_CENTER;
            for (size_t i = 0; i < lines.size() && int(i) < height; ++i) {
                int left = centred && !s.oneLine ? x + std::max(0, (width - TextWidth(lines[i])) / 2) : x;
                m_canvas.Put(left, y + int(i), lines[i], ColourStyle(v), m_ox, s.oneLine ? m_right : x + width);
            }
            break;
        }
        case ControlKind::PushButton: {
            bool focused = v.hwnd == m_focus;
            unsigned short style = focused ? kReverse : (v.enabled ? kPlain : kDim);
            m_canvas.Put(x, y, s.label, style, m_ox, m_right);
            break;
        }
        case ControlKind::CheckBox:
            m_canvas.Put(x, y, std::string(v.checked ? "[x] " : "[ ] ") + WithoutMnemonic(v.text),
                         v.enabled ? kPlain : kDim, m_ox, m_right);
            break;
        case ControlKind::GroupBox: m_canvas.Put(x, y, "─ " + WithoutMnemonic(v.text) + " ─", kDim, m_ox, m_right); break;
        case ControlKind::Line:
            if (IsRule(v))
                m_canvas.Put(x, y, Repeat("─", width), (v.style & SS_TYPEMASK) == SS_BLACKRECT ? kPlain : kDim, m_ox, m_right);
            else m_canvas.Box(x, y, width, height, "", false, kDim);  // a frame shows as its outline
            break;
        case ControlKind::Edit: {
            std::string text = "[" + v.text;
            int pad = width - 1 - TextWidth(text);
            m_canvas.Put(x, y, text + std::string(size_t(std::max(pad, 0)), ' ') + "]", kPlain, m_ox, m_right);
            break;
        }
        case ControlKind::Progress: {
            int percent = std::clamp(Percent(v), 0, 100);
            int bar = std::max(width - 7, 4);
            int filled = bar * percent / 100;
            char tail[16];
            snprintf(tail, sizeof tail, "] %3d%%", percent);
            m_canvas.Put(x, y, "[" + Repeat("█", filled) + Repeat("░", bar - filled) + tail, kPlain, m_ox, m_right);
            break;
        }
        case ControlKind::ListBox: DrawList(v, s); break;
        case ControlKind::ListView: {
            std::string header;
            for (size_t i = 0; i < v.columns.size(); ++i) header += (i ? " │ " : "") + v.columns[i];
            m_canvas.Put(x, y, header, kBold, m_ox, std::min(m_right, x + width));
            for (size_t r = 0; r < v.rows.size() && int(r) + 1 < height; ++r) {
                std::string line;
                for (size_t i = 0; i < v.rows[r].size(); ++i) line += (i ? " │ " : "") + v.rows[r][i];
                m_canvas.Put(x, y + 1 + int(r), line, kPlain, m_ox, std::min(m_right, x + width));
            }
            break;
        }
        case ControlKind::Video: {
            // Inside its box: a caption too wide for it keeps the picture size only.
            std::string caption = VideoCaption(v);
            bool boxed = width >= 4 && height >= 3;
            int inside = boxed ? width - 2 : width;
            if (boxed) m_canvas.Box(x, y, width, height, "");
            if (TextWidth(caption) > inside) caption = caption.substr(0, caption.find(','));
            m_canvas.Put(x + std::max(boxed ? 1 : 0, (width - TextWidth(caption)) / 2), y + std::max(0, (height - 1) / 2),
                         caption, kDim, m_ox, std::min(m_right, x + width - (boxed ? 1 : 0)));
            break;
        }
        default: break;
        }
    }

    // Within its box, from the first line the list shows, or from where the terminal scrolled it
    // since; a focused list keeps its selection in view. Lines out of view are counted at the
    // box's right edge; the focus is a marker at its left.
    void DrawList(const ControlView& v, const Spot& s) {
        int x = s.x, y = s.y, width = s.width;
        const int markX = x;
        if (v.style & WS_BORDER) {  // the border keeps the rows off a neighbour's edge
            ++x;
            width = std::max(width - 1, 1);
        }
        int rows = s.height;
        int count = int(v.rows.size());
        ListScroll own;
        if (m_scrolls && m_scrolls->count(v.hwnd)) own = m_scrolls->at(v.hwnd);
        int first = own.listTop == v.topRow ? own.first : v.topRow;
        if (v.hwnd == m_focus && v.selectedRow >= 0)
            first = std::clamp(first, v.selectedRow - rows + 1, v.selectedRow);
        first = std::clamp(first, 0, std::max(0, count - rows));
        if (m_scrolls) (*m_scrolls)[v.hwnd] = ListScroll{first, v.topRow, rows, count};
        int end = std::min(count, first + rows);
        int lineRight = std::min(m_right, x + width);
        for (int i = first; i < end; ++i)
            m_canvas.Put(x, y + i - first, v.rows[size_t(i)].empty() ? "" : ExpandTabs(v.rows[size_t(i)][0]), kPlain,
                         m_ox, lineRight);
        auto mark = [&](int row, const std::string& text) {
            m_canvas.Put(std::max(x, lineRight - TextWidth(text)), row, text, kDim, m_ox, lineRight);
        };
        if (first > 0) mark(y, " ↑ " + std::to_string(first) + " more");
        if (end < count) mark(y + rows - 1, " ↓ " + std::to_string(count - end) + " more");
        if (v.hwnd == m_focus)
            m_canvas.Put(markX, y + std::clamp(v.selectedRow - first, 0, rows - 1), "▶", kBold, m_ox, lineRight);
    }

    TerminalCanvas& m_canvas;
    const std::vector<ControlView>& m_tree;
    HWND m_focus;
    const Placement& m_at;
    ListScrolls* m_scrolls;
    std::vector<Spot> m_spots;
    int m_ox = 0, m_oy = 0, m_right = 0, m_bottom = 0;
};

// Where a window of `width` x `height` cells goes: centred, shrunk to fit; false when the
// terminal cannot show it.
bool Place(int columns, int rows, int width, int height, Placement* at) {
    at->width = std::min(width, columns);
    at->height = std::min(height, rows);
    if (at->width < width * kMinScale || at->height < height * kMinScale || at->width < 4 || at->height < 3) return false;
    at->fx = width > 2 ? double(at->width - 2) / (width - 2) : 1;
    at->fy = height > 2 ? double(at->height - 2) / (height - 2) : 1;
    at->left = (columns - at->width) / 2;
    at->top = (rows - at->height) / 2;
    return true;
}

}  // namespace

int Placement::X(int column) const { return int(std::lround(column * fx)); }
int Placement::Y(int row) const { return int(std::lround(row * fy)); }
int Placement::RowOf(int pixel) const { return int(std::floor(pixel * fy / kCellHeight)); }

std::string WithoutMnemonic(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

bool DrawTerminalWindow(TerminalCanvas& canvas, const std::vector<ControlView>& tree, HWND focus, Placement* at,
                        std::string* tooSmall, ListScrolls* scrolls) {
    if (tree.empty()) return true;
    RECT c = Cells(tree.front().rect);
    int width = std::max<int>(c.right - c.left, TextWidth(tree.front().text) + 6) + 2;
    int height = (c.bottom - c.top) + 2;
    // The last column stays empty: no line wraps.
    if (!Place(canvas.Columns(), canvas.Rows(), width, height, at)) {
        char line[160];
        snprintf(line, sizeof line, "too small: %dx%d, needs %dx%d", canvas.Columns() + 1, canvas.Rows(),
                 int(std::ceil(width * kMinScale)) + 1, int(std::ceil(height * kMinScale)));
        *tooSmall = line;
        tooSmall->resize(std::min<size_t>(tooSmall->size(), size_t(std::max(canvas.Columns(), 1))));  // one line
        return false;
    }
    canvas.Box(at->left, at->top, at->width, at->height, tree.front().text);
    if (tree.front().video) {  // a video window of its own: its picture in the middle
        std::string caption = VideoCaption(tree.front());
        canvas.Put(at->left + std::max(1, (at->width - TextWidth(caption)) / 2), at->top + at->height / 2, caption, kDim,
                   at->left + 1, at->left + at->width - 1);
    }
    WindowDrawing(canvas, tree, focus, *at, scrolls).Draw();
    return true;
}

}  // namespace platform::display

namespace platform {

TerminalPicture DrawForTerminal(HWND topLevel, int columns, int rows, HWND focus) {
    using namespace display;
    TerminalPicture picture;
    std::vector<ControlView> tree = DescribeTree(topLevel);
    TerminalCanvas canvas(columns - 1, rows);
    Placement at;
    std::string tooSmall;
    if (!DrawTerminalWindow(canvas, tree, focus, &at, &tooSmall)) {
        picture.lines.push_back(tooSmall);
        return picture;
    }
    std::string text = canvas.PlainText();
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        picture.lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    auto name = [&](int i) { return std::to_string(tree[size_t(i)].id) + " \"" + tree[size_t(i)].text + "\""; };
    for (auto [a, b] : canvas.Overlaps()) picture.overlaps.push_back(name(a) + " and " + name(b));
    return picture;
}

}  // namespace platform
