// Events, mutexes (named ones exclude other processes too), semaphores, critical sections,
// interlocked operations, waits and CloseHandle.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <map>
#include <string>

#include "Kernel.h"
#include "ThreadRegistry.h"
#include "platform/runtime.h"

namespace platform::kernel {
void ReapEndedThreads();
}

using namespace platform::kernel;

namespace {

thread_local DWORD t_lastError = 0;

class EventObject : public KObject {
public:
    EventObject(bool manual, bool initial) : manual(manual), signaled(initial) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD tid) override {
        return signaled || std::find(pulsed.begin(), pulsed.end(), tid) != pulsed.end();
    }
    bool Acquire(DWORD tid) override {
        if (!manual) {
            signaled = false;
            pulsed.clear();  // an auto-reset pulse releases one waiter
        }
        return false;
    }
    // A pulse is for the one check that follows it; a wait that is not satisfied then lets it go.
    void AfterCheck(DWORD tid) override { pulsed.erase(std::remove(pulsed.begin(), pulsed.end(), tid), pulsed.end()); }
    // Releases the threads waiting now (one of them for an auto-reset event); the event stays reset.
    void Pulse() {
        pulsed = WaitingThreads(this);
        Signal(this);
    }
    bool manual;
    bool signaled;
    std::vector<DWORD> pulsed;  // threads a pulse released that have not looked yet
};

class SemaphoreObject : public KObject {
public:
    SemaphoreObject(LONG count, LONG maximum) : count(count), maximum(maximum) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD) override { return count > 0; }
    bool Acquire(DWORD) override {
        --count;
        return false;
    }
    LONG count;
    LONG maximum;
};

// A recursive mutex owned by one thread at a time. A named one also holds a lock file in the
// state directory while any thread of this process owns it, so processes exclude each other,
// and a process that dies releases it with its file locks. The file's first byte says whether
// the mutex was released properly ('0') or its owner ended owning it ('1'): the next owner, in
// any process, then hears that it was abandoned. The second byte is rewritten after every
// release, so a waiting process hears of it; bytes 4 to 7 hold the process id of the holder, whose
// end a waiting process watches.
class MutexObject : public KObject {
public:
    explicit MutexObject(std::string lockPath = {}) : lockPath_(std::move(lockPath)) {
        std::lock_guard<std::mutex> g(RegistryLock());
        Registry().push_back(this);
    }
    ~MutexObject() override {
        {
            std::lock_guard<std::mutex> g(RegistryLock());
            auto& r = Registry();
            r.erase(std::remove(r.begin(), r.end(), this), r.end());
        }
        if (fd_ >= 0) close(fd_);
    }
    bool IsWaitable() const override { return true; }
    bool IsSignaled(DWORD tid) override {
        heldElsewhere_ = false;
        if (owner == tid) return true;
        if (owner != 0) return false;
        return TakeFileLock();
    }
    bool Acquire(DWORD tid) override {
        if (owner == tid) {
            ++recursion;
            return false;
        }
        owner = tid;
        recursion = 1;
        bool wasAbandoned = abandoned || ownerDiedElsewhere_;
        abandoned = false;
        ownerDiedElsewhere_ = false;
        WriteMarker('1');
        return wasAbandoned;
    }
    bool HeldElsewhere() const override { return heldElsewhere_; }
    bool WatchElsewhere(ElsewhereWatch* watch) override;
    void AfterCheck(DWORD) override {
        if (owner == 0) DropFileLock();
    }
    bool Release(DWORD tid) {
        if (owner != tid || recursion == 0) return false;
        if (--recursion == 0) {
            owner = 0;
            WriteMarker('0');
            DropFileLock();
            Signal(this);
        }
        return true;
    }
    // Its owner ended: released, and the next owner hears it was abandoned (the marker stays).
    void Abandon() {
        owner = 0;
        recursion = 0;
        abandoned = true;
        DropFileLock();
        Signal(this);
    }

    static std::mutex& RegistryLock() {
        static auto* m = new std::mutex;
        return *m;
    }
    static std::vector<MutexObject*>& Registry() {
        static auto* r = new std::vector<MutexObject*>;
        return *r;
    }

    DWORD owner = 0;
    LONG recursion = 0;
    bool abandoned = false;

private:
    bool TakeFileLock() {
        if (lockPath_.empty() || locked_) return true;
        if (fd_ < 0) fd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return true;  // no state directory to share: exclusion within the process only
        if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            heldElsewhere_ = true;
            return false;
        }
        locked_ = true;
        const int32_t holder = int32_t(getpid());
        (void)!pwrite(fd_, &holder, sizeof holder, kHolderOffset);
        // The file says how its last owner, in any process, let go; what this process saw
        // before (an owner here that ended) may since have been taken over and released.
        char marker = 0;
        ownerDiedElsewhere_ = pread(fd_, &marker, 1, 0) == 1 && marker == '1';
        abandoned = false;
        return true;
    }
    void DropFileLock() {
        if (!locked_) return;
        flock(fd_, LOCK_UN);
        locked_ = false;
        ownerDiedElsewhere_ = false;
        // A change after the lock went wakes the processes waiting for it.
        const char touch = '.';
        (void)!pwrite(fd_, &touch, 1, 1);
    }
    void WriteMarker(char marker) {
        if (locked_) (void)!pwrite(fd_, &marker, 1, 0);
    }
    static constexpr off_t kHolderOffset = 4;

    std::string lockPath_;
    int fd_ = -1;
    bool locked_ = false;              // this process holds the lock file
    bool heldElsewhere_ = false;       // the last check found another process holding it
    bool ownerDiedElsewhere_ = false;  // the lock file says its last owner, here or elsewhere, ended owning it
};

