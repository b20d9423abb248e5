// Files, paths and the registry. Every call that takes a path accepts '\' and '/' as separators.
#pragma once

#include <string>

#include "platform/winbase.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_DEVICE 0x00000040
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define FILE_NAME_NORMALIZED 0x0
#define FILE_FLAG_OVERLAPPED 0x40000000
#define FILE_FLAG_OPEN_REPARSE_POINT 0x00200000
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

// Error numbers the file, module and registry calls report besides those of winerror.h.
#ifndef ERROR_TOO_MANY_OPEN_FILES
#define ERROR_TOO_MANY_OPEN_FILES 4L
#endif
#ifndef ERROR_DISK_FULL
#define ERROR_DISK_FULL 112L
#endif
#ifndef ERROR_MOD_NOT_FOUND
#define ERROR_MOD_NOT_FOUND 126L
#endif
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131L
#endif
#ifndef ERROR_BUFFER_OVERFLOW
#define ERROR_BUFFER_OVERFLOW 111L
#endif
#ifndef ERROR_DIR_NOT_EMPTY
#define ERROR_DIR_NOT_EMPTY 145L
#endif
#ifndef ERROR_ENVVAR_NOT_FOUND
#define ERROR_ENVVAR_NOT_FOUND 203L
#endif
#ifndef ERROR_FILENAME_EXCED_RANGE
#define ERROR_FILENAME_EXCED_RANGE 206L
#endif
#ifndef ERROR_UNABLE_TO_REMOVE_REPLACED
#define ERROR_UNABLE_TO_REMOVE_REPLACED 1175L
#endif
#ifndef ERROR_UNABLE_TO_MOVE_REPLACEMENT
#define ERROR_UNABLE_TO_MOVE_REPLACEMENT 1176L
#endif
#ifndef ERROR_CANT_RESOLVE_FILENAME
#define ERROR_CANT_RESOLVE_FILENAME 1921L
#endif
#ifndef ERROR_KEY_DELETED
#define ERROR_KEY_DELETED 1018L
#endif

typedef struct _OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

// The attributes of what the path leads to: FILE_ATTRIBUTE_DEVICE for anything that is neither
// a plain file nor a folder (a FIFO, a device, a socket); a symbolic link that leads nowhere (a
// loop, a missing target) is there, as FILE_ATTRIBUTE_REPARSE_POINT.
PLATFORM_API DWORD GetFileAttributesA(LPCSTR path);
#define GetFileAttributes GetFileAttributesA
// Opens without waiting: a FIFO opens at once, whether or not anyone writes into it. With
// FILE_FLAG_OPEN_REPARSE_POINT a path that is a symbolic link is refused
// (ERROR_CANT_RESOLVE_FILENAME), never followed.
PLATFORM_API HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES sa,
                                DWORD creation, DWORD flags, HANDLE templateFile);
#define CreateFile CreateFileA
// The whole path of the file a handle is open on, symbolic links followed, with backslashes;
// the length written without the NUL, or the size needed with the NUL when `size` is too small,
// or 0 on failure.
PLATFORM_API DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR path, DWORD size, DWORD flags);
#define GetFinalPathNameByHandle GetFinalPathNameByHandleA
PLATFORM_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
PLATFORM_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped);
PLATFORM_API DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method);
PLATFORM_API DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
// Syncs the file and the folder that holds it: what was written is there after a power loss.
PLATFORM_API BOOL FlushFileBuffers(HANDLE file);
PLATFORM_API BOOL SetEndOfFile(HANDLE file);
// Device control on a handle CreateFileA opened on a device interface's DevicePath
// (platform/deviceinterfaces.h): FALSE with the driver's Win32 error when it refuses,
// ERROR_INVALID_HANDLE for a handle that names no device.
PLATFORM_API BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                                  LPDWORD returned, LPOVERLAPPED overlapped);
#ifndef CTL_CODE
#define CTL_CODE(DeviceType, Function, Method, Access) \
    (((DWORD)(DeviceType) << 16) | ((DWORD)(Access) << 14) | ((DWORD)(Function) << 2) | (DWORD)(Method))
#define METHOD_BUFFERED 0
#define METHOD_IN_DIRECT 1
#define METHOD_OUT_DIRECT 2
#define METHOD_NEITHER 3
#define FILE_ANY_ACCESS 0
#define FILE_READ_ACCESS 0x0001
#define FILE_WRITE_ACCESS 0x0002
#endif
#define FILE_DEVICE_UNKNOWN 0x00000022
PLATFORM_API BOOL DeleteFileA(LPCSTR path);
#define DeleteFile DeleteFileA
PLATFORM_API BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES sa);
#define CreateDirectory CreateDirectoryA
PLATFORM_API BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists);
#define CopyFile CopyFileA
PLATFORM_API BOOL MoveFileA(LPCSTR from, LPCSTR to);
#define MoveFile MoveFileA
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_WRITE_THROUGH 0x00000008
PLATFORM_API BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
#define MoveFileEx MoveFileExA
// Puts the file `replacement` in the place of the file `replaced`, which must be there: the new
// file synced, given the mode, owner and group of the old one (owner and group where the
// process may), renamed in, the folder synced (platform/durablefile.h). No backup and no flags
// are taken. A read-only `replaced` is refused (ERROR_ACCESS_DENIED), one with more than one
// hard link too (ERROR_UNABLE_TO_REMOVE_REPLACED): replacing it would cut the other links.
PLATFORM_API BOOL ReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID exclude,
                               LPVOID reserved);
#define ReplaceFile ReplaceFileA
// A temporary file's name in the folder `path`: the folder, a separator when it ends in none,
// the first three characters of `prefix`, the number in hexadecimal and ".TMP", written to
// `tempFileName` (MAX_PATH bytes). With `unique` 0 the call picks a number and creates the
// file, empty, under a name that was free (created exclusively, so a file or link of that name,
// whoever made it, is never opened nor replaced), and returns the number; else it forms the
// name from the low 16 bits of `unique`, creates nothing and returns `unique`. 0 on failure:
// ERROR_BUFFER_OVERFLOW for a folder longer than MAX_PATH - 14 characters, ERROR_FILE_EXISTS when
// every number is taken, else the error of the create (a missing folder: ERROR_PATH_NOT_FOUND).
PLATFORM_API UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName);
#define GetTempFileName GetTempFileNameA

// ---- registry ----
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L
typedef DWORD REGSAM;

PLATFORM_API LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM sam, PHKEY result);
PLATFORM_API LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options,
                                  REGSAM sam, LPSECURITY_ATTRIBUTES sa, PHKEY result, LPDWORD disposition);
PLATFORM_API LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                   LPDWORD dataSize);
PLATFORM_API LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                 DWORD dataSize);
PLATFORM_API LONG RegDeleteValueA(HKEY key, LPCSTR valueName);
PLATFORM_API LONG RegCloseKey(HKEY key);
#define RegOpenKeyEx RegOpenKeyExA
#define RegCreateKeyEx RegCreateKeyExA
#define RegQueryValueEx RegQueryValueExA
#define RegSetValueEx RegSetValueExA
#define RegDeleteValue RegDeleteValueA

namespace platform {
// A path given with '\' or '/' separators, as this machine's file system takes it.
PLATFORM_API std::string NativePath(const char* path);
// A native path as a message names it: under a PELVATRO_STATE_DIR or PELVATRO_HOME the user
// gave as a relative path, with that folder as the user wrote it.
PLATFORM_API std::string PathForMessage(const std::string& path);
}  // namespace platform
