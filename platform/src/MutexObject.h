// The mutex kernel object: recursive, owned by one thread at a time. A named one also holds its
// lock file (MutexLockFile.h) while any thread of this process owns it, so processes exclude each
// other. Internal to the platform library.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "Kernel.h"
#include "MutexLockFile.h"

namespace platform::kernel {

class MutexObject : public KObject {
public:
    explicit MutexObject(std::string lockPath = {});
    ~MutexObject() override;
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD tid) override;
    bool Acquire(DWORD tid) override;
    bool HeldElsewhere() const override { return heldElsewhere_; }
    bool WatchElsewhere(ElsewhereWatch* watch) override { return file_.Watch(watch); }
    void AfterCheck(DWORD) override {
        if (owner == 0) DropFileLock();
    }
    // False when `tid` does not own it.
    bool Release(DWORD tid);
    // Its owner ended: released, and the next owner hears it was abandoned (the marker stays).
    void Abandon();

    static std::mutex& RegistryLock();
    static std::vector<MutexObject*>& Registry();

    DWORD owner = 0;
    LONG recursion = 0;
    bool abandoned = false;

private:
    bool TakeFileLock();
    void DropFileLock();

    MutexLockFile file_;
    bool heldElsewhere_ = false;       // the last check found another process holding it
    bool ownerDiedElsewhere_ = false;  // the lock file says its last owner, here or elsewhere, ended owning it
};

}  // namespace platform::kernel