bool MutexObject::WatchElsewhere(ElsewhereWatch* watch) {
    // A release rewrites the file (after the lock went); an end closes the holder's descriptors
    // before its lock goes, so its end itself is watched, through its process id.
    const int changes = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (changes < 0) return false;
    watch->fds.push_back(changes);
    if (inotify_add_watch(changes, lockPath_.c_str(), IN_MODIFY | IN_CLOSE_WRITE | IN_DELETE_SELF) < 0) return false;
    int32_t holder = 0;
    if (fd_ < 0 || pread(fd_, &holder, sizeof holder, kHolderOffset) != sizeof holder || holder <= 0) return false;
    const int end = int(syscall(SYS_pidfd_open, pid_t(holder), 0));
    if (end < 0) return false;  // gone already, or not a process of this system: looked at again
    watch->fds.push_back(end);
    return true;
}

// Named objects of this process, by kind and name.
std::map<std::string, std::weak_ptr<KObject>>& Names() {
    static auto* names = new std::map<std::string, std::weak_ptr<KObject>>;
    return *names;
}

std::string LockFilePath(const std::string& name) {
    std::string safe;
    for (char c : name) safe += (isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') ? c : '_';
    std::string dir = platform::StateDir() + "/locks";
    mkdir(dir.c_str(), 0777);
    return dir + "/" + safe + ".lock";
}

template <class T, class Make>
HANDLE CreateNamed(const char* kind, LPCSTR name, Make make, bool* existed) {
    *existed = false;
    if (!name || !*name) return AddHandle(make());
    std::string key = std::string(kind) + ":" + name;
    std::shared_ptr<KObject> obj;
    {
        std::lock_guard<std::mutex> g(Lock());
        obj = Names()[key].lock();
    }
    if (obj) {
        if (!std::dynamic_pointer_cast<T>(obj)) return nullptr;
        *existed = true;
        return AddHandle(obj);
    }
    std::shared_ptr<KObject> fresh = make();
    {
        std::lock_guard<std::mutex> g(Lock());
        auto& slot = Names()[key];
        if (auto other = slot.lock()) {
            fresh = other;  // another thread created it meanwhile
            *existed = true;
        } else {
            slot = fresh;
        }
    }
    return AddHandle(fresh);
}

}  // namespace

namespace platform::kernel {
void AbandonMutexesOfLocked(DWORD tid) {
    std::lock_guard<std::mutex> g(MutexObject::RegistryLock());
    for (MutexObject* m : MutexObject::Registry())
        if (m->owner == tid) m->Abandon();
}
}  // namespace platform::kernel

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }

BOOL CloseHandle(HANDLE handle) {
    NoteCall("CloseHandle");
    if (!RemoveHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ReapEndedThreads();
    return TRUE;
}

// ---- waits ----

namespace {
DWORD WaitForObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    Waitables waitables;
    if (!ResolveWaitables(count, handles, waitAll, MAXIMUM_WAIT_OBJECTS, &waitables)) return WAIT_FAILED;
    std::unique_lock<std::mutex> lock(Lock());
    DWORD r = Wait(lock, waitables.objects.data(), waitables.count, waitAll, DeadlineAfter(milliseconds));
    if (waitAll && r != WAIT_TIMEOUT) r &= ~DWORD(0x7F);  // index 0 for a wait on all
    return r;
}

}  // namespace

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    NoteCall("WaitForMultipleObjects");
    return WaitForObjects(count, handles, waitAll, milliseconds);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    NoteCall("WaitForSingleObject");
    return WaitForObjects(1, &handle, FALSE, milliseconds);
}

// ---- events ----

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
    NoteCall("CreateEventA");
    LONG error = ERROR_NOT_ENOUGH_MEMORY;
    if (platform::ShouldFail("CreateEventA", &error)) {
        SetLastError(DWORD(error));
        return nullptr;
    }
    bool existed;
    HANDLE h = CreateNamed<EventObject>(
        "event", name, [&] { return std::make_shared<EventObject>(manualReset, initialState); }, &existed);
    if (!h) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    SetLastError(existed ? ERROR_ALREADY_EXISTS : 0);
    return h;
}

static BOOL ChangeEvent(HANDLE event, int how) {
    auto obj = FromHandleAs<EventObject>(event);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> g(Lock());
    if (how == 0) {
        obj->signaled = false;
        return TRUE;
    }
    if (how == 2) {
        obj->Pulse();
        return TRUE;
    }
    obj->signaled = true;
    Signal(obj.get());
    return TRUE;
}

