// Files made durable: what the station writes is on the disk, whole, before it says so. One
// road for every caller: a file is replaced by one written beside it (created exclusively under
// a name nobody holds, synced, given the replaced file's mode and, where the process may, its
// owner and group, renamed in, the folder synced), and a file appended to is synced with its
// folder. Paths are native ('/' separators). Failures leave errno set.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

#include "platform/winbase.h"

namespace platform {

// Syncs the file open on `fd` (opened by `path`), which is in its place already.
PLATFORM_API bool SyncFile(int fd, const std::string& path);

// Syncs the file open on `fd` and the folder that holds `path`, so a file just made is found
// after a power loss with what was written into it.
PLATFORM_API bool SyncFileAndFolder(int fd, const std::string& path);

// Syncs the folder that holds `path`, so a file just renamed or made there keeps its name.
PLATFORM_API bool SyncFolderOf(const std::string& path);

// Puts the file `replacement` in the place of `replaced`: the replacement synced, given the
// mode, owner and group of the file it replaces (owner and group where the process may; `mode`
// when nothing is replaced), renamed in, the folder synced. A replaced file that is read-only
// is refused (EACCES), one with more than one hard link too (EMLINK): renaming over it would
// cut the other names from what is written. The replacement stays where it is on failure.
PLATFORM_API bool ReplaceDurably(const std::string& replacement, const std::string& replaced, mode_t mode);

// Makes `path` hold `size` bytes from `data`, whole or not at all: written beside it under a
// name nobody holds, then ReplaceDurably. Nothing is left beside it on failure.
PLATFORM_API bool WriteFileDurably(const std::string& path, const void* data, size_t size, mode_t mode);

// A free name beside `path` for a file made there and renamed in: `path`, a dot, a number
// unique to the process and the call, and `suffix`. Opening it needs O_CREAT | O_EXCL still.
PLATFORM_API std::string NameBeside(const std::string& path, const char* suffix);

// ---- for tests ----
// Every file call of the stand-in that writes, syncs or renames, as one line ("write <path>",
// "sync <path>", "sync-folder <folder>", "rename <from> <to>"), goes to `recorder` while one is
// set; nullptr stops it. Lines come from any thread.
typedef std::function<void(const std::string& call)> FileCallRecorder;
PLATFORM_API void RecordFileCalls(FileCallRecorder recorder);
// Called by the stand-in's file code.
PLATFORM_API void RecordFileCall(const char* call, const std::string& path, const std::string& to = {});

}  // namespace platform
