// The process's module, folders and environment. Paths come back with '\' separators, as the
// system's code cuts and joins them.
#include <errno.h>
#include <stdlib.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "FileErrors.h"
#include "platform/runtime.h"
#include "platform/winfile.h"

using platform::files::Injected;

namespace {

// The one module of the process; its address is the module handle.
char gModule;

HMODULE ProcessModule() {
    return reinterpret_cast<HMODULE>(&gModule);
}

std::string ExecutableName() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = program_invocation_name;
    return exe.filename().string();
}

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Copies `text` with its terminator when it fits: returns its length. Otherwise returns the
// size it needs, terminator included, and leaves the buffer alone.
DWORD CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (!buffer || text.size() >= size) return DWORD(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return DWORD(text.size());
}

}  // namespace

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (Injected("GetModuleFileNameA", ERROR_MOD_NOT_FOUND)) return 0;
    if (module && module != ProcessModule()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    std::string path = WindowsPath(WithoutTrailingSlash(platform::HomeDir()) + "/" + ExecutableName());
    if (size == 0 || !fileName) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= size) {
        // Cut to the buffer and terminated.
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return DWORD(path.size());
}

HMODULE GetModuleHandleA(LPCSTR name) {
    if (Injected("GetModuleHandleA", ERROR_MOD_NOT_FOUND)) return nullptr;
    if (!name) return ProcessModule();
    std::string exe = ExecutableName();
    std::string asked = std::filesystem::path(platform::NativePath(name)).filename().string();
    if (strcasecmp(asked.c_str(), exe.c_str()) == 0 || strcasecmp(asked.c_str(), (exe + ".exe").c_str()) == 0)
        return ProcessModule();
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    if (Injected("GetWindowsDirectoryA", ERROR_PATH_NOT_FOUND)) return 0;
    std::string folder = WithoutTrailingSlash(platform::StateDir()) + "/windows";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return CopyOut(WindowsPath(folder), buffer, size);
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    if (Injected("GetCurrentDirectoryA", ERROR_PATH_NOT_FOUND)) return 0;
    std::error_code ec;
    std::filesystem::path current = std::filesystem::current_path(ec);
    if (ec) {
        SetLastError(platform::files::ErrorFromErrno(ec.value()));
        return 0;
    }
    return CopyOut(WindowsPath(current.string()), buffer, size);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
    if (Injected("GetTempPathA", ERROR_PATH_NOT_FOUND)) return 0;
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) temp = "/tmp";
    return CopyOut(WindowsPath(WithoutTrailingSlash(temp.string()) + "/"), buffer, size);
}

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
    if (Injected("GetEnvironmentVariableA", ERROR_ENVVAR_NOT_FOUND)) return 0;
    const char* value = name ? getenv(name) : nullptr;
    if (!value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    return CopyOut(value, buffer, size);
}