BOOL SetEvent(HANDLE event) {
    NoteCall("SetEvent");
    return ChangeEvent(event, 1);
}
BOOL ResetEvent(HANDLE event) {
    NoteCall("ResetEvent");
    return ChangeEvent(event, 0);
}
BOOL PulseEvent(HANDLE event) {
    NoteCall("PulseEvent");
    return ChangeEvent(event, 2);
}

// ---- mutexes ----

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
    NoteCall("CreateMutexA");
    LONG error = ERROR_NOT_ENOUGH_MEMORY;
    if (platform::ShouldFail("CreateMutexA", &error)) {
        SetLastError(DWORD(error));
        return nullptr;
    }
    bool existed;
    std::string lockPath = (name && *name) ? LockFilePath(name) : std::string();
    HANDLE h = CreateNamed<MutexObject>(
        "mutex", name, [&] { return std::make_shared<MutexObject>(lockPath); }, &existed);
    if (!h) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Another process that holds a mutex of this name is not waited for: the mutex exists already.
    if (initialOwner && !existed && WaitForSingleObject(h, 0) == WAIT_TIMEOUT) existed = true;
    SetLastError(existed ? ERROR_ALREADY_EXISTS : 0);
    return h;
}

HANDLE OpenMutexA(DWORD, BOOL, LPCSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<KObject> obj;
    {
        std::lock_guard<std::mutex> g(Lock());
        auto it = Names().find(std::string("mutex:") + name);
        if (it != Names().end()) obj = it->second.lock();
    }
    if (!obj) return CreateMutexA(nullptr, FALSE, name);  // the object may live in another process
    return AddHandle(obj);
}

BOOL ReleaseMutex(HANDLE mutex) {
    NoteCall("ReleaseMutex");
    auto obj = FromHandleAs<MutexObject>(mutex);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> g(Lock());
    if (!obj->Release(CurrentThreadId())) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}

// ---- semaphores ----

HANDLE CreateSemaphoreA(LPSECURITY_ATTRIBUTES, LONG initialCount, LONG maximumCount, LPCSTR name) {
    if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool existed;
    HANDLE h = CreateNamed<SemaphoreObject>(
        "semaphore", name, [&] { return std::make_shared<SemaphoreObject>(initialCount, maximumCount); }, &existed);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : 0);
    return h;
}

BOOL ReleaseSemaphore(HANDLE semaphore, LONG releaseCount, LPLONG previousCount) {
    NoteCall("ReleaseSemaphore");
    auto obj = FromHandleAs<SemaphoreObject>(semaphore);
    if (!obj || releaseCount <= 0) {
        SetLastError(obj ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> g(Lock());
    if (obj->count + releaseCount > obj->maximum) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (previousCount) *previousCount = obj->count;
    obj->count += releaseCount;
    Signal(obj.get());
    return TRUE;
}

// ---- critical sections ----

struct PlatformLock {
    MutexObject mutex;
};

void InitializeCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) cs->impl = new PlatformLock;
}

void DeleteCriticalSection(LPCRITICAL_SECTION cs) {
    if (!cs || !cs->impl) return;
    delete cs->impl;
    cs->impl = nullptr;
}

void EnterCriticalSection(LPCRITICAL_SECTION cs) {
    NoteCall("EnterCriticalSection");
    if (!cs || !cs->impl) return;
    std::unique_lock<std::mutex> lock(Lock());
    KObject* obj = &cs->impl->mutex;
    Wait(lock, &obj, 1, false, kNoDeadline);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs) {
    if (!cs || !cs->impl) return FALSE;
    std::unique_lock<std::mutex> lock(Lock());
    KObject* obj = &cs->impl->mutex;
    return Wait(lock, &obj, 1, false, 0) == WAIT_OBJECT_0 ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs) {
    NoteCall("LeaveCriticalSection");
    if (!cs || !cs->impl) return;
    std::lock_guard<std::mutex> g(Lock());
    cs->impl->mutex.Release(CurrentThreadId());
}

// ---- interlocked ----

namespace {
std::atomic_ref<LONG> Ref(LONG volatile* p) { return std::atomic_ref<LONG>(*const_cast<LONG*>(p)); }
}  // namespace

LONG InterlockedIncrement(LONG volatile* value) { return Ref(value).fetch_add(1) + 1; }
LONG InterlockedDecrement(LONG volatile* value) { return Ref(value).fetch_sub(1) - 1; }
LONG InterlockedExchange(LONG volatile* target, LONG value) { return Ref(target).exchange(value); }
LONG InterlockedExchangeAdd(LONG volatile* target, LONG value) { return Ref(target).fetch_add(value); }
LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand) {
    Ref(target).compare_exchange_strong(comparand, exchange);
    return comparand;
}
LONG InterlockedOr(LONG volatile* target, LONG value) { return Ref(target).fetch_or(value); }
LONG InterlockedAnd(LONG volatile* target, LONG value) { return Ref(target).fetch_and(value); }
LONG InterlockedRead(LONG volatile* value) { return Ref(value).load(); }
