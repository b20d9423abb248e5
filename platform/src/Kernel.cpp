// The kernel lock and the waits. The handle table is in Handles.cpp, the platform clock in
// Clock.cpp.
//
// Every blocking call of the platform ends in Wait(). A thread blocked there is counted;
// on the virtual clock, when every thread the platform knows is blocked, the clock jumps to the
// earliest deadline among the blocked threads and wakes them. A wait for an object another
// process holds runs in real time and counts as running: that process does not share our clock.
#include "Kernel.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>

#include "Clock.h"
#include "KernelState.h"
#include "ThreadRegistry.h"

namespace platform::kernel {

void ElsewhereWatch::Reset() {
    for (int fd : fds) close(fd);
    fds.clear();
}

KernelState& K() {
    static KernelState* state = new KernelState;
    return *state;
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

namespace {

// A thread that waits for another process and cannot watch it checks again this often.
constexpr auto kElsewhereRecheck = std::chrono::milliseconds(50);

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

}  // namespace

std::mutex& Lock() { return K().lock; }

void Signal(KObject* object) {
    for (Waiter* w : object->waiters)
        if (!w->woken) WakeLocked(w);
}

std::vector<DWORD> WaitingThreads(const KObject* object) {
    std::vector<DWORD> threads;
    for (const Waiter* w : object->waiters) threads.push_back(w->tid);
    return threads;
}

namespace {

// The wait's result when `objects` satisfy it now (acquiring them), else WAIT_TIMEOUT.
DWORD AcquireIfSignaled(KObject* const* objects, size_t count, bool waitAll, DWORD tid) {
    if (waitAll) {
        bool all = count > 0;
        for (size_t i = 0; i < count && all; ++i) all = objects[i]->IsSignaled(tid);
        if (!all) return WAIT_TIMEOUT;
        bool abandoned = false;
        for (size_t i = 0; i < count; ++i) abandoned |= objects[i]->Acquire(tid);
        return abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
    }
    for (size_t i = 0; i < count; ++i) {
        if (objects[i]->IsSignaled(tid)) {
            bool abandoned = objects[i]->Acquire(tid);
            return DWORD(i) | (abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0);
        }
    }
    return WAIT_TIMEOUT;
}

// Tells each object its check is over; true when one of them is held by another process.
bool AfterCheck(KObject* const* objects, size_t count, DWORD tid) {
    bool elsewhere = false;
    for (size_t i = 0; i < count; ++i) {
        objects[i]->AfterCheck(tid);
        elsewhere |= objects[i]->HeldElsewhere();
    }
    return elsewhere;
}

// Sets up `watch` over the objects another process holds (and the wake-up descriptor, made
// once); true when every one of them could be watched.
bool WatchHolders(KObject* const* objects, size_t count, ElsewhereWatch& watch, int& wakeFd) {
    watch.Reset();
    if (wakeFd < 0) wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    bool watchable = wakeFd >= 0;
    for (size_t i = 0; i < count; ++i)
        if (objects[i]->HeldElsewhere()) watchable = objects[i]->WatchElsewhere(&watch) && watchable;
    return watchable;
}

// Puts `w` on the objects' waiter lists and the blocked list; Leave takes it off again.
void Enter(Waiter& w, KObject* const* objects, size_t count) {
    for (size_t i = 0; i < count; ++i) objects[i]->waiters.push_back(&w);
    K().blocked.push_back(&w);
}

void Leave(Waiter& w, KObject* const* objects, size_t count) {
    auto& k = K();
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

// Blocks `w` until it is woken or its time is up. A wait for another process runs in real
// time: it watches the holder when it can (else checks again every kElsewhereRecheck), and
// returns true when it ran out of its real-time deadline.
bool BlockUntilWoken(std::unique_lock<std::mutex>& lock, Waiter& w, bool watchable, const ElsewhereWatch& watch,
                     const std::optional<SteadyClock::time_point>& realDeadline) {
    while (!w.woken) {
        if (w.realTime && watchable) {
            PollElsewhere(lock, w, watch, realDeadline);
            if (!w.woken) return realDeadline && SteadyClock::now() >= *realDeadline;
        } else if (w.realTime) {
            auto until = SteadyClock::now() + kElsewhereRecheck;
            if (realDeadline) until = std::min(until, *realDeadline);
            w.cv.wait_until(lock, until);
            if (!w.woken) return realDeadline && SteadyClock::now() >= *realDeadline;
        } else if (VirtualClockOn()) {
            if (w.cv.wait_for(lock, StallCheckPeriod()) == std::cv_status::timeout && !w.woken) CheckStallLocked();
        } else if (w.deadline == kNoDeadline) {
            w.cv.wait(lock);
        } else {
            w.cv.wait_until(lock, RealTimeOf(w.deadline));
            if (!w.woken && RealNow() >= w.deadline) break;
        }
    }
    return false;
}

}  // namespace

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
        DWORD result = AcquireIfSignaled(objects, count, waitAll, tid);
        bool elsewhere = AfterCheck(objects, count, tid);
        if (result != WAIT_TIMEOUT) return result;
        uint64_t now = NowLocked();
        if (realTimeOut) {
            // The time-out passed in real time waiting for another process: it passed here too.
            if (deadline > now && VirtualClockOn()) {
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
            watchable = WatchHolders(objects, count, watch, wakeFd);
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
        Enter(w, objects, count);
        if (elsewhere) {
            if (!realDeadline && deadline != kNoDeadline)
                realDeadline = SteadyClock::now() + std::chrono::milliseconds(deadline - now);
        } else {
            blockedOnce = true;
            w.counted = true;
            ++k.blockedThreads;
            MaybeAdvanceLocked();
        }
        realTimeOut = BlockUntilWoken(lock, w, watchable, watch, realDeadline);
        Leave(w, objects, count);
    }
}

// ---- thread accounting used by the virtual clock ----

void ThreadRegistry::CountThreadLocked(int delta) {
    K().registeredThreads += delta;
    if (delta < 0) MaybeAdvanceLocked();
}

}  // namespace platform::kernel
