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
// (SIGWINCH) draws everything again. A terminal that went away (the end of its input, a hang-up,
// a write that fails) is a lost display: the program is asked to close.
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>

#include "display/DisplayHost.h"
#include "display/OperatorKeys.h"
#include "display/ScreenModel.h"
#include "display/TerminalCanvas.h"
#include "display/TerminalWindow.h"
#include "display/TextCharset.h"
#include "display/TextWidth.h"
#include "mfc/SystemMenu.h"
#include "platform/runtime.h"

namespace platform::display {

namespace {

constexpr DWORD kKeyPollMs = 50;
constexpr char kCtrlC = '\x03';

std::atomic<bool> g_resized{false};

void OnResize(int) { g_resized = true; }

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
        if (!m_gone) Draw();
        if (m_gone) {
            DisplayLost("the terminal went away");
            return ClockNow();
        }
        // A test's steps run on the terminal display too.
        if (HeadlessOperator* op = AttachedOperator()) return std::min(ClockNow() + kKeyPollMs, op->Idle());
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
        while (done < s.size() && !m_gone) {
            ssize_t n = ::write(m_out, s.data() + done, s.size() - done);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (n <= 0) m_gone = true;
            else done += size_t(n);
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
        if (::poll(&p, 1, 0) <= 0) return;
        if (!(p.revents & POLLIN)) {
            m_gone = (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
            return;
        }
        char buffer[64];
        ssize_t n = ::read(m_in, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
        if (n <= 0) {
            m_gone = true;  // the end of the input, or a terminal that hung up
            return;
        }
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
                else if (code == '5' || code == '6') ScrollList(code == '5' ? -1 : 1);
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

    // Page Up/Down away from a focused list: the active window's first list a page up or down, as
    // a pointer on its scroll bar would; the list's own first line follows as far as it goes.
    void ScrollList(int pages) {
        HWND top = ActiveTopLevel();
        if (!top) return;
        for (const ControlView& v : DescribeTree(top)) {
            if (v.kind != ControlKind::ListBox || !m_lists.count(v.hwnd)) continue;
            ListScroll& own = m_lists[v.hwnd];
            own.first = std::clamp(own.first + pages * std::max(1, own.rows - 1), 0, std::max(0, own.count - own.rows));
            ::SendMessageA(v.hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, own.first), 0);
            own.listTop = int(::SendMessageA(v.hwnd, LB_GETTOPINDEX, 0, 0));
            return;
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
            if (m_menuLit >= 0 && size_t(m_menuLit) < m_menuItems.size() && ::IsWindow(m_menuOwner) &&
                !(m_menuItems[size_t(m_menuLit)].flags & (MF_GRAYED | MF_DISABLED)))
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
            else
                canvas.Put(left + 2, row, WithoutMnemonic(std::string(m_menuItems[i].text)),
                           int(i) == m_menuLit ? kReverse : (m_menuItems[i].flags & (MF_GRAYED | MF_DISABLED)) ? kDim : kPlain);
        }
    }

    void Draw() {
        if (g_resized.exchange(false)) {
            ReadSize();
            m_last.clear();
            Write("\x1b[2J");
        }
        std::vector<HWND> tops = VisibleTopLevels();
        if (tops.empty()) return;
        std::erase_if(m_lists, [](const auto& list) { return !::IsWindow(list.first); });
        TerminalCanvas canvas(m_columns - 1, m_rows);
        std::string tooSmall;
        for (HWND top : tops) {
            std::vector<ControlView> tree = DescribeTree(top);
            if (tree.empty()) continue;
            Placement at;
            if (!DrawTerminalWindow(canvas, tree, m_focus, &at, &tooSmall, &m_lists)) break;
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
    bool m_gone = false;  // the terminal went away
    HWND m_focus = nullptr;
    bool m_focusIsList = false;
    ListScrolls m_lists;  // where each list drawn was last shown from
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
