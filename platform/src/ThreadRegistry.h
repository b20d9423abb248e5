// Which threads the platform knows, for the virtual clock and for mutex abandonment.
#pragma once

#include "Kernel.h"

namespace platform::kernel {

class ThreadRegistry {
public:
    // Counts the calling thread as a platform thread from now until it ends (kernel lock held).
    static void EnsureRegisteredLocked();
    // Marks the calling thread as already counted (a thread the platform created).
    static void AdoptCurrentThread(DWORD tid);
    // Ends the calling thread's registration (kernel lock held).
    static void EndCurrentThreadLocked();
    // Changes the number of counted threads (kernel lock held).
    static void CountThreadLocked(int delta);
};

// Releases, as abandoned, every mutex that thread `tid` still owns (kernel lock held).
void AbandonMutexesOfLocked(DWORD tid);

// Allocates a new platform thread id.
DWORD NewThreadId();

}  // namespace platform::kernel
