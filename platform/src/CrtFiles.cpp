// The C runtime's path calls over this machine's file system: the path's separators made native,
// failures injectable like the Win32 file calls'.
#include "platform/crtfiles.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "FileShares.h"

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
    // The stream's open, as fopen makes it, but emptied only once the file's other opens allow it;
    // one for writing only is opened for reading too where the file allows that, so that it can
    // hold its share mode (the stream still only writes). A stream shares reading and writing.
    const bool plus = std::strchr(mode, '+') != nullptr;
    int flags = O_CLOEXEC | (plus ? O_RDWR : O_RDONLY);
    DWORD access = plus ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    if (mode[0] == 'w' || mode[0] == 'a') {
        flags = O_CLOEXEC | O_RDWR | O_CREAT | (mode[0] == 'a' ? O_APPEND : 0) | (std::strchr(mode, 'x') ? O_EXCL : 0);
        access = plus ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
    } else if (mode[0] != 'r') {
        errno = EINVAL;
        return nullptr;
    }
    const std::string native = NativePath(path);
    if (access == GENERIC_WRITE) flags = (flags & ~O_ACCMODE) | files::HoldableAccess(native, O_WRONLY);
    int fd = ::open(native.c_str(), flags, 0666);
    if (fd < 0 && errno == EACCES && (flags & O_ACCMODE) == O_RDWR && access == GENERIC_WRITE)
        fd = ::open(native.c_str(), (flags & ~O_ACCMODE) | O_WRONLY, 0666);
    if (fd < 0) return nullptr;
    // A folder is no file: Windows refuses to open one for reading, as it does for writing.
    struct stat status {};
    int refused = fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EACCES : 0;
    if (!refused && files::HoldShare(fd, access, FILE_SHARE_READ | FILE_SHARE_WRITE) != ERROR_SUCCESS) refused = EACCES;
    if (!refused && mode[0] == 'w' && S_ISREG(status.st_mode) && ftruncate(fd, 0) != 0) refused = errno;
    FILE* file = refused ? nullptr : fdopen(fd, mode);
    if (!file) {
        if (!refused) refused = errno;
        ::close(fd);
        errno = refused;
    }
    return file;
}

}  // namespace platform
