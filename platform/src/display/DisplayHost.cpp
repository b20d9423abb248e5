// The current display, the choice of display at start and the message-box handler.
#include "display/DisplayHost.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/runtime.h"

namespace platform {

namespace {

struct Host {
    std::mutex lock;
    std::shared_ptr<Display> display;
    std::set<HWND> messageBoxes;
};

Host& TheHost() {
    static Host* host = new Host;
    return *host;
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
        if (strcmp(chosen, "headless") != 0)
            PlatformTrace("PELVATRO_DISPLAY=%s is not a display of this build; headless is used\n", chosen);
        return DisplayKind::Headless;
    }
    if (!machineDefault) return DisplayKind::Headless;
    return (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) ? DisplayKind::Terminal : DisplayKind::Log;
}

void StartDisplay(DisplayKind kind) {
    switch (kind) {
    case DisplayKind::Terminal: SetDisplay(display::MakeTerminalDisplay(STDIN_FILENO, STDOUT_FILENO)); break;
    case DisplayKind::Log: SetDisplay(MakeLogDisplay(nullptr)); break;
    default: SetDisplay(display::MakeHeadlessDisplay()); break;
    }
}

void StartMachineDefaultDisplay() {
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
    }
    if (old) old->Stop();
    SetMessageBoxHandler([](HWND owner, const char* text, const char* caption, UINT type) {
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
    std::shared_ptr<Display> d = Current();
    return d ? d->Idle() : UINT64_MAX;
}

HDC PaintSurface(HWND window) {
    std::shared_ptr<Display> d = Current();
    return d ? d->PaintSurface(window) : nullptr;
}

void SetMessageBoxWindow(HWND window, bool isMessageBox) {
    Host& h = TheHost();
    std::lock_guard<std::mutex> g(h.lock);
    if (isMessageBox) h.messageBoxes.insert(window);
    else h.messageBoxes.erase(window);
}

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

}  // namespace platform
