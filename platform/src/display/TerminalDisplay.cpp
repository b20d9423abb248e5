// The terminal display: the visible top-level windows drawn in a TTY (a message box over the
// dialog it belongs to), redrawn as their texts and states change. Tab and the arrow keys move
// between the active window's buttons, Enter or Space presses the focused one; Alt+Space opens
// the active window's system menu (arrows, Enter, Escape). Ctrl-C is read as a key, never
// taken as the signal that would end the program wherever it stands (in the middle of an EEPROM
// write, say): it asks the program to close as SIGINT does, which waits for a running write.
//
// The windows are laid out within the terminal's rows and columns, each centred, a message box
// over the window it belongs to; a window larger than the terminal is drawn narrower and shorter
// down to half its size, below which one line says the terminal is too small. A resize
// (SIGWINCH) draws everything again.
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "display/DisplayHost.h"
#include "display/OperatorKeys.h"
#include "display/ScreenModel.h"
#include "display/TerminalCanvas.h"
#include "display/TextCharset.h"
#include "display/TextWidth.h"
#include "mfc/SystemMenu.h"
#include "platform/runtime.h"

namespace platform::display {

namespace {

// Pixels of one terminal cell: the dialog base units of the system font.
constexpr int kCellWidth = 6;
constexpr int kCellHeight = 13;
constexpr DWORD kKeyPollMs = 50;
constexpr char kCtrlC = '\x03';
// A window is drawn down to this part of its size; a smaller terminal is too small.
constexpr double kMinScale = 0.5;

std::atomic<bool> g_resized{false};

void OnResize(int) { g_resized = true; }

// How a window's cells map into the terminal: its frame's place and the scale of its inside.
struct Placement {
    int left = 0, top = 0, width = 0, height = 0;
    double fx = 1, fy = 1;
    int X(int column) const { return int(std::lround(column * fx)); }
    int Y(int row) const { return int(std::lround(row * fy)); }
    // The row a pixel of the window's inside falls on, scaled.
    int RowOf(int pixel, int cellHeight) const { return int(std::floor(pixel * fy / cellHeight)); }
};

std::string WithoutMnemonic(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

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

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

class TerminalDisplay : public Display {
public:
    TerminalDisplay(int input, int output) : m_in(input), m_out(output) {
        if (isatty(m_in) && tcgetattr(m_in, &m_saved) == 0) {
            termios raw = m_saved;
            raw.c_lflag &= ~tcflag_t(ICANON | ECHO | ISIG);
            raw.c_iflag &= ~tcflag_t(ICRNL | IXON);
            raw.c_cc[VMIN] = 0;
            raw.c_cc[VTIME] = 0;
            m_raw = tcsetattr(m_in, TCSANOW, &raw) == 0;
        }
        struct sigaction resize {};
        resize.sa_handler = &OnResize;
        sigemptyset(&resize.sa_mask);
        resize.sa_flags = SA_RESTART;
        m_hasOldResize = sigaction(SIGWINCH, &resize, &m_oldResize) == 0;
        ReadSize();
        Write("\x1b[?25l\x1b[2J");
    }

    ~TerminalDisplay() override { Stop(); }

    DisplayKind Kind() const override { return DisplayKind::Terminal; }

    ULONGLONG Idle() override {
        ReadKeys();
        Draw();
        return ClockNow() + kKeyPollMs;
    }

    int AnswerMessageBox(HWND, const char*, const char*, UINT) override { return 0; }

    void Stop() override {
        if (m_stopped) return;
        m_stopped = true;
        if (m_hasOldResize) sigaction(SIGWINCH, &m_oldResize, nullptr);
        if (m_raw) tcsetattr(m_in, TCSANOW, &m_saved);
        // Below the picture, with the cursor back.
        Write("\x1b[0m\x1b[" + std::to_string(m_rows) + ";1H\x1b[?25h\r\n");
    }

private:
    void ReadSize() {
        winsize size{};
        if (ioctl(m_out, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
            m_columns = size.ws_col;
            m_rows = size.ws_row;
        }
    }

    void Write(const std::string& s) {
        size_t done = 0;
        while (done < s.size()) {
            ssize_t n = ::write(m_out, s.data() + done, s.size() - done);
            if (n <= 0) return;
            done += size_t(n);
        }
    }

    // What the keys can reach in tab order: the active window's buttons and its lists that are
    // tab stops.
    static bool IsList(const ControlView& v) { return v.kind == ControlKind::ListBox && v.enabled && (v.style & WS_TABSTOP); }
    std::vector<HWND> Buttons(const std::vector<ControlView>& tree) {
        std::vector<HWND> buttons;
        for (const ControlView& v : tree)
            if (IsPressable(v) || IsList(v)) buttons.push_back(v.hwnd);
        return buttons;
    }

    // The highlighted button or marked list is the focus the keys meet.
    void KeepFocus(const std::vector<ControlView>& tree) {
        std::vector<HWND> buttons = Buttons(tree);
        HWND target = KeyTarget();
        m_focus = std::find(buttons.begin(), buttons.end(), target) != buttons.end() ? target : nullptr;
        m_focusIsList = false;
        for (const ControlView& v : tree)
            if (v.hwnd == target && v.kind == ControlKind::ListBox) m_focus = target, m_focusIsList = true;
    }

    static void Focus(HWND button) {
        if (button) SetThreadFocus(button);
    }

    void MoveFocus(int step) {
        HWND top = ActiveTopLevel();
        if (!top) return;
        std::vector<HWND> buttons = Buttons(DescribeTree(top));
        if (buttons.empty()) return;
        auto it = std::find(buttons.begin(), buttons.end(), m_focus);
        int index = it == buttons.end() ? 0 : int(it - buttons.begin()) + step;
        index = (index % int(buttons.size()) + int(buttons.size())) % int(buttons.size());
        m_focus = buttons[size_t(index)];
        Focus(m_focus);
    }

    // A key pressed and let go: a terminal reports no release.
    static void Key(UINT virtualKey, char typed = 0) {
        OperatorKey(virtualKey, true, 1, typed);
        OperatorKey(virtualKey, false, LPARAM(0xC0000001u));
    }

    void ReadKeys() {
        HWND top = ActiveTopLevel();
        if (top) KeepFocus(DescribeTree(top));
        pollfd p{m_in, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN)) return;
        char buffer[64];
        ssize_t n = ::read(m_in, buffer, sizeof buffer);
        if (n <= 0) return;
        std::string keys = m_charset.Decode(buffer, size_t(n));  // a GBK character's second byte may be ASCII
        for (size_t i = 0; i < keys.size(); ++i) {
            char ch = keys[i];
            if (!m_menuItems.empty()) {
                i = MenuKey(keys, i);
                continue;
            }
            if (ch == '\x1b' && i + 1 < keys.size() && keys[i + 1] == ' ') {  // Alt+Space
                ++i;
                OpenMenu();
                continue;
            }
            if (ch == '\x1b' && i + 2 < keys.size() + 0 && keys[i + 1] == '[') {
                char code = keys[i + 2];
                i += 2;
                if (i + 1 < keys.size() && keys[i + 1] == '~') ++i;  // Page Up/Down, Home, End: "\x1b[5~"
                // A focused list takes the arrows, Page Up/Down, Home and End.
                static constexpr std::pair<char, UINT> kListKeys[] = {{'A', VK_UP},    {'B', VK_DOWN}, {'5', VK_PRIOR},
                                                                      {'6', VK_NEXT},  {'H', VK_HOME}, {'1', VK_HOME},
                                                                      {'F', VK_END},   {'4', VK_END}};
                UINT listKey = 0;
                for (auto [c, vk] : kListKeys)
                    if (c == code) listKey = vk;
                if (m_focusIsList && listKey) Key(listKey);
                else if (code == 'C' || code == 'B') MoveFocus(1);
                else if (code == 'D' || code == 'A' || code == 'Z') MoveFocus(-1);
                continue;
            }
            if (ch == kCtrlC) AskToClose();
            else if (ch == '\x1b') Key(VK_ESCAPE, ch);
            else if (ch == '\t') MoveFocus(1);
            else if (ch == '\r' || ch == '\n') Key(VK_RETURN, '\r');
            else if (ch == 0x7F || ch == 0x08) Key(VK_BACK, 0x08);
            else if (std::isprint(static_cast<unsigned char>(ch))) Key(VirtualKeyOf(ch), ch);
        }
    }

    // ---- the system menu (Alt+Space): arrows move, Enter chooses, Escape closes ----

    void OpenMenu() {
        HWND top = ActiveTopLevel();
        if (!top || !::IsWindowEnabled(top)) return;
        m_menuItems = mfc::SystemMenuItems(top);
        m_menuOwner = top;
        m_menuLit = 0;
        while (m_menuLit < int(m_menuItems.size()) && (m_menuItems[size_t(m_menuLit)].flags & MF_SEPARATOR)) ++m_menuLit;
    }

    void MenuStep(int by) {
        int n = int(m_menuItems.size());
        for (int i = 0; i < n; ++i) {
            m_menuLit = ((m_menuLit + by) % n + n) % n;
            if (!(m_menuItems[size_t(m_menuLit)].flags & MF_SEPARATOR)) return;
        }
    }

    // Reads one key of the open menu at keys[i]; returns the index of its last byte.
    size_t MenuKey(const std::string& keys, size_t i) {
        char ch = keys[i];
        if (ch == '\x1b' && i + 2 < keys.size() && keys[i + 1] == '[') {
            if (keys[i + 2] == 'B') MenuStep(1);
            else if (keys[i + 2] == 'A') MenuStep(-1);
            return i + 2;
        }
        if (ch == '\r' || ch == '\n') {
            if (m_menuLit >= 0 && size_t(m_menuLit) < m_menuItems.size() && ::IsWindow(m_menuOwner))
                ::PostMessageA(m_menuOwner, WM_SYSCOMMAND, WPARAM(m_menuItems[size_t(m_menuLit)].id), 0);
            m_menuItems.clear();
        } else if (ch == '\x1b' || ch == kCtrlC) {
            m_menuItems.clear();
        }
        return i;
    }

    void DrawMenu(TerminalCanvas& canvas, const Placement& at) {
        int width = 4;
        for (const CMenu::Item& item : m_menuItems) width = std::max(width, TextWidth(WithoutMnemonic(std::string(item.text))) + 4);
        int height = int(m_menuItems.size()) + 2;
        int left = at.left + 1, top = at.top + 1;
        canvas.Fill(left, top, width, height);
        canvas.Box(left, top, width, height, "");
        for (size_t i = 0; i < m_menuItems.size(); ++i) {
            int row = top + 1 + int(i);
            if (m_menuItems[i].flags & MF_SEPARATOR) canvas.Put(left + 1, row, Repeat("─", width - 2), kDim);
            else canvas.Put(left + 2, row, WithoutMnemonic(std::string(m_menuItems[i].text)), int(i) == m_menuLit ? kReverse : kPlain);
        }
    }

    static RECT Cells(const RECT& px) {
        return RECT{px.left / kCellWidth, px.top / kCellHeight, (px.right + kCellWidth - 1) / kCellWidth,
                    (px.bottom + kCellHeight - 1) / kCellHeight};
    }

    // A control of one line: a label, a field, a button, a check box. A taller text shows its
    // line at its top, as it is drawn.
    static bool OneLine(const ControlView& v) {
        switch (v.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox: return true;
        case ControlKind::Edit: return !(v.style & ES_MULTILINE);
        case ControlKind::Text:
            return v.text.find('\n') == std::string::npos && v.rect.bottom - v.rect.top <= 2 * kCellHeight;
        default: return false;
        }
    }

    // The pixel row a one-line control stands on: its middle, or, for a label beside a field,
    // the field's middle, so the two share a terminal row.
    static int MiddleOf(const ControlView& v, const std::vector<ControlView>& tree) {
        int middle = (v.rect.top + v.rect.bottom) / 2;
        if (v.kind != ControlKind::Text) return middle;
        for (const ControlView& field : tree) {
            if (&field == &v || field.depth != v.depth || !OneLine(field) || field.kind == ControlKind::Text) continue;
            if (middle >= field.rect.top && middle < field.rect.bottom && field.rect.left >= v.rect.right - kCellWidth)
                return (field.rect.top + field.rect.bottom) / 2;
        }
        return middle;
    }

    void DrawControl(TerminalCanvas& canvas, const ControlView& v, const std::vector<ControlView>& tree,
                     const Placement& at) {
        RECT c = Cells(v.rect);
        int ox = at.left + 1, oy = at.top + 1, right = at.left + at.width - 1, bottom = at.top + at.height - 1;
        int x = ox + at.X(c.left), y = oy + at.Y(c.top);
        int width = std::max(at.X(c.right) - at.X(c.left), 1), height = std::max(at.Y(c.bottom) - at.Y(c.top), 1);
        // A one-line control stands on the row of its middle: a label and the field beside it,
        // a few pixels apart, share that row, and a button under a box keeps below the box.
        if (OneLine(v)) {
            y = oy + at.RowOf(MiddleOf(v, tree), kCellHeight);
            height = 1;
        }
        switch (v.kind) {
        case ControlKind::Text: {
            std::vector<std::string> lines = Lines(v.text);
            bool centred = (v.style & SS_TYPEMASK) == SS_CENTER;
            for (size_t i = 0; i < lines.size() && y + int(i) < bottom; ++i) {
                int left = centred ? x + std::max(0, (width - TextWidth(lines[i])) / 2) : x;
                canvas.Put(left, y + int(i), lines[i], ColourStyle(v), ox, right);
            }
            break;
        }
        case ControlKind::PushButton: {
            std::string label = WithoutMnemonic(v.text);
            bool focused = v.hwnd == m_focus;
            std::string s = focused ? "[>" + label + "<]" : v.enabled ? "[ " + label + " ]" : "( " + label + " )";
            // A caption wider than its button loses its padding (the focus shows in reverse) and
            // stays centred on the button, so neighbours keep apart.
            if (TextWidth(s) > width) s = (v.enabled || focused ? "[" : "(") + label + (v.enabled || focused ? "]" : ")");
            double middle = (v.rect.left + v.rect.right) / 2.0 / kCellWidth * at.fx;
            int left = ox + int(std::lround(middle - TextWidth(s) / 2.0));
            unsigned short style = focused ? kReverse : (v.enabled ? kPlain : kDim);
            canvas.Put(std::max(left, ox), y, s, style, ox, right);
            break;
        }
        case ControlKind::CheckBox:
            canvas.Put(x, y, std::string(v.checked ? "[x] " : "[ ] ") + WithoutMnemonic(v.text), v.enabled ? kPlain : kDim, ox, right);
            break;
        case ControlKind::GroupBox: canvas.Put(x, y, "─ " + WithoutMnemonic(v.text) + " ─", kDim, ox, right); break;
        case ControlKind::Line: {
            DWORD type = v.style & SS_TYPEMASK;
            if (type == SS_ETCHEDHORZ) canvas.Put(x, y, Repeat("─", width), kDim, ox, right);
            // A frame (the video area before its picture comes) shows as its outline.
            bool frame = type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME || type == SS_ETCHEDFRAME;
            if (frame && width >= 2 && height >= 2)
                canvas.Box(x, y, std::min(width, right - x), std::min(height, bottom - y), "", false, kDim);
            break;
        }
        case ControlKind::Edit: {
            std::string s = "[" + v.text;
            int pad = width - 1 - TextWidth(s);
            canvas.Put(x, y, s + std::string(size_t(std::max(pad, 0)), ' ') + "]", kPlain, ox, right);
            break;
        }
        case ControlKind::Progress: {
            int percent = std::clamp(Percent(v), 0, 100);
            int bar = std::max(width - 7, 4);
            int filled = bar * percent / 100;
            char tail[16];
            snprintf(tail, sizeof tail, "] %3d%%", percent);
            canvas.Put(x, y, "[" + Repeat("█", filled) + Repeat("░", bar - filled) + tail, kPlain, ox, right);
            break;
        }
        case ControlKind::ListBox: {
            // Within its box, from the first line the list shows; a list that shows its last
            // line keeps its newest lines in view when the box has fewer rows here. Lines out of
            // view are counted at the box's right edge; the focus is a marker at its left.
            const int markX = x;
            if (v.style & WS_BORDER) {  // the border keeps the rows off a neighbour's edge
                ++x;
                width = std::max(width - 1, 1);
            }
            int rows = std::max(1, std::min(height, bottom - y));
            int count = int(v.rows.size());
            int first = std::clamp(v.topRow, 0, std::max(0, count - 1));
            if (v.lastRowShown) first = std::max(first, count - rows);
            first = std::max(first, 0);
            int end = std::min(count, first + rows);
            int lineRight = std::min(right, x + width);
            for (int i = first; i < end; ++i)
                canvas.Put(x, y + i - first, v.rows[size_t(i)].empty() ? "" : ExpandTabs(v.rows[size_t(i)][0]), kPlain, ox,
                           lineRight);
            auto mark = [&](int row, const std::string& text) {
                canvas.Put(std::max(x, lineRight - TextWidth(text)), row, text, kDim, ox, lineRight);
            };
            if (first > 0) mark(y, " ↑ " + std::to_string(first) + " more");
            if (end < count) mark(y + rows - 1, " ↓ " + std::to_string(count - end) + " more");
            if (v.hwnd == m_focus)
                canvas.Put(markX, y + std::clamp(v.selectedRow - first, 0, rows - 1), "▶", kBold, ox, right);
            break;
        }
        case ControlKind::ListView: {
            std::string header;
            for (size_t i = 0; i < v.columns.size(); ++i) header += (i ? " │ " : "") + v.columns[i];
            canvas.Put(x, y, header, kBold, ox, std::min(right, x + width));
            for (size_t r = 0; r < v.rows.size() && int(r) + 1 < height; ++r) {
                std::string line;
                for (size_t i = 0; i < v.rows[r].size(); ++i) line += (i ? " │ " : "") + v.rows[r][i];
                canvas.Put(x, y + 1 + int(r), line, kPlain, ox, std::min(right, x + width));
            }
            break;
        }
        case ControlKind::Video: {
            std::string caption = VideoCaption(v);
            if (width >= 4 && height >= 3) canvas.Box(x, y, std::min(width, right - x), std::min(height, bottom - y), "");
            canvas.Put(x + std::max(1, (width - TextWidth(caption)) / 2), y + std::max(0, (height - 1) / 2), caption, kDim,
                       ox, right);
            break;
        }
        default: break;
        }
    }

    // Where a window of `width` x `height` cells goes: centred, shrunk to fit; false when the
    // terminal cannot show it.
    bool Place(int width, int height, Placement* at) const {
        int columns = m_columns - 1, rows = m_rows;  // the last column stays empty: no line wraps
        at->width = std::min(width, columns);
        at->height = std::min(height, rows);
        if (at->width < width * kMinScale || at->height < height * kMinScale || at->width < 4 || at->height < 3)
            return false;
        at->fx = width > 2 ? double(at->width - 2) / (width - 2) : 1;
        at->fy = height > 2 ? double(at->height - 2) / (height - 2) : 1;
        at->left = (columns - at->width) / 2;
        at->top = (rows - at->height) / 2;
        return true;
    }

    void Draw() {
        if (g_resized.exchange(false)) {
            ReadSize();
            m_last.clear();
            Write("\x1b[2J");
        }
        std::vector<HWND> tops = VisibleTopLevels();
        if (tops.empty()) return;
        TerminalCanvas canvas(m_columns - 1, m_rows);
        std::string tooSmall;
        for (HWND top : tops) {
            WindowSnapshot s;
            if (!GetWindowSnapshot(top, &s)) continue;
            std::vector<ControlView> tree = DescribeTree(top);
            if (tree.empty()) continue;
            RECT c = Cells(s.rect);
            int width = std::max<int>(c.right - c.left, TextWidth(s.text) + 6) + 2;
            int height = (c.bottom - c.top) + 2;
            Placement at;
            if (!Place(width, height, &at)) {
                char line[160];
                snprintf(line, sizeof line, "too small: %dx%d, needs %dx%d", m_columns, m_rows,
                         int(std::ceil(width * kMinScale)) + 1, int(std::ceil(height * kMinScale)));
                tooSmall = line;
                tooSmall.resize(std::min<size_t>(tooSmall.size(), size_t(std::max(m_columns - 1, 1))));  // one line
                break;
            }
            canvas.Box(at.left, at.top, at.width, at.height, tree.front().text);
            if (tree.front().video) {  // a video window of its own: its picture in the middle
                std::string caption = VideoCaption(tree.front());
                canvas.Put(at.left + std::max(1, (at.width - TextWidth(caption)) / 2), at.top + at.height / 2, caption,
                           kDim, at.left + 1, at.left + at.width - 1);
            }
            for (size_t i = 1; i < tree.size(); ++i) DrawControl(canvas, tree[i], tree, at);
            if (top == m_menuOwner && !m_menuItems.empty()) DrawMenu(canvas, at);
        }
        std::string picture;
        if (!tooSmall.empty()) {
            picture = tooSmall + "\x1b[K";
        } else {
            picture = canvas.Render();
            // No line end after the last row: it would scroll the top row away.
            if (picture.size() >= 2) picture.resize(picture.size() - 2);
        }
        if (picture == m_last) return;
        m_last = picture;
        Write(m_charset.Encode("\x1b[H" + picture + "\x1b[J"));
    }

    int m_in;
    int m_out;
    int m_columns = 80;
    int m_rows = 24;
    struct sigaction m_oldResize {};
    bool m_hasOldResize = false;
    termios m_saved{};
    bool m_raw = false;
    bool m_stopped = false;
    HWND m_focus = nullptr;
    bool m_focusIsList = false;
    std::string m_last;
    TextCharset m_charset{LocaleCharset()};  // the terminal's, from the locale
    std::vector<CMenu::Item> m_menuItems;  // the open system menu; empty when none is
    HWND m_menuOwner = nullptr;
    int m_menuLit = 0;
};

}  // namespace

std::unique_ptr<Display> MakeTerminalDisplay(int inputFd, int outputFd) {
    return std::make_unique<TerminalDisplay>(inputFd, outputFd);
}

}  // namespace platform::display
