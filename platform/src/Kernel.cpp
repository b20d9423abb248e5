// The kernel lock, the handle table, waits and the platform clock.
//
// Every blocking call of the platform ends in Wait(). A thread blocked there is counted;
// on the virtual clock, when every thread the platform knows is blocked, the clock jumps to the
// earliest deadline among the blocked threads and wakes them.
#include "Kernel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <unordered_map>

#include "ThreadRegistry.h"
#include "platform/runtime.h"

namespace platform::kernel {

struct Waiter {
    std::condition_variable cv;
    DWORD tid = 0;
    uint64_t deadline = kNoDeadline;
    bool woken = false;
    bool counted = false;  // counted among the blocked threads
};

namespace {

struct KernelState {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::shared_ptr<KObject>> handles;
    uintptr_t nextHandle = 0x1000;
    std::vector<Waiter*> blocked;  // every waiter inside Wait
    int registeredThreads = 0;
    int blockedThreads = 0;
    // clock
    std::atomic<bool> virtualClock{false};
    uint64_t virtualNow = 1000000;
    std::chrono::steady_clock::time_point realStart = std::chrono::steady_clock::now();
    uint64_t realOffset = 1000000;  // ms value of the clock at realStart
};

// Never destroyed: platform threads may still run while static objects are torn down.
KernelState& K() {
    static KernelState* state = new KernelState;
    return *state;
}

uint64_t RealNow() {
    auto& k = K();
    auto elapsed = std::chrono::steady_clock::now() - k.realStart;
    return k.realOffset + uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::chrono::steady_clock::time_point RealTimeOf(uint64_t ms) {
    auto& k = K();
    if (ms <= k.realOffset) return k.realStart;
    return k.realStart + std::chrono::milliseconds(ms - k.realOffset);
}

void WakeLocked(Waiter* w) {
    auto& k = K();
    if (w->counted) {
        w->counted = false;
        --k.blockedThreads;
    }
    w->woken = true;
    w->cv.notify_one();
}

void WakeDueLocked() {
    uint64_t now = NowLocked();
    for (Waiter* w : K().blocked)
        if (!w->woken && w->deadline <= now) WakeLocked(w);
}

// On the virtual clock: when no known thread runs, jump to the earliest deadline.
void MaybeAdvanceLocked() {
    auto& k = K();
    if (!k.virtualClock.load(std::memory_order_relaxed)) return;
    if (k.blockedThreads < k.registeredThreads) return;
    uint64_t earliest = kNoDeadline;
    for (Waiter* w : k.blocked)
        if (!w->woken && w->counted) earliest = std::min(earliest, w->deadline);
    if (earliest == kNoDeadline) return;
    if (earliest > k.virtualNow) k.virtualNow = earliest;
    WakeDueLocked();
}

}  // namespace

std::mutex& Lock() { return K().lock; }

uint64_t NowLocked() {
    auto& k = K();
    return k.virtualClock.load(std::memory_order_relaxed) ? k.virtualNow : RealNow();
}

uint64_t DeadlineAfter(DWORD milliseconds) {
    if (milliseconds == INFINITE) return kNoDeadline;
    return NowLocked() + milliseconds;
}

HANDLE AddHandle(std::shared_ptr<KObject> object) {
    std::lock_guard<std::mutex> g(K().lock);
    auto& k = K();
    uintptr_t value = k.nextHandle;
    k.nextHandle += 4;
    k.handles.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KObject> FromHandle(HANDLE handle) {
    std::lock_guard<std::mutex> g(K().lock);
    auto it = K().handles.find(reinterpret_cast<uintptr_t>(handle));
    return it == K().handles.end() ? nullptr : it->second;
}

bool RemoveHandle(HANDLE handle) {
    std::shared_ptr<KObject> dropped;  // destroyed outside the lock
    std::lock_guard<std::mutex> g(K().lock);
    auto it = K().handles.find(reinterpret_cast<uintptr_t>(handle));
    if (it == K().handles.end()) return false;
    dropped = std::move(it->second);
    K().handles.erase(it);
    return true;
}

bool ResolveWaitables(DWORD count, const HANDLE* handles, std::vector<std::shared_ptr<KObject>>* keep,
                      std::vector<KObject*>* objects) {
    for (DWORD i = 0; i < count; ++i) {
        auto obj = FromHandle(handles[i]);
        if (!obj || !obj->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        objects->push_back(obj.get());
        keep->push_back(std::move(obj));
    }
    return true;
}

void Signal(KObject* object) {
    for (Waiter* w : object->waiters)
        if (!w->woken) WakeLocked(w);
}

std::vector<DWORD> WaitingThreads(const KObject* object) {
    std::vector<DWORD> threads;
    for (const Waiter* w : object->waiters) threads.push_back(w->tid);
    return threads;
}

DWORD Wait(std::unique_lock<std::mutex>& lock, KObject* const* objects, size_t count, bool waitAll,
           uint64_t deadline) {
    auto& k = K();
    DWORD tid = CurrentThreadId();
    ThreadRegistry::EnsureRegisteredLocked();
    for (;;) {
        // Satisfied now?
        DWORD result = WAIT_TIMEOUT;
        if (waitAll) {
            bool all = count > 0;
            for (size_t i = 0; i < count && all; ++i) all = objects[i]->IsSignaled(tid);
            if (all) {
                bool abandoned = false;
                for (size_t i = 0; i < count; ++i) abandoned |= objects[i]->Acquire(tid);
                result = abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
            }
        } else {
            for (size_t i = 0; i < count; ++i) {
                if (objects[i]->IsSignaled(tid)) {
                    bool abandoned = objects[i]->Acquire(tid);
                    result = DWORD(i) | (abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0);
                    break;
                }
            }
        }
        for (size_t i = 0; i < count; ++i) objects[i]->AfterCheck(tid);
        if (result != WAIT_TIMEOUT) return result;
        uint64_t now = NowLocked();
        if (deadline != kNoDeadline && now >= deadline) return WAIT_TIMEOUT;

        // Block until signalled, due, or (for polled objects) the next poll.
        Waiter w;
        w.tid = tid;
        w.deadline = deadline;
        for (size_t i = 0; i < count; ++i) {
            DWORD poll = objects[i]->PollMs();
            if (poll) w.deadline = std::min(w.deadline, now + poll);
            objects[i]->waiters.push_back(&w);
        }
        k.blocked.push_back(&w);
        w.counted = true;
        ++k.blockedThreads;
        MaybeAdvanceLocked();
        while (!w.woken) {
            if (k.virtualClock.load(std::memory_order_relaxed) || w.deadline == kNoDeadline) {
                w.cv.wait(lock);
            } else {
                w.cv.wait_until(lock, RealTimeOf(w.deadline));
                if (!w.woken && RealNow() >= w.deadline) break;
            }
        }
        if (w.counted) {
            w.counted = false;
            --k.blockedThreads;
        }
        k.blocked.erase(std::find(k.blocked.begin(), k.blocked.end(), &w));
        for (size_t i = 0; i < count; ++i) {
            auto& list = objects[i]->waiters;
            list.erase(std::find(list.begin(), list.end(), &w));
        }
    }
}

// ---- thread accounting used by the virtual clock ----

void ThreadRegistry::CountThreadLocked(int delta) {
    K().registeredThreads += delta;
    if (delta < 0) MaybeAdvanceLocked();
}

}  // namespace platform::kernel

// ---- clock calls ----

using namespace platform::kernel;

namespace platform {

void UseVirtualClock(bool on) {
    std::lock_guard<std::mutex> g(K().lock);
    auto& k = K();
    // The thread that sets the clock counts as a running platform thread from now on.
    ThreadRegistry::EnsureRegisteredLocked();
    if (on == k.virtualClock.load()) return;
    if (on) {
        k.virtualNow = RealNow();
    } else {
        k.realOffset = k.virtualNow;
        k.realStart = std::chrono::steady_clock::now();
    }
    k.virtualClock.store(on);
    // Waiters re-evaluate their deadlines on the new clock.
    for (Waiter* w : k.blocked)
        if (!w->woken) WakeLocked(w);
}

bool IsVirtualClock() { return K().virtualClock.load(); }

void AdvanceClock(DWORD milliseconds) {
    std::lock_guard<std::mutex> g(K().lock);
    auto& k = K();
    if (k.virtualClock.load()) {
        k.virtualNow += milliseconds;
    } else {
        k.realOffset += milliseconds;
    }
    WakeDueLocked();
}

ULONGLONG ClockNow() {
    std::lock_guard<std::mutex> g(K().lock);
    return NowLocked();
}

}  // namespace platform

ULONGLONG GetTickCount64() {
    std::lock_guard<std::mutex> g(K().lock);
    auto& k = K();
    if (k.virtualClock.load()) {
        // A busy poll of the tick count still sees time pass.
        k.virtualNow += 1;
        WakeDueLocked();
    }
    return NowLocked();
}

DWORD GetTickCount() { return DWORD(GetTickCount64()); }

DWORD timeGetTime() { return GetTickCount(); }

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = 1000000;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    count->QuadPart = LONGLONG(platform::ClockNow() * 1000);
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    std::unique_lock<std::mutex> lock(K().lock);
    if (milliseconds == 0) return;
    Wait(lock, nullptr, 0, false, DeadlineAfter(milliseconds));
}
