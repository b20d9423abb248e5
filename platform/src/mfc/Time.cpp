// CTime: calendar conversions and formatting.
#include "mfc/Time.h"

#include <cstring>
#include <string>

namespace {

CString FormatTm(const struct tm& tm, LPCSTR format) {
    if (!format || !*format) return CString();
    std::string out(64 + 4 * strlen(format), '\0');
    for (;;) {
        size_t n = strftime(out.data(), out.size(), format, &tm);
        if (n > 0 || out.size() > 4096) return CString(out.c_str(), static_cast<int>(n));
        out.resize(out.size() * 2);
    }
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    struct tm tm = {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = dst;
    m_time = mktime(&tm);
}

CTime::CTime(const SYSTEMTIME& time, int dst)
    : CTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, dst) {}

CTime CTime::GetCurrentTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return CTime(now);
}

struct tm CTime::Local() const {
    struct tm tm = {};
    localtime_r(&m_time, &tm);
    return tm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& time) const {
    struct tm tm = Local();
    time.wYear = static_cast<WORD>(tm.tm_year + 1900);
    time.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    time.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    time.wDay = static_cast<WORD>(tm.tm_mday);
    time.wHour = static_cast<WORD>(tm.tm_hour);
    time.wMinute = static_cast<WORD>(tm.tm_min);
    time.wSecond = static_cast<WORD>(tm.tm_sec);
    time.wMilliseconds = 0;
    return TRUE;
}

CString CTime::Format(LPCSTR format) const { return FormatTm(Local(), format); }

CString CTime::FormatGmt(LPCSTR format) const {
    struct tm tm = {};
    gmtime_r(&m_time, &tm);
    return FormatTm(tm, format);
}
