// The log display: every change a person would see, as a line, and an automatic operator that
// acts as a patient person would. It takes every message box's default button; when nothing has
// changed for a while it presses the first enabled button in tab order (a preferred button of
// the program's before it, a button the program names never-pressed not at all), but never again
// while the window shows what it showed at the last press; then it presses the cancel button, or
// closes the window.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <map>
#include <mutex>
#include <set>

#include "display/DisplayHost.h"
#include "display/ScreenModel.h"
#include "display/TextCharset.h"
#include "platform/runtime.h"

namespace platform {

namespace {

using display::ControlKind;
using display::ControlView;

std::mutex g_preferencesLock;
OperatorPreferences g_preferences;

bool Listed(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

struct Printed {
    std::string text;
    std::string mark;  // a text's colours
    bool enabled = true;
    int decile = -1;
    size_t rows = 0;
};

std::string OneLine(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') out += " / ";
        else if (text[i] == '\t') out += ' ';
        else out += text[i];
    }
    return out;
}

std::string Row(const std::vector<std::string>& cells) {
    std::string s;
    for (size_t i = 0; i < cells.size(); ++i) s += (i ? " | " : "") + cells[i];
    return s;
}

// Lines to standard output, in the locale's character set. When a write fails (the reader went
// away: a closed pipe, a closed terminal), the output ends with one line on stderr; the automatic
// operator goes on.
std::function<void(const std::string&)> StandardOutput() {
    struct Output {
        std::mutex lock;  // lines come from every thread that answers a message box
        display::TextCharset charset{display::LocaleCharset()};
        bool ended = false;
    };
    auto output = std::make_shared<Output>();
    return [output](const std::string& line) {
        std::lock_guard<std::mutex> hold(output->lock);
        if (output->ended) return;
        errno = 0;
        fputs(output->charset.Encode(line).c_str(), stdout);
        fputc('\n', stdout);
        if (fflush(stdout) == 0 && !ferror(stdout)) return;
        output->ended = true;
        fprintf(stderr, "pelvatro: the log output ended (%s); the run goes on without it\n",
                errno ? strerror(errno) : "write failed");
    };
}

class LogDisplay : public Display {
public:
    LogDisplay(std::function<void(const std::string&)> out, DWORD settleMs) : m_out(std::move(out)), m_settle(settleMs) {
        if (!m_out) m_out = StandardOutput();
    }

    DisplayKind Kind() const override { return DisplayKind::Log; }

    ULONGLONG Idle() override {
        ULONGLONG now = ClockNow();
        if (PrintChanges() || m_lastChange == 0) m_lastChange = now;
        ULONGLONG videoDue = PrintVideo(now);
        const OperatorPreferences preferences = GetOperatorPreferences();
        const ULONGLONG settle = std::max<ULONGLONG>(m_settle, preferences.showForMs);
        if (now - m_lastChange >= settle) {
            Act(preferences);
            m_lastChange = ClockNow();
        }
        return std::min(m_lastChange + settle, videoDue);
    }

    void Say(const std::string& line) override { Print(line); }

    int AnswerMessageBox(HWND owner, const char* text, const char* caption, UINT type) override {
        int answer = DefaultMessageBoxAnswer(type);
        Print("message box \"" + std::string(caption) + "\": " + OneLine(text) + " -> " +
              display::MessageBoxButtonText(answer));
        return answer;
    }

private:
    void Print(const std::string& line) { m_out(line); }

    std::string Name(const ControlView& v) { return std::to_string(v.id); }

