// Calendar time: the machine's system clock as it reads at each call, so a clock set while the
// program runs (by the operator, by a time service) is answered at once, and moved on by what the
// platform clock ran ahead of real time (virtual time, AdvanceClock). Intervals never read it:
// they keep the platform clock, which never jumps. SetLocalTime, and a test's StepSystemClock,
// set the system clock of this process only.
#include <atomic>
#include <ctime>

#include "Clock.h"
#include "platform/runtime.h"
#include "platform/winerror.h"

namespace {

// What SetLocalTime and StepSystemClock set the system clock by.
std::atomic<int64_t> g_stepMs{0};

// The machine's system clock, in ms since 1970.
int64_t SystemClockMs() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000 + g_stepMs.load();
}

int64_t WallNowMs() { return SystemClockMs() + platform::kernel::ClockLeadMs(); }

void Fill(LPSYSTEMTIME out, bool local) {
    if (!out) return;
    int64_t ms = WallNowMs();
    time_t secs = time_t(ms / 1000);
    tm t{};
    if (local) localtime_r(&secs, &t);
    else gmtime_r(&secs, &t);
    out->wYear = WORD(t.tm_year + 1900);
    out->wMonth = WORD(t.tm_mon + 1);
    out->wDayOfWeek = WORD(t.tm_wday);
    out->wDay = WORD(t.tm_mday);
    out->wHour = WORD(t.tm_hour);
    out->wMinute = WORD(t.tm_min);
    out->wSecond = WORD(t.tm_sec);
    out->wMilliseconds = WORD(ms % 1000);
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME time) { Fill(time, true); }
void GetSystemTime(LPSYSTEMTIME time) { Fill(time, false); }

BOOL SetLocalTime(const SYSTEMTIME* time) {
    if (!time || time->wMonth < 1 || time->wMonth > 12 || time->wDay < 1 || time->wDay > 31 || time->wHour > 23 ||
        time->wMinute > 59 || time->wSecond > 59 || time->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    tm t{};
    t.tm_year = time->wYear - 1900;
    t.tm_mon = time->wMonth - 1;
    t.tm_mday = time->wDay;
    t.tm_hour = time->wHour;
    t.tm_min = time->wMinute;
    t.tm_sec = time->wSecond;
    t.tm_isdst = -1;
    time_t secs = mktime(&t);
    if (secs == time_t(-1)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t target = int64_t(secs) * 1000 + time->wMilliseconds;
    g_stepMs += target - WallNowMs();
    return TRUE;
}

namespace platform {

void StepSystemClock(LONGLONG milliseconds) { g_stepMs += milliseconds; }

}  // namespace platform
