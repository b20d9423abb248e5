// Wall-clock time on the platform clock: the real date at start, moved on as the clock moves.
#include <sys/time.h>

#include <ctime>

#include "platform/runtime.h"

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

void Fill(LPSYSTEMTIME out, bool local) {
    if (!out) return;
    const WallStart& s = Start();
    int64_t ms = s.wallMs + int64_t(platform::ClockNow() - s.clockMs);
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