    void Appear(const ControlView& v) {
        switch (v.kind) {
        case ControlKind::Window:
            if (v.depth == 0) Print("window \"" + v.text + "\"");
            break;
        case ControlKind::Text:
            if (!v.text.empty()) {
                std::string mark = display::ColourMark(v);
                Print("text " + Name(v) + ": " + OneLine(v.text) + (mark.empty() ? "" : " (" + mark + ")"));
            }
            break;
        case ControlKind::PushButton:
            Print("button " + Name(v) + " \"" + OneLine(v.text) + "\"" + (v.enabled ? "" : " disabled"));
            break;
        case ControlKind::CheckBox:
            Print("checkbox " + Name(v) + " \"" + OneLine(v.text) + "\"" + (v.checked ? " [x]" : " [ ]"));
            break;
        case ControlKind::Edit: Print("field " + Name(v) + ": " + OneLine(v.text)); break;
        case ControlKind::Progress: Print("progress " + Name(v) + ": " + std::to_string(display::Percent(v)) + "%"); break;
        case ControlKind::ListView:
            if (!v.columns.empty()) Print("table " + Name(v) + ": " + Row(v.columns));
            break;
        default: break;
        }
    }

    void Rows(const ControlView& v, size_t from) {
        const char* what = v.kind == ControlKind::ListBox ? "list " : "table ";
        for (size_t i = from; i < v.rows.size(); ++i) Print(what + Name(v) + ": " + Row(v.rows[i]));
    }

    void Compare(const ControlView& v, Printed& p) {
        if (v.kind == ControlKind::Text && v.text == p.text && display::ColourMark(v) != p.mark) {
            Appear(v);
        } else if (v.text != p.text) {
            if (v.kind == ControlKind::Window && v.depth == 0) Print("title \"" + v.text + "\"");
            else if (v.kind == ControlKind::PushButton || v.kind == ControlKind::CheckBox || v.kind == ControlKind::Text ||
                     v.kind == ControlKind::Edit)
                Appear(v);
        } else if (v.enabled != p.enabled && v.kind == ControlKind::PushButton) {
            Print("button " + Name(v) + " \"" + OneLine(v.text) + "\" " + (v.enabled ? "enabled" : "disabled"));
        }
        int decile = display::Percent(v) / 10;
        if (v.kind == ControlKind::Progress && decile != p.decile) Appear(v);
        if (v.rows.size() < p.rows) {
            Print((v.kind == ControlKind::ListBox ? "list " : "table ") + Name(v) + " emptied");
            p.rows = 0;
        }
        if (v.rows.size() > p.rows) Rows(v, p.rows);
    }

    // A video window starts showing frames when its count moves, and has stopped when it has
    // not moved for a second (or the window went away). Returns when to look again.
    ULONGLONG PrintVideo(ULONGLONG now) {
        std::map<HWND, Video> seen;
        for (HWND top : display::VisibleTopLevels()) {
            for (const ControlView& v : display::DescribeTree(top)) {
                if (!v.video) continue;
                Video video = m_video.count(v.hwnd) ? m_video[v.hwnd] : Video{v.framesShown, 0, false};
                video.name = v.text;
                if (v.framesShown != video.frames) {
                    if (!video.showing)
                        Print("video \"" + OneLine(v.text) + "\": showing " + std::to_string(v.pictureWidth) + "x" +
                              std::to_string(v.pictureHeight));
                    video = Video{v.framesShown, now, true, v.text};
                }
                seen[v.hwnd] = video;
            }
        }
        ULONGLONG due = UINT64_MAX;
        for (auto& [hwnd, video] : m_video) {
            auto it = seen.find(hwnd);
            bool gone = it == seen.end();
            Video& latest = gone ? video : it->second;
            if (latest.showing && (gone || now - latest.since >= kVideoStill)) {
                Print("video \"" + OneLine(latest.name) + "\": stopped, " + std::to_string(latest.frames) + " frames shown");
                latest.showing = false;
            }
        }
        for (auto& [hwnd, video] : seen)
            if (video.showing) due = std::min(due, video.since + kVideoStill);
        m_video = std::move(seen);
        return due;
    }

