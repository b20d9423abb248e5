// Opening files through the shell, and switching the machine off.
//
// ShellExecute of the program's own file starts the program again (a new process with the same
// command line). Any other file goes to the desktop's opener named by PELVATRO_OPENER (for
// example xdg-open); without one the call is traced and refused. ExitWindowsEx runs the command
// in PELVATRO_POWEROFF_COMMAND; without one it is traced, reported on standard error and refused,
// so a test or a developer's machine never goes down.
#pragma once

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
