// The lock file a named mutex holds in the state directory while a thread of this process owns
// it, so processes exclude each other, and a process that dies releases it with its file locks.
// The file's first byte says whether the mutex was released properly ('0') or its owner ended
// owning it ('1'): the next owner, in any process, then hears that it was abandoned. The second
// byte is rewritten after every release, so a waiting process hears of it; bytes 4 to 7 hold the
// process id of the holder, whose end a waiting process watches. Every process that has the mutex
// open holds a shared lock on byte 8 (a lock on the open file description, gone with the process),
// so OpenMutexA tells a name another process has open from one nobody has. Internal to the platform
// library.
#pragma once

#include <sys/types.h>

#include <string>

#include "Kernel.h"

namespace platform::kernel {

class MutexLockFile {
public:
    // No path: a mutex without a name, which excludes within the process only.
    explicit MutexLockFile(std::string path) : path_(std::move(path)) {}
    ~MutexLockFile();
    MutexLockFile(const MutexLockFile&) = delete;
    MutexLockFile& operator=(const MutexLockFile&) = delete;

    enum class Take {
        kTaken,          // this process holds the file lock now
        kNothingToTake,  // no file, no state directory to share, or this process holds it already
        kHeldElsewhere,  // another process holds it
    };
    // Takes the file lock and writes this process's id into the file; on kTaken `lastOwnerEnded`
    // says whether the file says its last owner, in any process, ended owning it.
    Take TakeLock(bool* lastOwnerEnded);
    // Lets the file lock go and wakes the processes waiting for it; false when it was not held.
    bool DropLock();
    // Writes the first byte ('0' released, '1' owned) while this process holds the file lock.
    void WriteMarker(char marker);
    // Adds to `watch` what becomes readable when the holding process lets go or ends.
    bool Watch(ElsewhereWatch* watch);
    // Says, for as long as this object lives, that this process has the mutex open.
    void Announce();
    // True when some process, this one included, has the mutex of the lock file `path` open.
    static bool Announced(const std::string& path);

private:
    static constexpr off_t kHolderOffset = 4;
    static constexpr off_t kPresenceOffset = 8;

    std::string path_;
    int fd_ = -1;
    bool locked_ = false;  // this process holds the lock file
};

// The lock file of the mutex named `name` (the state directory's locks folder is made).
std::string LockFilePath(const std::string& name);

}  // namespace platform::kernel
