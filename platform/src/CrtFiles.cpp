// The C runtime's path calls over this machine's file system: the path's separators made native,
// failures injectable like the Win32 file calls'.
#include "platform/crtfiles.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/runtime.h"
#include "platform/winfile.h"

#undef fopen

int _access(const char* path, int mode) {
    if (platform::ShouldFail("_access")) {
        errno = ENOENT;
        return -1;
    }
    if (path == nullptr || (mode & ~6) != 0) {
        errno = EINVAL;
        return -1;
    }
    int native = F_OK;
    if (mode & 2) native |= W_OK;
    if (mode & 4) native |= R_OK;
    return ::access(platform::NativePath(path).c_str(), native) == 0 ? 0 : -1;
}

namespace platform {

FILE* OpenCrtFile(const char* path, const char* mode) {
    if (ShouldFail("fopen")) {
        errno = EACCES;
        return nullptr;
    }
    if (path == nullptr || mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    FILE* file = std::fopen(NativePath(path).c_str(), mode);
    // A folder is no file: Windows refuses to open one for reading, as it does for writing.
    struct stat status {};
    if (file != nullptr && fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        errno = EACCES;
        return nullptr;
    }
    return file;
}

}  // namespace platform
