// ShellExecute, ExitWindowsEx and the token calls around it.
#include "platform/shell.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "display/DisplayHost.h"
#include "platform/runtime.h"
#include "platform/winfile.h"

extern char** environ;

namespace {

std::string Normalized(const char* path) {
    std::string s = path ? path : "";
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

bool IsOwnProgram(const char* file) {
    char own[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, own, sizeof own)) return false;
    return strcasecmp(Normalized(own).c_str(), Normalized(file).c_str()) == 0;
}

// Starts a process without waiting for it (a name without a slash is looked up in PATH); true
// when it started.
bool Spawn(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    return posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

// How long the power-off command is waited for, and how often it is looked at meanwhile.
constexpr ULONGLONG kPowerOffWaitMs = 60000;
constexpr DWORD kPowerOffPollMs = 100;
constexpr int kPowerOffRealGraceMs = 2000;

// Copies what the command has written so far to the program's stderr; false once its output has
// ended.
bool CopyToStderr(int fd) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) return false;
        if (n < 0) return errno == EINTR || errno == EAGAIN;
        for (ssize_t done = 0; done < n;) {
            const ssize_t put = write(STDERR_FILENO, buffer + done, size_t(n - done));
            if (put <= 0 && errno != EINTR) return true;  // stderr is gone: the rest is dropped
            if (put > 0) done += put;
        }
    }
}

HINSTANCE Result(int code) { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(code)); }

struct ShellLog {
    std::mutex lock;
    std::vector<platform::ShellRequest> requests;
    bool startsNothing = false;
};

ShellLog& Log() {
    static ShellLog log;
    return log;
}

// Records the request; true when it is to be started for real.
bool Record(const platform::ShellRequest& request) {
    ShellLog& log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    log.requests.push_back(request);
    return !log.startsNothing;
}

// The file's own name, after its last separator of either kind.
std::string BaseName(const char* file) {
    std::string name = Normalized(file);
    size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool IsPlayer(const char* file) {
    std::string name = BaseName(file);
    return strcasecmp(name.c_str(), "mplayer2.exe") == 0 || strcasecmp(name.c_str(), "wmplayer.exe") == 0;
}

std::vector<std::string> OwnCommandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    for (size_t start = 0; start < cmdline.size();) {
        size_t end = cmdline.find('\0', start);
        if (end == std::string::npos) end = cmdline.size();
        args.push_back(cmdline.substr(start, end - start));
        start = end + 1;
    }
    return args;
}

HINSTANCE Restart(const char* file, platform::ShellRequest request) {
    request.command = OwnCommandLine();
    bool real = Record(request);
    platform::Display* display = platform::CurrentDisplay();
    if (display && display->Kind() == platform::DisplayKind::Log) {
        // The log display's operator is automatic: a run that started itself again would never
        // end. The run ends after its record instead.
        display->Say("restart: left out on the log display; the program ends after this run");
        PlatformTrace("ShellExecute: restart of %s left out on the log display\n", file);
        return Result(42);
    }
    if (!real) {
        PlatformTrace("ShellExecute: restart of %s recorded, not started\n", file);
        return Result(42);
    }
    // The program goes on as one: once its windows are gone, the new start replaces it in the
    // same process (exec), so it keeps the terminal, its parent and its process id.
    platform::display::RestartAtEnd(request.command);
    PlatformTrace("ShellExecute: restart of %s when this program ends\n", file);
    return Result(42);
}

}  // namespace

