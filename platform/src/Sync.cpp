// Events, mutexes (named ones exclude other processes too), semaphores, critical sections,
// interlocked operations, waits and CloseHandle. The mutex object itself is in MutexObject.cpp,
// its cross-process lock file in MutexLockFile.cpp.
#include <algorithm>
#include <atomic>
#include <map>
#include <string>

#include "Kernel.h"
#include "MutexObject.h"
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

// Named objects of this process, by kind and name.
std::map<std::string, std::weak_ptr<KObject>>& Names() {
    static auto* names = new std::map<std::string, std::weak_ptr<KObject>>;
    return *names;
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
    if (obj) return AddHandle(obj);
    // A mutex another process has open is opened here as its name's mutex; none is created.
    if (*name && MutexLockFile::Announced(LockFilePath(name))) return CreateMutexA(nullptr, FALSE, name);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
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
