// The platform clock: real, or virtual for tests. On the virtual clock, when every thread the
// platform knows is blocked, the clock jumps to the earliest deadline among the blocked threads
// and wakes them. When the virtual clock stands still for long in real time while threads wait for
// it, the threads it waits for are named on stderr.
#include "Clock.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "KernelState.h"
#include "ThreadRegistry.h"
#include "platform/runtime.h"

namespace platform::kernel {

namespace {

struct ClockState {
    std::atomic<bool> virtualClock{false};
    uint64_t virtualNow = 1000000;
    SteadyClock::time_point realStart = SteadyClock::now();
    uint64_t realOffset = 1000000;  // ms value of the clock at realStart
    // stalled virtual clock
    SteadyClock::time_point lastMove = SteadyClock::now();
    std::chrono::milliseconds stallReport{10000};
    bool stallReported = false;
};

// Never destroyed, like the kernel's state; guarded by the kernel lock.
ClockState& C() {
    static ClockState* state = new ClockState;
    return *state;
}

}  // namespace

bool VirtualClockOn() { return C().virtualClock.load(std::memory_order_relaxed); }

uint64_t RealNow() {
    auto& c = C();
    auto elapsed = SteadyClock::now() - c.realStart;
    return c.realOffset + uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

SteadyClock::time_point RealTimeOf(uint64_t ms) {
    auto& c = C();
    if (ms <= c.realOffset) return c.realStart;
    return c.realStart + std::chrono::milliseconds(ms - c.realOffset);
}

void MoveVirtualLocked(uint64_t to) {
    auto& c = C();
    if (to <= c.virtualNow) return;
    c.virtualNow = to;
    c.lastMove = SteadyClock::now();
    c.stallReported = false;
}

void WakeDueLocked() {
    uint64_t now = NowLocked();
    for (Waiter* w : K().blocked)
        if (!w->woken && !w->realTime && w->deadline <= now) WakeLocked(w);
}

// On the virtual clock: when no known thread runs, jump to the earliest deadline.
void MaybeAdvanceLocked() {
    auto& c = C();
    auto& k = K();
    if (!c.virtualClock.load(std::memory_order_relaxed)) return;
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
    return std::clamp(C().stallReport / 4, std::chrono::milliseconds(10), std::chrono::milliseconds(1000));
}

// Names, on stderr, the threads the virtual clock waits for, once it has stood still for the
// report period while some thread waits for a deadline.
void CheckStallLocked() {
    auto& c = C();
    auto& k = K();
    if (c.stallReported || SteadyClock::now() - c.lastMove < c.stallReport) return;
    bool wanted = false;
    for (const Waiter* w : k.blocked) wanted |= w->counted && w->deadline != kNoDeadline;
    if (!wanted) return;
    c.stallReported = true;
    std::string report = "platform: the virtual clock has not moved for " +
                         std::to_string(c.stallReport.count() / 1000.0).substr(0, 4) +
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

int64_t ClockLeadMs() {
    std::lock_guard<std::mutex> g(K().lock);
    const auto steady = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch());
    return int64_t(NowLocked()) - int64_t(steady.count());
}

uint64_t NowLocked() {
    auto& c = C();
    return c.virtualClock.load(std::memory_order_relaxed) ? c.virtualNow : RealNow();
}

uint64_t DeadlineAfter(DWORD milliseconds) {
    if (milliseconds == INFINITE) return kNoDeadline;
    return NowLocked() + milliseconds;
}

}  // namespace platform::kernel

// ---- clock calls ----

using namespace platform::kernel;

namespace platform {

void UseVirtualClock(bool on) {
    std::lock_guard<std::mutex> g(K().lock);
    auto& k = K();
    auto& c = C();
    // The thread that sets the clock counts as a running platform thread from now on.
    ThreadRegistry::EnsureRegisteredLocked();
    if (on == c.virtualClock.load()) return;
    if (on) {
        c.virtualNow = RealNow();
        c.lastMove = SteadyClock::now();
    } else {
        c.realOffset = c.virtualNow;
        c.realStart = SteadyClock::now();
    }
    c.virtualClock.store(on);
    // Waiters re-evaluate their deadlines on the new clock.
    for (Waiter* w : k.blocked)
        if (!w->woken) WakeLocked(w);
}

bool IsVirtualClock() { return C().virtualClock.load(); }

void AdvanceClock(DWORD milliseconds) {
    std::lock_guard<std::mutex> g(K().lock);
    auto& c = C();
    if (c.virtualClock.load()) {
        MoveVirtualLocked(c.virtualNow + milliseconds);
    } else {
        c.realOffset += milliseconds;
    }
    WakeDueLocked();
}

void SetClockStallReport(DWORD realMilliseconds) {
    std::lock_guard<std::mutex> g(K().lock);
    C().stallReport = std::chrono::milliseconds(realMilliseconds);
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
    auto& c = C();
    if (c.virtualClock.load()) {
        // A busy poll of the tick count still sees time pass: a thread that reads the clock again
        // without having waited for it since moves it by 1 ms, when no other thread could move it
        // (every other platform thread waits). Reads between waits never move it, so test time
        // does not depend on how often threads look at the clock.
        ThreadInfo& me = ThreadRegistry::Current();
        int others = k.registeredThreads - (me.registered ? 1 : 0);
        if (me.readSinceBlocked && k.blockedThreads >= others) {
            MoveVirtualLocked(c.virtualNow + 1);
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
