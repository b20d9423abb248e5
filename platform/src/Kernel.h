// The platform's kernel: one lock over every kernel object, the handle table, waits and the
// clock. Internal to the platform library.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/winbase.h"

namespace platform::kernel {

constexpr uint64_t kNoDeadline = UINT64_MAX;

struct Waiter;

// What a wait for an object another process holds watches: descriptors that become readable when
// that process may have let go. Closed with the watch.
struct ElsewhereWatch {
    ElsewhereWatch() = default;
    ElsewhereWatch(const ElsewhereWatch&) = delete;
    ElsewhereWatch& operator=(const ElsewhereWatch&) = delete;
    ~ElsewhereWatch() { Reset(); }
    void Reset();
    std::vector<int> fds;
};

// Anything a HANDLE can name. Waitable objects override IsSignaled/Acquire; all calls to
// them happen under the kernel lock.
class KObject {
public:
    virtual ~KObject() = default;
    virtual bool IsWaitable() const { return false; }
    // True when a wait by thread `tid` would be satisfied now.
    virtual bool IsSignaled(DWORD tid) { return false; }
    // Consumes the signal for thread `tid` (auto-reset events, mutex ownership). Returns true when
    // the object was abandoned (a mutex whose owner ended).
    virtual bool Acquire(DWORD tid) { return false; }
    // True when the last check found the object held by another process, which does not share
    // this process's virtual clock: the wait for it runs in real time.
    virtual bool HeldElsewhere() const { return false; }
    // Called for each object after every satisfaction check of a wait by thread `tid`.
    virtual void AfterCheck(DWORD tid) {}
    // For an object held elsewhere: adds to `watch` what becomes readable when the other process
    // lets it go or ends. False when that cannot be watched: the wait then looks again now and then.
    virtual bool WatchElsewhere(ElsewhereWatch* watch) { return false; }

    std::vector<Waiter*> waiters;  // threads blocked on this object
};

// The kernel lock. Held while any kernel object's state is read or changed.
std::mutex& Lock();

// Handle table.
HANDLE AddHandle(std::shared_ptr<KObject> object);
std::shared_ptr<KObject> FromHandle(HANDLE handle);  // null for an unknown handle
template <class T>
std::shared_ptr<T> FromHandleAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(FromHandle(handle));
}
bool RemoveHandle(HANDLE handle);

// The waitable objects behind `handles`, kept alive by `keep`. False, with ERROR_INVALID_HANDLE
// set, when one of them is not a waitable object.
// Room for a wait's objects, on the waiting thread's stack: one more than a wait names, for the
// message queue of a wait that also waits for input.
struct Waitables {
    std::array<std::shared_ptr<KObject>, MAXIMUM_WAIT_OBJECTS + 1> keep;
    std::array<KObject*, MAXIMUM_WAIT_OBJECTS + 1> objects{};
    size_t count = 0;
};
bool ResolveWaitables(DWORD count, const HANDLE* handles, bool waitAll, DWORD most, Waitables* out);

// Wakes every thread waiting on `object`, after its state changed (kernel lock held).
void Signal(KObject* object);
// The threads blocked in a wait on `object` now (kernel lock held).
std::vector<DWORD> WaitingThreads(const KObject* object);

// Waits (kernel lock held through `lock`) for one (or all) of `objects` until `deadline` on the
// platform clock. Returns the index satisfied (ORed with WAIT_ABANDONED_0 when abandoned), or
// WAIT_TIMEOUT.
DWORD Wait(std::unique_lock<std::mutex>& lock, KObject* const* objects, size_t count, bool waitAll,
           uint64_t deadline);

// The platform clock in ms (kernel lock held).
uint64_t NowLocked();
// Deadline for a time-out in ms from now (INFINITE gives kNoDeadline).
uint64_t DeadlineAfter(DWORD milliseconds);

// Platform thread id of the calling thread (assigned on first use).
DWORD CurrentThreadId();

}  // namespace platform::kernel