namespace platform {

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> args;
    std::string current;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < line.size();) {
        char c = line[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArg) args.push_back(current);
            current.clear();
            inArg = false;
            ++i;
            continue;
        }
        inArg = true;
        if (c == '\\') {
            size_t n = 0;
            while (i < line.size() && line[i] == '\\') ++n, ++i;
            if (i < line.size() && line[i] == '"') {
                current.append(n / 2, '\\');
                if (n % 2 == 1) {
                    current += '"';
                    ++i;
                }
            } else {
                current.append(n, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                current += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArg) args.push_back(current);
    return args;
}

std::vector<ShellRequest> ShellRequests() {
    ShellLog& log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    return log.requests;
}

void ClearShellRequests() {
    ShellLog& log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    log.requests.clear();
}

void SetShellStartsNothing(bool on) {
    ShellLog& log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    log.startsNothing = on;
}

}  // namespace platform

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int showCommand) {
    if (!file || !*file) return Result(SE_ERR_FNF);
    if (platform::ShouldFail("ShellExecute")) return Result(SE_ERR_ACCESSDENIED);
    platform::ShellRequest request;
    request.file = file;
    request.parameters = parameters ? parameters : "";
    if (IsOwnProgram(file)) {
        request.restart = true;
        return Restart(file, std::move(request));
    }
    request.player = IsPlayer(file);
    const char* opener = getenv("PELVATRO_OPENER");
    if (!opener || !*opener) {
        Record(request);
        PlatformTrace("ShellExecute: no opener configured (PELVATRO_OPENER) for %s %s; refused\n", file,
                      request.parameters.c_str());
        return Result(SE_ERR_NOASSOC);
    }
    request.command.push_back(opener);
    if (request.player) {
        // The player itself is Windows' own; the desktop's opener plays what it was given.
        for (const std::string& arg : platform::SplitCommandLine(request.parameters))
            request.command.push_back(platform::NativePath(arg.c_str()));
    } else {
        request.command.push_back(platform::NativePath(file));
        if (!request.parameters.empty()) request.command.push_back(request.parameters);
    }
    if (!Record(request)) {
        PlatformTrace("ShellExecute: %s %s recorded, not started\n", opener, request.parameters.c_str());
        return Result(42);
    }
    bool started = Spawn(opener, request.command);
    PlatformTrace("ShellExecute: %s %s %s %s\n", opener, file, request.parameters.c_str(), started ? "started" : "failed");
    return Result(started ? 42 : SE_ERR_NOASSOC);
}

BOOL ExitWindowsEx(UINT flags, DWORD reason) {
    const char* command = getenv("PELVATRO_POWEROFF_COMMAND");
    if (!command || !*command) {
        PlatformTrace("ExitWindowsEx(0x%x): no power-off command configured (PELVATRO_POWEROFF_COMMAND); the machine stays on\n",
                      flags);
        fprintf(stderr, "pelvatro: the station asked to switch the machine off (flags 0x%x); "
                        "PELVATRO_POWEROFF_COMMAND is not set, so it stays on\n", flags);
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    PlatformTrace("ExitWindowsEx(0x%x): running %s\n", flags, command);
    // The command holds none of the program's descriptors: its output comes through a pipe of its
    // own to the program's stderr, so a command that outlives the program holds no terminal or
    // pipe the program's caller waits on.
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) return FALSE;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    pid_t pid;
    const char* argv[] = {"/bin/sh", "-c", command, nullptr};
    const bool spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    const int fromCommand = output[0];
    fcntl(fromCommand, F_SETFL, O_NONBLOCK);
    if (!spawned) {
        close(fromCommand);
        return FALSE;
    }
    // A command that never returns must not hold the program: it is waited for a bounded time on
    // the platform clock, then left to itself. The command runs on the machine's own time, so it
    // first gets a short real wait that a fast-running platform clock cannot skip.
    if (const int ended = syscall(SYS_pidfd_open, pid, 0); ended >= 0) {
        pollfd watch[2] = {{ended, POLLIN, 0}, {fromCommand, POLLIN, 0}};
        for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPowerOffRealGraceMs);
             std::chrono::steady_clock::now() < until && !(watch[0].revents & POLLIN);) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (poll(watch, 2, int(left.count()) + 1) > 0 && (watch[1].revents & (POLLIN | POLLHUP)))
                watch[1].fd = CopyToStderr(fromCommand) ? fromCommand : -1;
        }
        close(ended);
    }
    const ULONGLONG giveUp = platform::ClockNow() + kPowerOffWaitMs;
    int status = 0;
    for (;;) {
        CopyToStderr(fromCommand);
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid || (ended < 0 && errno != EINTR)) {
            CopyToStderr(fromCommand);
            close(fromCommand);
            return ended == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (platform::ClockNow() >= giveUp) break;
        Sleep(kPowerOffPollMs);
    }
    close(fromCommand);
    fprintf(stderr, "pelvatro: the machine was not switched off: the power-off command (%s) has not ended after "
                    "%u seconds\n", command, unsigned(kPowerOffWaitMs / 1000));
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)); }

BOOL OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    if (!token) return FALSE;
    *token = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-2));  // closing it is harmless
    return TRUE;
}

BOOL LookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
    if (!name || !luid) return FALSE;
    luid->LowPart = strcmp(name, SE_SHUTDOWN_NAME) == 0 ? 19 : 0;
    luid->HighPart = 0;
    return luid->LowPart != 0;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state, DWORD length,
                           PTOKEN_PRIVILEGES previous, PDWORD returnLength) {
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
