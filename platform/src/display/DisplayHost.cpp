// The current display, the choice of display at start and the message-box handler.
#include "display/DisplayHost.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "WindowTable.h"
#include "display/ScreenModel.h"
#include "dshow/filters/Yuv422Vectors.h"
#include "gdi/WindowSurfaces.h"
#include "platform/runtime.h"

namespace platform {

namespace {

struct Host {
    std::mutex lock;
    std::shared_ptr<Display> display;
    std::set<HWND> messageBoxes;
    // The thread that draws a terminal or log display: the first whose loop went idle, given
    // over to a thread that shows a window of its own while this one shows none (a worker's
    // message box may go idle before the page it stands over is first shown).
    DWORD drawingThread = 0;
    bool drawnWake = false;  // the drawing thread was woken for a surface drawn elsewhere
    ULONGLONG nextCloseRequest = 0;
};

// Asked by a signal that a shell or a closed terminal sends, by Ctrl-C on the terminal, or by a
// display that was lost: the program closes its windows as the operator would.
std::atomic<bool> g_closeAsked{false};
std::atomic<bool> g_displayLost{false};
constexpr ULONGLONG kCloseRequestMs = 250;

void OnTerminationSignal(int) { g_closeAsked = true; }

// SIGPIPE is ignored (a failed write reports itself), and SIGXFSZ (a file size limit): the write
// fails as on a full disk. SIGINT (Ctrl-C in the shell the program runs from, on any display),
// SIGHUP, SIGTERM, SIGQUIT (Ctrl-\\), SIGUSR1, SIGUSR2 and SIGALRM ask the active window to close
// instead of ending the program in the middle of a write.
void HandleTerminationSignals() {
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    struct sigaction close {};
    close.sa_handler = &OnTerminationSignal;
    sigemptyset(&close.sa_mask);
    close.sa_flags = SA_RESTART;
    for (int asksToClose : {SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM}) sigaction(asksToClose, &close, nullptr);
}

const char kAcceptedDisplays[] = "headless, terminal, log or x11";

Host& TheHost() {
    static Host* host = new Host;
    return *host;
}

// Whether `thread` shows a top-level window other than a message box.
bool ShowsOwnWindow(DWORD thread, const std::set<HWND>& boxes) {
    for (HWND w : GetTopLevelWindowList())
        if (::IsWindowVisible(w) && !boxes.count(w) && ::GetWindowThreadProcessId(w, nullptr) == thread) return true;
    return false;
}

// Called with the host locked by `held`: the windows are looked at without the lock (window
// calls never wait for it) and the drawing passes to `me` only if no other thread took it meanwhile.
bool TakeOverDrawing(Host& h, DWORD me, std::unique_lock<std::mutex>& held) {
    DWORD drawing = h.drawingThread;
    std::set<HWND> boxes = h.messageBoxes;
    held.unlock();
    bool take = !ShowsOwnWindow(drawing, boxes) && ShowsOwnWindow(me, boxes);
    held.lock();
    if (!take || h.drawingThread != drawing) return h.drawingThread == me;
    h.drawingThread = me;
    return true;
}

std::shared_ptr<Display> Current() {
    Host& h = TheHost();
    std::lock_guard<std::mutex> g(h.lock);
    return h.display;
}

void StopTerminalAtExit() {
    std::shared_ptr<Display> d = Current();
    if (d) d->Stop();
}

}  // namespace

DisplayKind DisplayKindFromEnvironment(bool machineDefault) {
    const char* chosen = getenv("PELVATRO_DISPLAY");
    if (chosen && *chosen) {
        if (strcmp(chosen, "terminal") == 0) return DisplayKind::Terminal;
        if (strcmp(chosen, "log") == 0) return DisplayKind::Log;
        if (strcmp(chosen, "x11") == 0) return DisplayKind::X11;
        if (strcmp(chosen, "headless") != 0)
            PlatformTrace("PELVATRO_DISPLAY=%s is not a display of this build; headless is used\n", chosen);
        return DisplayKind::Headless;
    }
    if (!machineDefault) return DisplayKind::Headless;
    const char* x = getenv("DISPLAY");
    if (x && *x) return DisplayKind::X11;
    return (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) ? DisplayKind::Terminal : DisplayKind::Log;
}

void StartDisplay(DisplayKind kind) {
    switch (kind) {
    case DisplayKind::Terminal: SetDisplay(display::MakeTerminalDisplay(STDIN_FILENO, STDOUT_FILENO)); break;
    case DisplayKind::Log: SetDisplay(MakeLogDisplay(nullptr)); break;
    case DisplayKind::X11: {
        std::string why;
        if (std::unique_ptr<Display> x = display::MakeX11Display(&why)) {
            SetDisplay(std::move(x));
            break;
        }
        bool tty = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
        PlatformTrace("%s: the %s display is used\n", why.c_str(), tty ? "terminal" : "log");
        StartDisplay(tty ? DisplayKind::Terminal : DisplayKind::Log);
        break;
    }
    default: SetDisplay(display::MakeHeadlessDisplay()); break;
    }
}

void StartMachineDefaultDisplay() {
    const char* chosen = getenv("PELVATRO_DISPLAY");
    if (chosen && *chosen && strcmp(chosen, "terminal") != 0 && strcmp(chosen, "log") != 0 &&
        strcmp(chosen, "headless") != 0 && strcmp(chosen, "x11") != 0) {
        fprintf(stderr, "pelvatro: PELVATRO_DISPLAY=%s is not a display of this program; use %s\n", chosen,
                kAcceptedDisplays);
        exit(2);
    }
    if (const std::string refused = dshow::UnknownVectorsSetting(); !refused.empty()) {
        fprintf(stderr, "pelvatro: %s\n", refused.c_str());
        exit(2);
    }
    HandleTerminationSignals();
    StartDisplay(DisplayKindFromEnvironment(true));
    static std::once_flag once;
    std::call_once(once, [] { atexit(&StopTerminalAtExit); });
}

void SetDisplay(std::unique_ptr<Display> display) {
    std::shared_ptr<Display> old;
    {
        Host& h = TheHost();
        std::lock_guard<std::mutex> g(h.lock);
        old = std::move(h.display);
        h.display = std::move(display);
        h.drawingThread = 0;
    }
    if (old) old->Stop();
    SetMessageBoxHandler([](HWND owner, const char* text, const char* caption, UINT type) {
        // Once the program is asked to close, no box is shown nor answered: it ends without an answer.
        if (g_closeAsked) return 0;
        std::shared_ptr<Display> d = Current();
        int answer = d ? d->AnswerMessageBox(owner, text, caption, type) : DefaultMessageBoxAnswer(type);
        return answer ? answer : display::RunMessageBox(owner, text, caption, type);
    });
}

void StopDisplay() {
    std::shared_ptr<Display> old;
    {
        Host& h = TheHost();
        std::lock_guard<std::mutex> g(h.lock);
        old = std::move(h.display);
    }
    SetMessageBoxHandler(nullptr);
    if (old) old->Stop();
}

Display* CurrentDisplay() { return Current().get(); }

bool IsMessageBoxWindow(HWND window) {
    Host& h = TheHost();
    std::lock_guard<std::mutex> g(h.lock);
    return h.messageBoxes.count(window) != 0;
}

namespace display {

ULONGLONG Idle() {
    std::shared_ptr<Display> d;
    bool askClose = false;
    {
        Host& h = TheHost();
        std::unique_lock<std::mutex> g(h.lock);
        d = h.display;
        if (!d) return UINT64_MAX;
        if (d->Kind() != DisplayKind::Headless) {
            // One thread draws and reads keys; another thread's loop (a message box it raised)
            // is shown by that one and gets its keys as messages.
            DWORD me = ::GetCurrentThreadId();
            if (!h.drawingThread) h.drawingThread = me;
            if (h.drawingThread != me && !TakeOverDrawing(h, me, g)) return UINT64_MAX;
        }
        h.drawnWake = false;  // what was drawn until now is told below
        if (g_closeAsked && ClockNow() >= h.nextCloseRequest) {
            askClose = true;
            h.nextCloseRequest = ClockNow() + kCloseRequestMs;
        }
    }
    if (askClose) {
        // Asked again until the windows are gone: the message boxes end without an answer
        // first, then the window under them is asked; a window that refuses while a write runs
        // closes once the write has ended.
        std::set<HWND> boxes;
        {
            std::lock_guard<std::mutex> g(TheHost().lock);
            boxes = TheHost().messageBoxes;
        }
        for (HWND box : boxes) ::PostMessageA(box, kEndWithoutAnswer, 0, 0);
        if (HWND top = ActiveTopLevel(); top && boxes.empty()) ::PostMessageA(top, WM_CLOSE, 0, 0);
    }
    // The paint pass is done: the display hears what changed.
    for (auto& [window, rects] : gdi::TakeChangedSurfaces()) d->SurfaceChanged(window, rects);
    ULONGLONG wake = d->Idle();
    return g_closeAsked ? std::min<ULONGLONG>(wake, ClockNow() + kCloseRequestMs) : wake;
}

// Of the displays, only X11 shows the surfaces' pixels.
void SurfaceDrawn() {
    Host& h = TheHost();
    DWORD wake = 0;
    {
        std::lock_guard<std::mutex> g(h.lock);
        if (!h.display || h.display->Kind() != DisplayKind::X11 || !h.drawingThread || h.drawnWake) return;
        h.drawnWake = true;
        wake = h.drawingThread;
    }
    if (wake != ::GetCurrentThreadId()) win::WakeThread(wake);
}

void AskToClose() { g_closeAsked = true; }

bool CloseAsked() { return g_closeAsked; }

void DisplayLost(const char* why) {
    if (g_displayLost.exchange(true)) return;
    fprintf(stderr, "pelvatro: the display was lost (%s); the program closes\n", why);
    g_closeAsked = true;
    // Nothing is shown any more and nobody acts: the windows close as the close request asks.
    SetDisplay(MakeHeadlessDisplay());
}

void ThreadEnded(DWORD threadId) {
    Host& h = TheHost();
    std::lock_guard<std::mutex> g(h.lock);
    if (h.drawingThread == threadId) h.drawingThread = 0;
}

void SetMessageBoxWindow(HWND window, bool isMessageBox) {
    Host& h = TheHost();
    std::lock_guard<std::mutex> g(h.lock);
    if (isMessageBox) h.messageBoxes.insert(window);
    else h.messageBoxes.erase(window);
}

namespace {
std::vector<std::string>& RestartArgs() {
    static auto* args = new std::vector<std::string>;
    return *args;
}
}  // namespace

void RestartAtEnd(const std::vector<std::string>& args) { RestartArgs() = args; }

const char* MessageBoxButtonText(int id) {
    switch (id) {
    case IDOK: return "确定";
    case IDCANCEL: return "取消";
    case IDABORT: return "中止";
    case IDRETRY: return "重试";
    case IDIGNORE: return "忽略";
    case IDYES: return "是";
    case IDNO: return "否";
    default: return "?";
    }
}

}  // namespace display

void RestartIfAsked(int exitCode) {
    std::vector<std::string>& args = display::RestartArgs();
    if (args.empty()) return;
    // Only a run that ended as the page asked starts again: a close request, a lost display or a
    // run with an exit code of its own ends the program.
    if (g_closeAsked || exitCode != 0) {
        PlatformTrace("restart left out: the run %s\n", g_closeAsked ? "was asked to close" : "ended with an exit code");
        return;
    }
    if (std::shared_ptr<Display> d = Current()) d->Stop();
    fflush(nullptr);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    fprintf(stderr, "pelvatro: the restart failed: %s\n", strerror(errno));
}

}  // namespace platform
