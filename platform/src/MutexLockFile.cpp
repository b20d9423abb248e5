// The named mutex's lock file: see MutexLockFile.h.
#include "MutexLockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdint>

#include "platform/runtime.h"

namespace platform::kernel {

namespace {
// A link in the lock file's place is never followed: its marker would land in the link's target.
int OpenLockFile(const std::string& path, int access) {
    return open(path.c_str(), access | O_CLOEXEC | O_NOFOLLOW, 0666);
}
}  // namespace

MutexLockFile::~MutexLockFile() {
    if (fd_ >= 0) close(fd_);
}

MutexLockFile::Take MutexLockFile::TakeLock(bool* lastOwnerEnded) {
    if (path_.empty() || locked_) return Take::kNothingToTake;
    if (fd_ < 0) fd_ = OpenLockFile(path_, O_RDWR | O_CREAT);
    if (fd_ < 0) {
        // No lock file to share: exclusion within the process only.
        if (errno == ELOOP) PlatformTrace("platform: the lock file %s cannot be used: %s\n", path_.c_str(), strerror(errno));
        return Take::kNothingToTake;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) return Take::kHeldElsewhere;
    locked_ = true;
    const int32_t holder = int32_t(getpid());
    (void)!pwrite(fd_, &holder, sizeof holder, kHolderOffset);
    // The file says how its last owner, in any process, let go.
    char marker = 0;
    *lastOwnerEnded = pread(fd_, &marker, 1, 0) == 1 && marker == '1';
    return Take::kTaken;
}

bool MutexLockFile::DropLock() {
    if (!locked_) return false;
    flock(fd_, LOCK_UN);
    locked_ = false;
    // A change after the lock went wakes the processes waiting for it.
    const char touch = '.';
    (void)!pwrite(fd_, &touch, 1, 1);
    return true;
}

void MutexLockFile::WriteMarker(char marker) {
    if (locked_) (void)!pwrite(fd_, &marker, 1, 0);
}

bool MutexLockFile::Watch(ElsewhereWatch* watch) {
    // A release rewrites the file (after the lock went); an end closes the holder's descriptors
    // before its lock goes, so its end itself is watched, through its process id.
    const int changes = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (changes < 0) return false;
    watch->fds.push_back(changes);
    if (inotify_add_watch(changes, path_.c_str(), IN_MODIFY | IN_CLOSE_WRITE | IN_DELETE_SELF) < 0) return false;
    int32_t holder = 0;
    if (fd_ < 0 || pread(fd_, &holder, sizeof holder, kHolderOffset) != sizeof holder || holder <= 0) return false;
    const int end = int(syscall(SYS_pidfd_open, pid_t(holder), 0));
    if (end < 0) return false;  // gone already, or not a process of this system: looked at again
    watch->fds.push_back(end);
    return true;
}

void MutexLockFile::Announce() {
    if (path_.empty()) return;
    if (fd_ < 0) fd_ = OpenLockFile(path_, O_RDWR | O_CREAT);
    if (fd_ < 0) return;
    struct flock presence = {};
    presence.l_type = F_RDLCK;
    presence.l_whence = SEEK_SET;
    presence.l_start = kPresenceOffset;
    presence.l_len = 1;
    (void)fcntl(fd_, F_OFD_SETLK, &presence);
}

bool MutexLockFile::Announced(const std::string& path) {
    const int fd = OpenLockFile(path, O_RDONLY);
    if (fd < 0) return false;
    struct flock probe = {};
    probe.l_type = F_WRLCK;  // conflicts with any shared lock on the byte
    probe.l_whence = SEEK_SET;
    probe.l_start = kPresenceOffset;
    probe.l_len = 1;
    const bool held = fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    close(fd);
    return held;
}

std::string LockFilePath(const std::string& name) {
    std::string safe;
    for (char c : name) safe += (isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') ? c : '_';
    std::string dir = platform::StateDir() + "/locks";
    mkdir(dir.c_str(), 0777);
    return dir + "/" + safe + ".lock";
}

}  // namespace platform::kernel
