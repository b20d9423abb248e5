// Win32 error numbers of the file and process calls. Internal to the platform library.
#pragma once

#include <string>

#include "platform/winbase.h"

namespace platform::files {

// The Win32 error for a failed system call on `path` (native form): a missing file whose folder
// exists is ERROR_FILE_NOT_FOUND, one whose folder is missing ERROR_PATH_NOT_FOUND.
DWORD ErrorFromErrno(int error, const std::string& path = {});

// True, with the last error set, when a test made `call` fail now; `fallback` is the error
// reported when the test named none.
bool Injected(const char* call, DWORD fallback);

}  // namespace platform::files
