// A recursive lock over the platform's critical section, for std::lock_guard: a thread that
// waits for it counts as waiting on the platform clock, so a hook that runs under it may wait
// on platform objects while other threads queue for the lock.
#pragma once

#include "platform/winbase.h"

namespace platform::dshow {

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void lock() { EnterCriticalSection(&m_section); }
    void unlock() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

}  // namespace platform::dshow
