// Wall-clock time on the platform clock: the real date at start, moved on as the clock moves;
// SetLocalTime moves the wall clock of this process only.
#include <sys/time.h>

#include <atomic>
#include <ctime>

#include "platform/runtime.h"
#include "platform/winerror.h"

namespace {

struct WallStart {
    int64_t wallMs;
    ULONGLONG clockMs;
};

const WallStart& Start() {
    static const WallStart start = [] {
        timeval tv;
        gettimeofday(&tv, nullptr);
        return WallStart{int64_t(tv.tv_sec) * 1000 + tv.tv_usec / 1000, platform::ClockNow()};
    }();
    return start;
}

// What SetLocalTime moved the wall clock by.
std::atomic<int64_t> g_shiftMs{0};

int64_t WallNowMs() {
    const WallStart& s = Start();
    return s.wallMs + g_shiftMs.load() + int64_t(platform::ClockNow() - s.clockMs);
}

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
    g_shiftMs += target - WallNowMs();
    return TRUE;
}
