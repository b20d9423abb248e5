// Plain files behind kernel handles, file attributes, and the file-system calls, with the
// creation dispositions and error numbers of Windows. Paths take '\' and '/' as separators.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "DeviceInterfaces.h"
#include "FileErrors.h"
#include "FileShares.h"
#include "Kernel.h"
#include "platform/durablefile.h"
#include "platform/runtime.h"
#include "platform/winfile.h"

namespace platform::files {

DWORD ErrorFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT: {
        size_t slash = path.find_last_of('/');
        std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        struct stat st;
        bool folderExists = ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // past the file size limit
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EBUSY:
        return ERROR_SHARING_VIOLATION;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_GEN_FAILURE;
    }
}

bool Injected(const char* call, DWORD fallback) {
    LONG error = 0;
    if (!ShouldFail(call, &error)) return false;
    SetLastError(error ? DWORD(error) : fallback);
    return true;
}

}  // namespace platform::files

using platform::files::ErrorFromErrno;
using platform::files::Injected;

namespace {

// An open plain file, with the path it was opened by; the descriptor closes with the last reference.
class FileObject : public platform::kernel::KObject {
public:
    FileObject(int fd, bool canRead, bool canWrite, std::string path)
        : fd_(fd), canRead_(canRead), canWrite_(canWrite), path_(std::move(path)) {}
    ~FileObject() override { ::close(fd_); }
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    int fd() const { return fd_; }
    bool canRead() const { return canRead_; }
    bool canWrite() const { return canWrite_; }
    const std::string& path() const { return path_; }

private:
    int fd_;
    bool canRead_;
    bool canWrite_;
    std::string path_;
};

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL FailErrno(const std::string& path = {}) {
    return Fail(ErrorFromErrno(errno, path));
}

std::shared_ptr<FileObject> FileOf(HANDLE handle) {
    auto file = platform::kernel::FromHandleAs<FileObject>(handle);
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

// Reads or writes all `size` bytes (a read stops early at the end of the file), at `offset`
// when it is not negative, else at the file position. Returns false with errno set.
bool Transfer(int fd, bool write, char* data, size_t size, off_t offset, size_t* done) {
    *done = 0;
    while (*done < size) {
        char* at = data + *done;
        size_t left = size - *done;
        ssize_t n;
        if (offset >= 0)
            n = write ? ::pwrite(fd, at, left, offset + off_t(*done)) : ::pread(fd, at, left, offset + off_t(*done));
        else
            n = write ? ::write(fd, at, left) : ::read(fd, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            if (write) {
                errno = ENOSPC;
                return false;
            }
            break;
        }
        *done += size_t(n);
    }
    return true;
}

BOOL TransferFile(HANDLE handle, bool write, char* data, DWORD size, LPDWORD done, LPOVERLAPPED overlapped) {
    if (done) *done = 0;
    if (Injected(write ? "WriteFile" : "ReadFile", write ? ERROR_WRITE_FAULT : ERROR_READ_FAULT)) return FALSE;
    auto file = FileOf(handle);
    if (!file) return FALSE;
    if (!(write ? file->canWrite() : file->canRead())) return Fail(ERROR_ACCESS_DENIED);
    if (!data && size > 0) return Fail(ERROR_INVALID_PARAMETER);
    off_t offset = -1;
    if (overlapped) offset = off_t((uint64_t(overlapped->OffsetHigh) << 32) | overlapped->Offset);
    size_t moved = 0;
    if (write) platform::RecordFileCall("write", file->path());
    bool ok = Transfer(file->fd(), write, data, size, offset, &moved);
    if (done) *done = DWORD(moved);
    if (!ok) return FailErrno();
    if (overlapped) {
        overlapped->Internal = 0;
        overlapped->InternalHigh = moved;
        if (overlapped->hEvent) SetEvent(overlapped->hEvent);
    }
    return TRUE;
}

// Opens `path` the way the creation disposition asks; *existed tells whether the file was there.
// A file to be truncated is not truncated yet: that waits until its other opens allow this one.
int OpenByDisposition(const std::string& path, int flags, mode_t mode, DWORD creation, bool* existed) {
    *existed = false;
    switch (creation) {
    case CREATE_NEW:
        return ::open(path.c_str(), flags | O_CREAT | O_EXCL, mode);
    case OPEN_EXISTING:
        return ::open(path.c_str(), flags);
    case TRUNCATE_EXISTING:
        return ::open(path.c_str(), flags);
    case CREATE_ALWAYS:
    case OPEN_ALWAYS: {
        // Another process may create or remove the file between the two opens: try again.
        for (int attempt = 0; attempt < 4; ++attempt) {
            int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, mode);
            if (fd >= 0 || errno != EEXIST) return fd;
            fd = ::open(path.c_str(), flags);
            if (fd >= 0 || errno != ENOENT) {
                *existed = fd >= 0;
                return fd;
            }
        }
        return -1;
    }
    default:
        errno = EINVAL;
        return -1;
    }
}

// Empties the file open behind `fd`, also when it was opened for reading only.
bool TruncateOpen(int fd) {
    if ((::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDONLY) return ::ftruncate(fd, 0) == 0;
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    const int writer = ::open(self, O_WRONLY | O_TRUNC | O_CLOEXEC);
    return writer >= 0 && ::close(writer) == 0;
}

// A descriptor closed when it goes out of scope.
struct ScopedFd {
    int fd;
    ~ScopedFd() {
        if (fd >= 0) ::close(fd);
    }
};

BOOL CopyNative(const std::string& source, const std::string& target, bool failIfExists) {
    ScopedFd in{::open(source.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) return FailErrno(source);
    struct stat st, targetSt;
    if (::fstat(in.fd, &st) != 0) return FailErrno(source);
    if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    // Copying a file onto itself would truncate it before reading.
    if (::stat(target.c_str(), &targetSt) == 0 && targetSt.st_dev == st.st_dev && targetSt.st_ino == st.st_ino)
        return Fail(ERROR_SHARING_VIOLATION);
    int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC),
                     st.st_mode & 0777);
    if (out < 0) return FailErrno(target);
    char buffer[64 * 1024];
    bool ok = true;
    int error = 0;
    for (;;) {
        size_t got = 0, put = 0;
        if (!Transfer(in.fd, false, buffer, sizeof buffer, -1, &got) || !Transfer(out, true, buffer, got, -1, &put)) {
            ok = false;
            error = errno;
            break;
        }
        if (got < sizeof buffer) break;
    }
    if (::close(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) return TRUE;
    ::unlink(target.c_str());  // no partial copy is left behind
    return Fail(ErrorFromErrno(error, target));
}

}  // namespace

namespace platform {

std::string NativePath(const char* path) {
    if (!path) return {};
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

}  // namespace platform

DWORD GetFileAttributesA(LPCSTR path) {
    if (Injected("GetFileAttributesA", ERROR_FILE_NOT_FOUND)) return INVALID_FILE_ATTRIBUTES;
    if (!path || !*path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string native = platform::NativePath(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) {
        const int error = errno;
        if (::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return FILE_ATTRIBUTE_REPARSE_POINT;
        errno = error;
        FailErrno(native);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY
                       : S_ISREG(st.st_mode) ? FILE_ATTRIBUTE_ARCHIVE
                                             : FILE_ATTRIBUTE_DEVICE;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES sa, DWORD creation,
                   DWORD flags, HANDLE templateFile) {
    if (Injected("CreateFileA", ERROR_ACCESS_DENIED)) return INVALID_HANDLE_VALUE;
    if (HANDLE device; platform::devices::OpenDevicePath(path, &device)) return device;
    bool canRead = (access & GENERIC_READ) != 0;
    bool canWrite = (access & GENERIC_WRITE) != 0;
    if (creation == TRUNCATE_EXISTING && !canWrite) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (!path || !*path) {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string native = platform::NativePath(path);
    mode_t permissions = (flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    bool existed = false;
    // A handle for writing only is opened for reading too where the file allows it, so that it
    // can hold its share mode (FileShares.h); the handle still refuses to read.
    // The link itself is not opened here: a path that is a link is refused rather than followed.
    const int noFollow = (flags & FILE_FLAG_OPEN_REPARSE_POINT) ? O_NOFOLLOW : 0;
    const int asked = canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY;
    int fd = OpenByDisposition(native, platform::files::HoldableAccess(native, asked) | O_CLOEXEC | O_NONBLOCK | noFollow,
                               permissions, creation, &existed);
    if (fd < 0 && errno == EACCES && canWrite && !canRead)
        fd = OpenByDisposition(native, O_WRONLY | O_CLOEXEC | O_NONBLOCK | noFollow, permissions, creation, &existed);
    if (fd < 0) {
        FailErrno(native);
        return INVALID_HANDLE_VALUE;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    struct stat st;
    DWORD refused = ERROR_SUCCESS;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) refused = ERROR_ACCESS_DENIED;
    else refused = platform::files::HoldShare(fd, access, shareMode);
    const bool truncate = creation == TRUNCATE_EXISTING || (creation == CREATE_ALWAYS && existed);
    if (refused == ERROR_SUCCESS && truncate && S_ISREG(st.st_mode) && !TruncateOpen(fd))
        refused = ErrorFromErrno(errno, native);
    if (refused != ERROR_SUCCESS) {
        ::close(fd);
        Fail(refused);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = platform::kernel::AddHandle(std::make_shared<FileObject>(fd, canRead, canWrite, native));
    bool reportExisting = existed && (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR path, DWORD size, DWORD flags) {
    auto object = FileOf(file);
    if (!object) return 0;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", object->fd());
    std::string final(4096, '\0');
    const ssize_t n = ::readlink(link, final.data(), final.size());
    if (n <= 0 || size_t(n) >= final.size()) {
        FailErrno();
        return 0;
    }
    final.resize(size_t(n));
    std::replace(final.begin(), final.end(), '/', '\\');
    if (!path || size <= final.size()) return DWORD(final.size() + 1);
    std::memcpy(path, final.c_str(), final.size() + 1);
    return DWORD(final.size());
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    return TransferFile(file, false, static_cast<char*>(buffer), toRead, read, overlapped);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped) {
    // A slow disk or network folder, from a test: "WriteFile:slow" with the milliseconds each
    // write takes as its error.
    LONG slowMs = 0;
    if (platform::FailuresInjected() && platform::ShouldFail("WriteFile:slow", &slowMs)) Sleep(DWORD(slowMs));
    // The write path only reads from the buffer.
    return TransferFile(file, true, static_cast<char*>(const_cast<void*>(buffer)), toWrite, written, overlapped);
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method) {
    if (Injected("SetFilePointer", ERROR_INVALID_PARAMETER)) return INVALID_SET_FILE_POINTER;
    auto object = FileOf(file);
    if (!object) return INVALID_SET_FILE_POINTER;
    int64_t move = distanceHigh ? int64_t((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distance))
                                : int64_t(distance);
    int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
    if (whence < 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    off_t position = ::lseek(object->fd(), off_t(move), whence);
    if (position < 0) {
        Fail(errno == EINVAL ? ERROR_NEGATIVE_SEEK : ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = LONG(uint64_t(position) >> 32);
    SetLastError(ERROR_SUCCESS);  // tells a position of 0xFFFFFFFF from a failure
    return DWORD(uint64_t(position));
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
    if (Injected("GetFileSize", ERROR_INVALID_HANDLE)) return INVALID_FILE_SIZE;
    auto object = FileOf(file);
    if (!object) return INVALID_FILE_SIZE;
    struct stat st;
    if (::fstat(object->fd(), &st) != 0) {
        FailErrno();
        return INVALID_FILE_SIZE;
    }
    if (sizeHigh) *sizeHigh = DWORD(uint64_t(st.st_size) >> 32);
    SetLastError(ERROR_SUCCESS);  // tells a size of 0xFFFFFFFF from a failure
    return DWORD(uint64_t(st.st_size));
}

BOOL FlushFileBuffers(HANDLE file) {
    if (Injected("FlushFileBuffers", ERROR_WRITE_FAULT)) return FALSE;
    auto object = FileOf(file);
    if (!object) return FALSE;
    if (!object->canWrite()) return Fail(ERROR_ACCESS_DENIED);
    // The folder too, so a file the handle made is there after a power loss.
    return platform::SyncFileAndFolder(object->fd(), object->path()) ? TRUE : FailErrno();
}

BOOL SetEndOfFile(HANDLE file) {
    if (Injected("SetEndOfFile", ERROR_ACCESS_DENIED)) return FALSE;
    auto object = FileOf(file);
    if (!object) return FALSE;
    if (!object->canWrite()) return Fail(ERROR_ACCESS_DENIED);
    off_t position = ::lseek(object->fd(), 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(object->fd(), position) != 0) return FailErrno();
    return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
    if (Injected("DeleteFileA", ERROR_ACCESS_DENIED)) return FALSE;
    if (!path || !*path) return Fail(ERROR_PATH_NOT_FOUND);
    std::string native = platform::NativePath(path);
    return ::unlink(native.c_str()) == 0 ? TRUE : FailErrno(native);
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES sa) {
    if (Injected("CreateDirectoryA", ERROR_ACCESS_DENIED)) return FALSE;
    if (!path || !*path) return Fail(ERROR_PATH_NOT_FOUND);
    std::string native = platform::NativePath(path);
    if (::mkdir(native.c_str(), 0777) == 0) return TRUE;
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
    return FailErrno(native);
}

BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
    if (Injected("CopyFileA", ERROR_ACCESS_DENIED)) return FALSE;
    if (!from || !*from || !to || !*to) return Fail(ERROR_PATH_NOT_FOUND);
    return CopyNative(platform::NativePath(from), platform::NativePath(to), failIfExists);
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
        if (!MoveFileA(from, to)) return FALSE;
        // Written through: the folder keeps the new name after a power loss.
        return !(flags & MOVEFILE_WRITE_THROUGH) || platform::SyncFolderOf(platform::NativePath(to)) ? TRUE
                                                                                                     : FailErrno();
    }
    if (Injected("MoveFileExA", ERROR_ACCESS_DENIED)) return FALSE;
    if (!from || !*from || !to || !*to) return Fail(ERROR_PATH_NOT_FOUND);
    std::string source = platform::NativePath(from);
    std::string target = platform::NativePath(to);
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) return FailErrno(source);
    // A read-only file is not replaced, whoever asks.
    struct stat targetSt;
    if (::stat(target.c_str(), &targetSt) == 0 && !S_ISDIR(targetSt.st_mode) &&
        (targetSt.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    // A plain rename replaces the target in one step: it is either the old file or the new one.
    // A target that another handle holds open without FILE_SHARE_DELETE is not replaced.
    return platform::files::ReplaceShared(
        target, [&] { return ::rename(source.c_str(), target.c_str()) == 0 ? TRUE : FailErrno(target); });
}

BOOL ReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID, LPVOID) {
    if (Injected("ReplaceFileA", ERROR_UNABLE_TO_MOVE_REPLACEMENT)) return FALSE;
    if (!replaced || !*replaced || !replacement || !*replacement) return Fail(ERROR_PATH_NOT_FOUND);
    if (backup != nullptr || flags != 0) return Fail(ERROR_INVALID_PARAMETER);
    const std::string target = platform::NativePath(replaced);
    // Only a file that is there is replaced, keeping its mode, owner and group.
    struct stat st;
    if (::stat(target.c_str(), &st) != 0) return FailErrno(target);
    // A file that another handle holds open without FILE_SHARE_DELETE is not replaced.
    return platform::files::ReplaceShared(target, [&]() -> BOOL {
        if (platform::ReplaceDurably(platform::NativePath(replacement), target, st.st_mode & 07777)) return TRUE;
        if (errno == EMLINK) return Fail(ERROR_UNABLE_TO_REMOVE_REPLACED);
        return FailErrno(target);
    });
}

UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
    if (Injected("GetTempFileNameA", ERROR_ACCESS_DENIED)) return 0;
    if (!path || !tempFileName) return Fail(ERROR_INVALID_PARAMETER);
    if (std::strlen(path) > MAX_PATH - 14) return Fail(ERROR_BUFFER_OVERFLOW);
    std::string stem = *path ? path : ".";
    if (stem.back() != '\\' && stem.back() != '/') stem += '\\';
    stem += std::string(prefix ? prefix : "").substr(0, 3);
    auto named = [&](UINT number) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%X", number & 0xFFFF);
        return stem + digits + ".TMP";
    };
    if (unique != 0) {
        std::strcpy(tempFileName, named(unique).c_str());
        return unique;
    }
    // Numbers from a start of the moment's clock, made unique as mkstemp does: the first name
    // that an exclusive create takes.
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    const UINT start = UINT(now.tv_nsec / 1000) ^ UINT(now.tv_sec) ^ UINT(::getpid());
    for (UINT tried = 0; tried < 0xFFFF; ++tried) {
        const UINT number = (start + tried) % 0xFFFF + 1;
        const std::string name = named(number);
        const std::string native = platform::NativePath(name.c_str());
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            std::strcpy(tempFileName, name.c_str());
            return number;
        }
        if (errno != EEXIST) return FailErrno(native);
    }
    return Fail(ERROR_FILE_EXISTS);
}

BOOL MoveFileA(LPCSTR from, LPCSTR to) {
    if (Injected("MoveFileA", ERROR_ACCESS_DENIED)) return FALSE;
    if (!from || !*from || !to || !*to) return Fail(ERROR_PATH_NOT_FOUND);
    std::string source = platform::NativePath(from);
    std::string target = platform::NativePath(to);
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) return FailErrno(source);
    int rc = ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && errno == EINVAL) {
        // A file system without no-replace renames: check, then rename.
        struct stat targetSt;
        if (::lstat(target.c_str(), &targetSt) == 0) return Fail(ERROR_ALREADY_EXISTS);
        rc = ::rename(source.c_str(), target.c_str());
    }
    if (rc == 0) return TRUE;
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    if (errno == EXDEV && !S_ISDIR(st.st_mode)) {
        // Another volume: copy, then remove the original, as Windows moves a file across drives.
        if (!CopyNative(source, target, true)) return FALSE;
        return ::unlink(source.c_str()) == 0 ? TRUE : FailErrno(source);
    }
    return FailErrno(target);
}
