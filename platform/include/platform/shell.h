// Opening files through the shell, and switching the machine off.
//
// ShellExecute of the program's own file starts the program again (a new process with the same
// command line). A media player (a file named mplayer2.exe or wmplayer.exe, in any folder) is
// asked to play its parameters: the opener named by PELVATRO_OPENER (for example xdg-open) gets
// the parameter string split as a Windows command line, each part as a native path. Any other
// file goes to the opener with its parameters; without an opener the call is traced and refused. ExitWindowsEx runs the command
// in PELVATRO_POWEROFF_COMMAND; without one it is traced, reported on standard error and refused,
// so a test or a developer's machine never goes down.
#pragma once

#include <string>
#include <vector>

#include "platform/winbase.h"

PLATFORM_API HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                     int showCommand);
#define ShellExecute ShellExecuteA
#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

#define EWX_LOGOFF 0x00000000
#define EWX_SHUTDOWN 0x00000001
#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004
#define EWX_POWEROFF 0x00000008
PLATFORM_API BOOL ExitWindowsEx(UINT flags, DWORD reason);

// ---- process token and privileges ----
typedef struct _LUID {
    DWORD LowPart;
    LONG HighPart;
} LUID, *PLUID;
typedef struct _LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes;
} LUID_AND_ATTRIBUTES;
typedef struct _TOKEN_PRIVILEGES {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[1];
} TOKEN_PRIVILEGES, *PTOKEN_PRIVILEGES;
#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_QUERY 0x0008
#define SE_PRIVILEGE_ENABLED 0x00000002L
#define SE_SHUTDOWN_NAME "SeShutdownPrivilege"

PLATFORM_API HANDLE GetCurrentProcess();
PLATFORM_API BOOL OpenProcessToken(HANDLE process, DWORD access, PHANDLE token);
PLATFORM_API BOOL LookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid);
#define LookupPrivilegeValue LookupPrivilegeValueA
PLATFORM_API BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state, DWORD length,
                                        PTOKEN_PRIVILEGES previous, PDWORD returnLength);

namespace platform {

// One ShellExecute call as the shell understood it.
struct ShellRequest {
    std::string file;        // as the caller named it
    std::string parameters;  // as the caller gave them
    bool restart = false;    // the program's own file
    bool player = false;     // a media player asked to play its parameters
    // What would be or was started: the opener (or the program) and its arguments; empty when
    // the request was refused for want of an opener.
    std::vector<std::string> command;
};

// Every request since the start (or the last ClearShellRequests), in call order.
PLATFORM_API std::vector<ShellRequest> ShellRequests();
PLATFORM_API void ClearShellRequests();
// On: requests are recorded and answered as started, and nothing is started (the program's own
// restart included), so a test never starts a copy of itself. Off after start.
PLATFORM_API void SetShellStartsNothing(bool on);

// Splits a parameter string by the Windows command-line rules: blanks separate, double quotes
// group (an unclosed quote runs to the end), 2n backslashes before a quote are n backslashes,
// 2n+1 are n and a literal quote, "" inside quotes is a literal quote.
PLATFORM_API std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace platform