    // Prints what changed since the last call; true when anything did.
    bool PrintChanges() {
        std::map<HWND, Printed> now;
        std::string signature;
        for (HWND top : display::VisibleTopLevels()) {
            if (IsMessageBoxWindow(top)) continue;
            std::vector<ControlView> tree = display::DescribeTree(top);
            signature += display::Signature(tree);
            for (const ControlView& v : tree) {
                auto old = m_printed.find(v.hwnd);
                Printed p;
                if (old == m_printed.end()) {
                    Appear(v);
                    Rows(v, 0);
                } else {
                    p = old->second;
                    Compare(v, p);
                }
                p.text = v.text;
                p.mark = display::ColourMark(v);
                p.enabled = v.enabled;
                p.decile = display::Percent(v) / 10;
                p.rows = v.rows.size();
                now[v.hwnd] = p;
            }
        }
        for (const auto& [hwnd, p] : m_printed) {
            if (!now.count(hwnd) && m_tops.count(hwnd)) Print("window \"" + p.text + "\" closed");
        }
        m_tops.clear();
        for (HWND top : display::VisibleTopLevels()) m_tops.insert(top);
        m_printed = std::move(now);
        bool changed = signature != m_signature;
        m_signature = signature;
        return changed;
    }

    void Act(const OperatorPreferences& preferences) {
        HWND top = display::ActiveTopLevel();
        if (!top || IsMessageBoxWindow(top)) return;
        std::vector<ControlView> tree = display::DescribeTree(top);
        std::string signature = display::Signature(tree);
        const ControlView* first = nullptr;
        const ControlView* cancel = nullptr;
        size_t preferredRank = preferences.preferred.size();
        for (const ControlView& v : tree) {
            if (!display::IsPressable(v) || Listed(preferences.neverPressed, v.id)) continue;
            auto rank = size_t(std::find(preferences.preferred.begin(), preferences.preferred.end(), v.id) -
                               preferences.preferred.begin());
            if (rank < preferredRank) {
                preferredRank = rank;
                first = &v;
            }
            if (!first) first = &v;
            if (v.id == IDCANCEL && !cancel) cancel = &v;
        }
        if (first && signature != m_pressedSignature) {
            m_pressedSignature = signature;
            Print("operator: presses \"" + OneLine(first->text) + "\" (" + Name(*first) + ")");
            ::PostMessageA(first->hwnd, BM_CLICK, 0, 0);
            return;
        }
        if (signature != m_pressedSignature) return;  // nothing to press: wait for the window to change
        if (cancel) {
            Print("operator: presses \"" + OneLine(cancel->text) + "\" (" + Name(*cancel) + ")");
            ::PostMessageA(cancel->hwnd, BM_CLICK, 0, 0);
        } else {
            Print("operator: closes \"" + tree.front().text + "\"");
            ::PostMessageA(top, WM_CLOSE, 0, 0);
        }
    }

    std::function<void(const std::string&)> m_out;
    DWORD m_settle;
    ULONGLONG m_lastChange = 0;
    std::map<HWND, Printed> m_printed;
    struct Video {
        long frames = 0;
        ULONGLONG since = 0;  // the last frame seen
        bool showing = false;
        std::string name;
    };
    static constexpr ULONGLONG kVideoStill = 1000;
    std::map<HWND, Video> m_video;
    std::set<HWND> m_tops;
    std::string m_signature;
    std::string m_pressedSignature;
};

}  // namespace

void SetOperatorPreferences(const OperatorPreferences& preferences) {
    std::lock_guard<std::mutex> lock(g_preferencesLock);
    g_preferences = preferences;
}

OperatorPreferences GetOperatorPreferences() {
    std::lock_guard<std::mutex> lock(g_preferencesLock);
    return g_preferences;
}

std::unique_ptr<Display> MakeLogDisplay(std::function<void(const std::string& line)> out, DWORD settleMs) {
    return std::make_unique<LogDisplay>(std::move(out), settleMs);
}

}  // namespace platform
