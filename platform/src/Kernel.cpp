// The kernel lock, the handle table, waits and the platform clock.
//
// Every blocking call of the platform ends in Wait(). A thread blocked there is counted;
// on the virtual clock, when every thread the platform knows is blocked, the clock jumps to the
// earliest deadline among the blocked threads and wakes them. A wait for an object another
// process holds runs in real time and counts as running: that process does not share our clock.
// When the virtual clock stands still for long in real time while threads wait for it, the
// threads it waits for are named on stderr.
#include "Kernel.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>

#include "ThreadRegistry.h"
#include "platform/runtime.h"

namespace platform::kernel {

void ElsewhereWatch::Reset() {
    for (int fd : fds) close(fd);
    fds.clear();
}

using SteadyClock = std::chrono::steady_clock;

struct Waiter {
    std::condition_variable cv;
    int wakeFd = -1;  // an eventfd a wait for another process polls with its watch
    DWORD tid = 0;
    uint64_t deadline = kNoDeadline;
    bool woken = false;
    bool counted = false;   // counted among the blocked threads
    bool realTime = false;  // waits for another process, in real time
};

namespace {

// A thread that waits for another process and cannot watch it checks again this often.
constexpr auto kElsewhereRecheck = std::chrono::milliseconds(50);

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
    SteadyClock::time_point realStart = SteadyClock::now();
    uint64_t realOffset = 1000000;  // ms value of the clock at realStart
    // stalled virtual clock
    SteadyClock::time_point lastMove = SteadyClock::now();
    std::chrono::milliseconds stallReport{10000};
    bool stallReported = false;
};

// Never destroyed: platform threads may still run while static objects are torn down.
KernelState& K() {
    static KernelState* state = new KernelState;
    return *state;
}

uint64_t RealNow() {
    auto& k = K();
    auto elapsed = SteadyClock::now() - k.realStart;
    return k.realOffset + uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

SteadyClock::time_point RealTimeOf(uint64_t ms) {
    auto& k = K();
    if (ms <= k.realOffset) return k.realStart;
    return k.realStart + std::chrono::milliseconds(ms - k.realOffset);
}

void MoveVirtualLocked(uint64_t to) {
    auto& k = K();
    if (to <= k.virtualNow) return;
    k.virtualNow = to;
    k.lastMove = SteadyClock::now();
    k.stallReported = false;
}

void WakeLocked(Waiter* w) {
    auto& k = K();
    if (w->counted) {
        w->counted = false;
        --k.blockedThreads;
    }
    w->woken = true;
    w->cv.notify_one();
    if (w->wakeFd >= 0) {
        const uint64_t one = 1;
        (void)!write(w->wakeFd, &one, sizeof one);
    }
}

// Blocks (the kernel lock let go) until a descriptor of the watch or the waiter's own wake-up is
// readable, or the real-time deadline passes.
void PollElsewhere(std::unique_lock<std::mutex>& lock, Waiter& w, const ElsewhereWatch& watch,
                   const std::optional<SteadyClock::time_point>& realDeadline) {
    std::vector<pollfd> fds;
    fds.push_back(pollfd{w.wakeFd, POLLIN, 0});
    for (int fd : watch.fds) fds.push_back(pollfd{fd, POLLIN, 0});
    int timeout = -1;
    if (realDeadline) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(*realDeadline - SteadyClock::now()).count();
        timeout = int(std::clamp<long long>(left, 0, INT32_MAX));
    }
    lock.unlock();
    while (poll(fds.data(), fds.size(), timeout) < 0 && errno == EINTR) {
    }
    uint64_t drained;
    (void)!read(w.wakeFd, &drained, sizeof drained);
    lock.lock();
}

void WakeDueLocked() {
    uint64_t now = NowLocked();
    for (Waiter* w : K().blocked)
        if (!w->woken && !w->realTime && w->deadline <= now) WakeLocked(w);
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
    MoveVirtualLocked(earliest);
    WakeDueLocked();
}

// How long a waiter on the virtual clock sleeps before it looks whether the clock stalled.
std::chrono::milliseconds StallCheckPeriod() {
    return std::clamp(K().stallReport / 4, std::chrono::milliseconds(10), std::chrono::milliseconds(1000));
}

// Names, on stderr, the threads the virtual clock waits for, once it has stood still for the
// report period while some thread waits for a deadline.
void CheckStallLocked() {
    auto& k = K();
    if (k.stallReported || SteadyClock::now() - k.lastMove < k.stallReport) return;
    bool wanted = false;
    for (const Waiter* w : k.blocked) wanted |= w->counted && w->deadline != kNoDeadline;
    if (!wanted) return;
    k.stallReported = true;
    std::string report = "platform: the virtual clock has not moved for " +
                         std::to_string(k.stallReport.count() / 1000.0).substr(0, 4) +
                         " s of real time; the threads counted as running:\n";
    ThreadRegistry::ForEachLocked([&](const ThreadInfo& info) {
        bool waits = false, elsewhere = false;
        for (const Waiter* w : k.blocked) {
            if (w->tid != info.tid) continue;
            waits |= w->counted;
            elsewhere |= w->realTime;
        }
        if (waits) return;
        const char* call = info.lastCall.load(std::memory_order_relaxed);
        report += "  " + ThreadRegistry::Describe(info) + ", last platform call " + (call ? call : "none") +
                  (elsewhere ? ", waiting for another process" : "") + "\n";
    });
    fputs(report.c_str(), stderr);
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

bool ResolveWaitables(DWORD count, const HANDLE* handles, bool waitAll, DWORD most, Waitables* out) {
    if (count > most) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        auto obj = FromHandle(handles[i]);
        if (!obj || !obj->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        // A wait for all of them names each object once.
        if (waitAll && std::find(out->objects.begin(), out->objects.begin() + out->count, obj.get()) !=
                           out->objects.begin() + out->count) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        out->objects[out->count++] = obj.get();
        out->keep[i] = std::move(obj);
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
    ThreadInfo& me = ThreadRegistry::Current();
    const char* call = me.lastCall.load(std::memory_order_relaxed);
    ThreadRegistry::EnsureRegisteredLocked(call ? call : "a wait");
    bool blockedOnce = false;
    std::optional<SteadyClock::time_point> realDeadline;  // of a wait for another process
    bool realTimeOut = false;
    // A wait for another process watches it: what was checked under a watch set up before the
    // check cannot be missed, so the wait blocks until the watch or this process wakes it.
    ElsewhereWatch watch;
    bool watched = false, watchable = false;
    int wakeFd = -1;
    struct CloseAtEnd {
        int& fd;
        ~CloseAtEnd() {
            if (fd >= 0) close(fd);
        }
    } closeWake{wakeFd};
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
        bool elsewhere = false;
        for (size_t i = 0; i < count; ++i) {
            objects[i]->AfterCheck(tid);
            elsewhere |= objects[i]->HeldElsewhere();
        }
        if (result != WAIT_TIMEOUT) return result;
        uint64_t now = NowLocked();
        if (realTimeOut) {
            // The time-out passed in real time waiting for another process: it passed here too.
            if (deadline > now && k.virtualClock.load(std::memory_order_relaxed)) {
                MoveVirtualLocked(deadline);
                WakeDueLocked();
            }
            return WAIT_TIMEOUT;
        }
        if (deadline != kNoDeadline && now >= deadline) {
            // A wait that ended on the clock: the next clock read is not a poll (see GetTickCount).
            if (blockedOnce) me.readSinceBlocked = false;
            return WAIT_TIMEOUT;
        }

        if (elsewhere && !watched) {
            watch.Reset();
            if (wakeFd < 0) wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
            watchable = wakeFd >= 0;
            for (size_t i = 0; i < count; ++i)
                if (objects[i]->HeldElsewhere()) watchable = objects[i]->WatchElsewhere(&watch) && watchable;
            watched = true;
            continue;  // checked again under the watch
        }
        watched = false;  // the next round watches afresh: the holder may have changed

        // Block until signalled or due; a wait for another process until it lets go.
        Waiter w;
        w.tid = tid;
        w.wakeFd = elsewhere && watchable ? wakeFd : -1;
        w.deadline = deadline;
        w.realTime = elsewhere;
        for (size_t i = 0; i < count; ++i) objects[i]->waiters.push_back(&w);
        k.blocked.push_back(&w);
        if (elsewhere) {
            if (!realDeadline && deadline != kNoDeadline)
                realDeadline = SteadyClock::now() + std::chrono::milliseconds(deadline - now);
        } else {
            blockedOnce = true;
            w.counted = true;
            ++k.blockedThreads;
            MaybeAdvanceLocked();
        }
        while (!w.woken) {
            if (elsewhere && watchable) {
                PollElsewhere(lock, w, watch, realDeadline);
                if (!w.woken) {
                    realTimeOut = realDeadline && SteadyClock::now() >= *realDeadline;
                    break;
                }
            } else if (elsewhere) {
                auto until = SteadyClock::now() + kElsewhereRecheck;
                if (realDeadline) until = std::min(until, *realDeadline);
                w.cv.wait_until(lock, until);
                if (!w.woken) {
                    realTimeOut = realDeadline && SteadyClock::now() >= *realDeadline;
                    break;
                }
            } else if (k.virtualClock.load(std::memory_order_relaxed)) {
                if (w.cv.wait_for(lock, StallCheckPeriod()) == std::cv_status::timeout && !w.woken)
                    CheckStallLocked();
            } else if (w.deadline == kNoDeadline) {
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
        k.lastMove = SteadyClock::now();
    } else {
        k.realOffset = k.virtualNow;
        k.realStart = SteadyClock::now();
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
        MoveVirtualLocked(k.virtualNow + milliseconds);
    } else {
        k.realOffset += milliseconds;
    }
    WakeDueLocked();
}

void SetClockStallReport(DWORD realMilliseconds) {
    std::lock_guard<std::mutex> g(K().lock);
    K().stallReport = std::chrono::milliseconds(realMilliseconds);
}

ULONGLONG ClockNow() {
    std::lock_guard<std::mutex> g(K().lock);
    return NowLocked();
}

}  // namespace platform

ULONGLONG GetTickCount64() {
    NoteCall("GetTickCount");
    std::lock_guard<std::mutex> g(K().lock);
    auto& k = K();
    if (k.virtualClock.load()) {
        // A busy poll of the tick count still sees time pass: a thread that reads the clock again
        // without having waited for it since moves it by 1 ms, when no other thread could move it
        // (every other platform thread waits). Reads between waits never move it, so test time
        // does not depend on how often threads look at the clock.
        ThreadInfo& me = ThreadRegistry::Current();
        int others = k.registeredThreads - (me.registered ? 1 : 0);
        if (me.readSinceBlocked && k.blockedThreads >= others) {
            MoveVirtualLocked(k.virtualNow + 1);
            WakeDueLocked();
        }
        me.readSinceBlocked = true;
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
    NoteCall("Sleep");
    std::unique_lock<std::mutex> lock(K().lock);
    if (milliseconds == 0) return;
    Wait(lock, nullptr, 0, false, DeadlineAfter(milliseconds));
}
