// The mutex kernel object: see MutexObject.h.
#include "MutexObject.h"

#include <algorithm>

#include "ThreadRegistry.h"

namespace platform::kernel {

MutexObject::MutexObject(std::string lockPath) : file_(std::move(lockPath)) {
    file_.Announce();
    std::lock_guard<std::mutex> g(RegistryLock());
    Registry().push_back(this);
}

MutexObject::~MutexObject() {
    std::lock_guard<std::mutex> g(RegistryLock());
    auto& r = Registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

bool MutexObject::IsSignaled(DWORD tid) {
    heldElsewhere_ = false;
    if (owner == tid) return true;
    if (owner != 0) return false;
    return TakeFileLock();
}

bool MutexObject::Acquire(DWORD tid) {
    if (owner == tid) {
        ++recursion;
        return false;
    }
    owner = tid;
    recursion = 1;
    bool wasAbandoned = abandoned || ownerDiedElsewhere_;
    abandoned = false;
    ownerDiedElsewhere_ = false;
    file_.WriteMarker('1');
    return wasAbandoned;
}

bool MutexObject::Release(DWORD tid) {
    if (owner != tid || recursion == 0) return false;
    if (--recursion == 0) {
        owner = 0;
        file_.WriteMarker('0');
        DropFileLock();
        Signal(this);
    }
    return true;
}

void MutexObject::Abandon() {
    owner = 0;
    recursion = 0;
    abandoned = true;
    DropFileLock();
    Signal(this);
}

std::mutex& MutexObject::RegistryLock() {
    static auto* m = new std::mutex;
    return *m;
}

std::vector<MutexObject*>& MutexObject::Registry() {
    static auto* r = new std::vector<MutexObject*>;
    return *r;
}

bool MutexObject::TakeFileLock() {
    bool lastOwnerEnded = false;
    switch (file_.TakeLock(&lastOwnerEnded)) {
    case MutexLockFile::Take::kHeldElsewhere: heldElsewhere_ = true; return false;
    case MutexLockFile::Take::kNothingToTake: return true;
    case MutexLockFile::Take::kTaken: break;
    }
    // The file says how its last owner, in any process, let go; what this process saw before (an
    // owner here that ended) may since have been taken over and released.
    ownerDiedElsewhere_ = lastOwnerEnded;
    abandoned = false;
    return true;
}

void MutexObject::DropFileLock() {
    if (file_.DropLock()) ownerDiedElsewhere_ = false;
}

void AbandonMutexesOfLocked(DWORD tid) {
    std::lock_guard<std::mutex> g(MutexObject::RegistryLock());
    for (MutexObject* m : MutexObject::Registry())
        if (m->owner == tid) m->Abandon();
}

}  // namespace platform::kernel
