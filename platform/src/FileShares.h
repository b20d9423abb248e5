// Share modes of the files the platform opens, kept as Windows keeps them: an open says what it
// does with the file (reads, writes) and what it lets the file's other opens do (FILE_SHARE_*).
// An open that would do what another open does not share, or that does not share what another
// open does, is refused with ERROR_SHARING_VIOLATION; a file is replaced only while every open of
// it shares deleting. Internal to the platform library.
#pragma once

#include <functional>
#include <string>

#include "platform/winbase.h"

namespace platform::files {

// Records the share mode of the open behind `fd` (a plain file; anything else shares everything)
// for as long as the open lives, unless the file's other opens refuse it: then
// ERROR_SHARING_VIOLATION, and nothing is recorded. `access` is GENERIC_READ and GENERIC_WRITE;
// an open with neither is neither checked nor recorded.
// Only an open made for reading can hold its record; one made for writing only is still refused
// where it must be, but is not seen by the opens after it.
DWORD HoldShare(int fd, DWORD access, DWORD shareMode);

// The access mode to open `path` with for `access` (O_RDONLY, O_WRONLY or O_RDWR): writing only
// is opened for reading too, so the open can hold its share mode, unless something other than a
// plain file is there (a FIFO opened for reading too would never lack a reader).
int HoldableAccess(const std::string& path, int access);

// Runs `replace` (a rename onto the file at `path`) while no open of that file starts, when every
// open of it shares deleting; else ERROR_ACCESS_DENIED is set and FALSE answered.
BOOL ReplaceShared(const std::string& path, const std::function<BOOL()>& replace);

}  // namespace platform::files
