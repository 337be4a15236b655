// Seconds-resolution times in the manner of the class library: seconds since
// 1970-01-01 UTC, read as device-local fields. A date before 1900 counts as
// time 0.
#pragma once

#include <compare>
#include <ctime>

#include "platform/base/types.h"

class CTime {
public:
    // The device clock now.
    static CTime GetCurrentTime();

    CTime() = default;
    explicit CTime(time_t time) : m_time(time) {}
    CTime(int year, int month, int day, int hour, int minute, int second);
    // Local fields.
    CTime(const SYSTEMTIME& time);

    time_t GetTime() const { return m_time; }
    int GetYear() const { return LocalFields().wYear; }
    int GetMonth() const { return LocalFields().wMonth; }
    int GetDay() const { return LocalFields().wDay; }
    int GetHour() const { return LocalFields().wHour; }
    int GetMinute() const { return LocalFields().wMinute; }
    int GetSecond() const { return LocalFields().wSecond; }
    // 1 = Sunday ... 7 = Saturday.
    int GetDayOfWeek() const { return LocalFields().wDayOfWeek + 1; }

    bool operator==(const CTime& other) const = default;
    auto operator<=>(const CTime& other) const = default;

private:
    SYSTEMTIME LocalFields() const;
    time_t m_time = 0;
};
