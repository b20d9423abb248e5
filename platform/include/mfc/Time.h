// CTime and CTimeSpan: local calendar time in seconds, read from the platform clock.
#pragma once

#include <ctime>

#include "mfc/String.h"

class PLATFORM_API CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(time_t seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((static_cast<time_t>(days) * 24 + hours) * 60 + minutes) * 60 + seconds) {}

    LONG GetDays() const { return static_cast<LONG>(m_span / 86400); }
    LONG GetTotalHours() const { return static_cast<LONG>(m_span / 3600); }
    int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
    LONG GetTotalMinutes() const { return static_cast<LONG>(m_span / 60); }
    int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
    time_t GetTotalSeconds() const { return m_span; }
    int GetSeconds() const { return static_cast<int>(GetTotalSeconds() - GetTotalMinutes() * 60); }

    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_span + other.m_span); }
    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_span - other.m_span); }
    auto operator<=>(const CTimeSpan&) const = default;

private:
    time_t m_span = 0;
};

class PLATFORM_API CTime {
public:
    CTime() = default;
    CTime(time_t time) : m_time(time) {}
    // Local time; dst < 0 lets the time zone rules decide.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    CTime(const SYSTEMTIME& time, int dst = -1);

    // The local time now on the platform clock.
    static CTime GetCurrentTime();

    time_t GetTime() const { return m_time; }
    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    int GetDayOfWeek() const { return Local().tm_wday + 1; }  // 1 = Sunday
    BOOL GetAsSystemTime(SYSTEMTIME& time) const;

    // strftime conversions ("%Y-%m-%d %H:%M:%S"); the rest of the text is kept as it is.
    CString Format(LPCSTR format) const;
    CString FormatGmt(LPCSTR format) const;

    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTotalSeconds()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTotalSeconds()); }
    auto operator<=>(const CTime&) const = default;

private:
    struct tm Local() const;

    time_t m_time = 0;
};
