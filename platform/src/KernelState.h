// The waits' bookkeeping under the kernel lock, shared by the waits (Kernel.cpp) and the platform
// clock (Clock.cpp): every thread blocked in a wait, and how many of the platform's threads are.
// Internal to the platform library.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "Kernel.h"

namespace platform::kernel {

struct Waiter {
    std::condition_variable cv;
    int wakeFd = -1;  // an eventfd a wait for another process polls with its watch
    DWORD tid = 0;
    uint64_t deadline = kNoDeadline;
    bool woken = false;
    bool counted = false;   // counted among the blocked threads
    bool realTime = false;  // waits for another process, in real time
};

struct KernelState {
    std::mutex lock;
    std::vector<Waiter*> blocked;  // every waiter inside Wait
    int registeredThreads = 0;
    int blockedThreads = 0;
};

// Never destroyed: platform threads may still run while static objects are torn down.
KernelState& K();

// Wakes a blocked waiter (kernel lock held).
void WakeLocked(Waiter* w);

}  // namespace platform::kernel
