// ShellExecute, ExitWindowsEx and the token calls around it.
#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
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

// Starts a process without waiting for it; true when it started.
bool Spawn(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    return posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

HINSTANCE Result(int code) { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(code)); }

}  // namespace

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int showCommand) {
    if (!file || !*file) return Result(SE_ERR_FNF);
    if (platform::ShouldFail("ShellExecute")) return Result(SE_ERR_ACCESSDENIED);
    if (IsOwnProgram(file)) {
        // The program itself: the same executable with the same command line.
        std::ifstream in("/proc/self/cmdline", std::ios::binary);
        std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> args;
        for (size_t start = 0; start < cmdline.size();) {
            size_t end = cmdline.find('\0', start);
            if (end == std::string::npos) end = cmdline.size();
            args.push_back(cmdline.substr(start, end - start));
            start = end + 1;
        }
        platform::Display* display = platform::CurrentDisplay();
        if (display && display->Kind() == platform::DisplayKind::Terminal) {
            // The terminal has one owner: the new start waits for this program's exit and takes
            // its place, so it draws on the terminal and gets its keys.
            platform::display::RestartAtExit(args);
            PlatformTrace("ShellExecute: restart of %s when this program ends\n", file);
            return Result(42);
        }
        bool started = Spawn("/proc/self/exe", args);
        PlatformTrace("ShellExecute: restart of %s %s\n", file, started ? "started" : "failed");
        return Result(started ? 42 : SE_ERR_FNF);
    }
    const char* opener = getenv("PELVATRO_OPENER");
    if (!opener || !*opener) {
        PlatformTrace("ShellExecute: no opener configured (PELVATRO_OPENER) for %s %s; refused\n", file,
                      parameters ? parameters : "");
        return Result(SE_ERR_NOASSOC);
    }
    std::vector<std::string> args{opener, platform::NativePath(file)};
    if (parameters && *parameters) args.push_back(parameters);
    bool started = Spawn(opener, args);
    PlatformTrace("ShellExecute: %s %s %s\n", opener, file, started ? "started" : "failed");
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
    pid_t pid;
    const char* argv[] = {"/bin/sh", "-c", command, nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return FALSE;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
