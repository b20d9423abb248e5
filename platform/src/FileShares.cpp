// Share modes: see FileShares.h.
//
// Each open holds its share mode as shared locks on bytes far past any file's end: one byte for
// each thing it does (reads, writes) and one for each thing it does not share. Before it takes its
// own, an open looks for another's lock on the opposite bytes: "denies writing" when it writes,
// "writes" when it does not share writing. The locks are open-file-description locks (F_OFD_*):
// they belong to the open, not to the process, so two opens in one process meet as two opens in
// two processes do (two stations on one PC), and they go with the open's last descriptor, also
// when a process ends without closing anything. That is why they, and no registry of opens in
// the state directory, keep the record: nothing is left stale by a station that died. Looking
// and taking run under an exclusive flock of the file, so two opens racing in two processes are
// decided one after the other, the later one seeing the earlier.
#include "FileShares.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/winfile.h"

namespace platform::files {

namespace {

enum Use { kRead, kWrite, kDelete, kUses };
constexpr DWORD kShareOf[kUses] = {FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_DELETE};

// The record's bytes: kUses that say what an open does, then kUses that say what it denies.
constexpr off_t kRecord = std::numeric_limits<off_t>::max() - 2 * kUses;
constexpr off_t DoesByte(int use) { return kRecord + use; }
constexpr off_t DeniesByte(int use) { return kRecord + kUses + use; }

bool Does(DWORD access, int use) {
    return (use == kRead && (access & GENERIC_READ)) || (use == kWrite && (access & GENERIC_WRITE));
}

struct flock ByteLock(short type, off_t at) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = at;
    lock.l_len = 1;
    return lock;
}

// True when an open other than the one behind `fd` holds the byte.
bool HeldElsewhere(int fd, off_t at) {
    struct flock probe = ByteLock(F_WRLCK, at);  // conflicts with any shared lock
    return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// The file's opens wait while one of them looks and takes.
class Turn {
public:
    explicit Turn(int fd) : fd_(fd) {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~Turn() { ::flock(fd_, LOCK_UN); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

private:
    int fd_;
};

bool PlainFile(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

DWORD HoldShare(int fd, DWORD access, DWORD shareMode) {
    // An open that neither reads nor writes (one that asks for attributes or a name) is not
    // checked and checks nobody, as on Windows.
    if (!Does(access, kRead) && !Does(access, kWrite)) return ERROR_SUCCESS;
    if (!PlainFile(fd)) return ERROR_SUCCESS;
    Turn turn(fd);
    for (int use = 0; use < kUses; ++use) {
        if (Does(access, use) && HeldElsewhere(fd, DeniesByte(use))) return ERROR_SHARING_VIOLATION;
        if (!(shareMode & kShareOf[use]) && HeldElsewhere(fd, DoesByte(use))) return ERROR_SHARING_VIOLATION;
    }
    if ((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY) return ERROR_SUCCESS;  // shared locks need reading
    for (int use = 0; use < kUses; ++use) {
        struct flock does = ByteLock(F_RDLCK, DoesByte(use)), denies = ByteLock(F_RDLCK, DeniesByte(use));
        if (Does(access, use)) (void)::fcntl(fd, F_OFD_SETLK, &does);
        if (!(shareMode & kShareOf[use])) (void)::fcntl(fd, F_OFD_SETLK, &denies);
    }
    return ERROR_SUCCESS;
}

int HoldableAccess(const std::string& path, int access) {
    struct stat st;
    if (access != O_WRONLY || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))) return access;
    return O_RDWR;
}

BOOL ReplaceShared(const std::string& path, const std::function<BOOL()>& replace) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return replace();  // nothing there, or nothing this process may look into
    BOOL replaced;
    {
        Turn turn(fd);
        const bool refused = PlainFile(fd) && HeldElsewhere(fd, DeniesByte(kDelete));
        if (refused) SetLastError(ERROR_ACCESS_DENIED);
        replaced = refused ? FALSE : replace();
    }
    ::close(fd);
    return replaced;
}

}  // namespace platform::files
