// Files made durable: see platform/durablefile.h.
#include "platform/durablefile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace platform {

namespace {

std::atomic<bool> g_recording{false};

std::mutex& RecorderLock() {
    static auto* m = new std::mutex;
    return *m;
}

FileCallRecorder& Recorder() {
    static auto* r = new FileCallRecorder;
    return *r;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A file system that cannot sync a folder (EINVAL) keeps its entries by other means.
bool SyncFolder(const std::string& folder) {
    RecordFileCall("sync-folder", folder);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Closes `fd` keeping the errno of what failed before.
void CloseKeepingError(int fd) {
    const int error = errno;
    ::close(fd);
    errno = error;
}

}  // namespace

void RecordFileCalls(FileCallRecorder recorder) {
    std::lock_guard<std::mutex> lock(RecorderLock());
    g_recording.store(bool(recorder), std::memory_order_release);
    Recorder() = std::move(recorder);
}

void RecordFileCall(const char* call, const std::string& path, const std::string& to) {
    if (!g_recording.load(std::memory_order_acquire)) return;
    std::lock_guard<std::mutex> lock(RecorderLock());
    if (Recorder()) Recorder()(std::string(call) + " " + path + (to.empty() ? "" : " " + to));
}

bool SyncFolderOf(const std::string& path) { return SyncFolder(FolderOf(path)); }

// The data and what is needed to read it back (its size); a changed time alone is not waited for.
bool SyncFile(int fd, const std::string& path) {
    RecordFileCall("sync", path);
    return ::fdatasync(fd) == 0;
}

bool SyncFileAndFolder(int fd, const std::string& path) { return SyncFile(fd, path) && SyncFolderOf(path); }

std::string NameBeside(const std::string& path, const char* suffix) {
    static std::atomic<unsigned> s_count{0};
    return path + "." + std::to_string(::getpid()) + "-" + std::to_string(++s_count) + suffix;
}

bool ReplaceDurably(const std::string& replacement, const std::string& replaced, mode_t mode) {
    struct stat old {};
    const bool exists = ::stat(replaced.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
        if (S_ISDIR(old.st_mode)) {
            errno = EISDIR;
            return false;
        }
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            errno = EACCES;
            return false;
        }
        if (old.st_nlink > 1) {
            errno = EMLINK;
            return false;
        }
    }
    const int fd = ::open(replacement.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // The owner and group where the process may give them, else the group alone.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd, uid_t(-1), old.st_gid);
    }
    if (::fchmod(fd, exists ? old.st_mode & 07777 : mode) != 0 || !SyncFile(fd, replacement)) {
        CloseKeepingError(fd);
        return false;
    }
    ::close(fd);
    RecordFileCall("rename", replacement, replaced);
    if (::rename(replacement.c_str(), replaced.c_str()) != 0) return false;
    return SyncFolderOf(replaced);
}

bool WriteFileDurably(const std::string& path, const void* data, size_t size, mode_t mode) {
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temporary = NameBeside(path, ".new");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    RecordFileCall("write", temporary);
    const bool written = WriteAll(fd, static_cast<const char*>(data), size);
    CloseKeepingError(fd);
    if (written && ReplaceDurably(temporary, path, mode)) return true;
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
}

}  // namespace platform
