// The platform clock's internals the waits use (all with the kernel lock held, but
// VirtualClockOn). Internal to the platform library.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform::kernel {

using SteadyClock = std::chrono::steady_clock;

// How far the platform clock is ahead of the machine's steady clock: what virtual time and
// AdvanceClock moved it by. The calendar moves with it.
int64_t ClockLeadMs();
// True while the virtual clock runs.
bool VirtualClockOn();
// The real clock in the platform clock's ms, and the real time of such a value.
uint64_t RealNow();
SteadyClock::time_point RealTimeOf(uint64_t ms);
// Moves the virtual clock forward to `to` (never back).
void MoveVirtualLocked(uint64_t to);
// Wakes the waiters on the platform clock whose deadline passed.
void WakeDueLocked();
// On the virtual clock: when no known thread runs, jumps to the earliest deadline.
void MaybeAdvanceLocked();
// How long a waiter on the virtual clock sleeps before it looks whether the clock stalled.
std::chrono::milliseconds StallCheckPeriod();
// Names, on stderr, the threads the virtual clock waits for, once it has stood still for the
// report period while some thread waits for a deadline.
void CheckStallLocked();

}  // namespace platform::kernel
