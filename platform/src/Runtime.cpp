// Folders, failure injection and message-box answering.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/runtime.h"
#include "platform/winfile.h"
#include "platform/winuser.h"

namespace platform {

namespace {

// The folder, made when it is not there. One that cannot be made is traced and still answered:
// whoever uses it meets the error where it can say what could not be done.
std::string EnsureDir(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) PlatformTrace("platform: the folder %s cannot be made: %s\n", path.c_str(), ec.message().c_str());
    return path;
}

struct Failure {
    int skip = 0;
    int times = 0;
    LONG error = 0;
};

std::mutex& FailureLock() {
    static auto* m = new std::mutex;
    return *m;
}

// Set while the table holds an entry, so calls need not take the lock when nothing is injected.
std::atomic<bool> g_injected{false};

std::map<std::string, Failure>& Failures() {
    static auto* f = new std::map<std::string, Failure>;
    return *f;
}

std::mutex& BoxLock() {
    static auto* m = new std::mutex;
    return *m;
}

MessageBoxHandler& BoxHandler() {
    static auto* h = new MessageBoxHandler;
    return *h;
}

}  // namespace

namespace {

std::mutex& AbsoluteLock() {
    static auto* m = new std::mutex;
    return *m;
}

// Folders given as relative paths, by what was written, as they were made absolute.
std::map<std::string, std::string>& AbsoluteFolders() {
    static auto* folders = new std::map<std::string, std::string>;
    return *folders;
}

// A folder the user named, absolute: a relative one against the current folder the first time
// it is seen, so a later change of the current folder does not move it.
std::string Absolute(const std::string& written) {
    if (written.front() == '/') return written;
    std::lock_guard<std::mutex> lock(AbsoluteLock());
    auto found = AbsoluteFolders().find(written);
    if (found != AbsoluteFolders().end()) return found->second;
    std::error_code ec;
    std::string absolute = (std::filesystem::current_path(ec) / written).lexically_normal().string();
    if (ec) absolute = written;
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    return AbsoluteFolders().emplace(written, absolute).first->second;
}

// An environment variable that names a folder, when set and not empty.
const char* FolderVariable(const char* name) {
    const char* value = getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

std::string StateDir() {
    if (const char* dir = FolderVariable("PELVATRO_STATE_DIR")) return EnsureDir(Absolute(dir));
    // The XDG rules: a relative path in XDG_STATE_HOME (or HOME) is ignored.
    if (const char* xdg = FolderVariable("XDG_STATE_HOME"); xdg && *xdg == '/')
        return EnsureDir(std::string(xdg) + "/pelvatro");
    if (const char* home = FolderVariable("HOME"); home && *home == '/')
        return EnsureDir(std::string(home) + "/.local/state/pelvatro");
    return std::string();
}

std::string PathForMessage(const std::string& path) {
    for (const char* name : {"PELVATRO_STATE_DIR", "PELVATRO_HOME"}) {
        const char* written = FolderVariable(name);
        if (!written || *written == '/') continue;
        const std::string absolute = Absolute(written);
        if (path.compare(0, absolute.size(), absolute) == 0 && (path.size() == absolute.size() || path[absolute.size()] == '/'))
            return std::string(written) + path.substr(absolute.size());
    }
    return path;
}

std::string HomeDir() {
    if (const char* dir = FolderVariable("PELVATRO_HOME")) return EnsureDir(Absolute(dir));
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return exe.parent_path().string();
}

void InjectFailure(const std::string& call, int times, LONG error, int skip) {
    std::lock_guard<std::mutex> g(FailureLock());
    Failures()[call] = Failure{skip, times, error};
    g_injected.store(true, std::memory_order_release);
}

void ClearFailures() {
    std::lock_guard<std::mutex> g(FailureLock());
    Failures().clear();
    g_injected.store(false, std::memory_order_release);
}

bool FailuresInjected() { return g_injected.load(std::memory_order_acquire); }

bool ShouldFail(const char* call, LONG* error) {
    if (!FailuresInjected()) return false;
    std::lock_guard<std::mutex> g(FailureLock());
    auto& failures = Failures();
    if (failures.empty()) return false;
    auto it = failures.find(call);
    if (it == failures.end()) return false;
    Failure& f = it->second;
    if (f.skip > 0) {
        --f.skip;
        return false;
    }
    if (f.times == 0) return false;
    if (f.times > 0) --f.times;
    if (error && f.error) *error = f.error;
    return true;
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard<std::mutex> g(BoxLock());
    BoxHandler() = std::move(handler);
}

int DefaultMessageBoxAnswer(UINT type) {
    int second = (type & 0xF00) == MB_DEFBUTTON2;
    int third = (type & 0xF00) == MB_DEFBUTTON3;
    switch (type & 0xF) {
    case MB_OKCANCEL: return second ? IDCANCEL : IDOK;
    case MB_ABORTRETRYIGNORE: return third ? IDIGNORE : second ? IDRETRY : IDABORT;
    case MB_YESNOCANCEL: return third ? IDCANCEL : second ? IDNO : IDYES;
    case MB_YESNO: return second ? IDNO : IDYES;
    case MB_RETRYCANCEL: return second ? IDCANCEL : IDRETRY;
    default: return IDOK;
    }
}

}  // namespace platform

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    platform::MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> g(platform::BoxLock());
        handler = platform::BoxHandler();
    }
    if (handler) return handler(owner, text ? text : "", caption ? caption : "", type);
    int answer = platform::DefaultMessageBoxAnswer(type);
    PlatformTrace("MessageBox [%s] %s -> %d\n", caption ? caption : "", text ? text : "", answer);
    return answer;
}

BOOL MessageBeep(UINT) { return TRUE; }
