// Which threads the platform knows, for the virtual clock, for mutex abandonment and for the
// report that names the threads a stalled clock waits for.
#pragma once

#include <atomic>
#include <string>

#include "Kernel.h"

namespace platform::kernel {

// What the platform keeps about one thread (the calling thread's own record lives in its
// thread-local storage; the registry lists the counted ones).
struct ThreadInfo {
    DWORD tid = 0;
    bool registered = false;       // counted among the platform's threads
    bool created = false;          // started by CreateThread
    bool mainThread = false;       // the process's first thread
    bool readSinceBlocked = false;  // read the clock since it last blocked in a wait
    const void* startRoutine = nullptr;
    std::atomic<const char*> lastCall{nullptr};
};

class ThreadRegistry {
public:
    // Counts the calling thread as a platform thread from now until it ends (kernel lock held).
    // A thread the platform did not create is traced as such, naming `call`.
    static void EnsureRegisteredLocked(const char* call = nullptr);
    // Marks the calling thread as already counted (a thread the platform created).
    static void AdoptCurrentThread(DWORD tid, const void* startRoutine);
    // Ends the calling thread's registration (kernel lock held).
    static void EndCurrentThreadLocked();
    // Changes the number of counted threads (kernel lock held).
    static void CountThreadLocked(int delta);
    // The calling thread's record.
    static ThreadInfo& Current();
    // Calls `visit` for every counted thread (kernel lock held).
    template <class F>
    static void ForEachLocked(F visit);
    // "name or start routine" of a thread, for reports.
    static std::string Describe(const ThreadInfo& info);
};

// Notes the platform call the calling thread makes, for the stalled-clock report.
inline void NoteCall(const char* call) { ThreadRegistry::Current().lastCall.store(call, std::memory_order_relaxed); }

// The counted threads (kernel lock held).
std::vector<ThreadInfo*>& CountedThreadsLocked();

template <class F>
void ThreadRegistry::ForEachLocked(F visit) {
    for (ThreadInfo* info : CountedThreadsLocked()) visit(*info);
}

// Releases, as abandoned, every mutex that thread `tid` still owns (kernel lock held).
void AbandonMutexesOfLocked(DWORD tid);

// Allocates a new platform thread id.
DWORD NewThreadId();

}  // namespace platform::kernel
