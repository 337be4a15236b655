// Date-time values in the manner of the class library: a day count from
// 1899-12-30 00:00 as a double (the time of day in the fraction) with a
// validity status, and spans of days between them.
//
// Fields are read to the nearest second. Dates from year 100 to 9999 are
// valid; setting fields that name no date, or arithmetic leaving that range,
// makes the value invalid, and every field read from an invalid value is -1.
// Before 1899-12-30 the stored double keeps the time of day as a positive
// fraction (-1.25 is 1899-12-29 06:00), as the format has it; arithmetic and
// comparisons work on the continuous count underneath.
#pragma once

#include <compare>

#include "platform/base/types.h"

typedef double DATE;

class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double days) : m_span(days) {}
    COleDateTimeSpan(LONG days, int hours, int minutes, int seconds);
    void SetDateTimeSpan(LONG days, int hours, int minutes, int seconds);

    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24; }
    double GetTotalMinutes() const { return m_span * 24 * 60; }
    // Rounded to the whole second, half away from zero.
    double GetTotalSeconds() const;
    // The parts of the span (each carrying its sign): days, then the hours,
    // minutes and seconds of the rest.
    LONG GetDays() const;
    int GetHours() const;
    int GetMinutes() const;
    int GetSeconds() const;
    operator double() const { return m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }
    bool operator==(const COleDateTimeSpan& other) const { return m_span == other.m_span; }
    auto operator<=>(const COleDateTimeSpan& other) const { return m_span <=> other.m_span; }

    double m_span = 0;
    DateTimeSpanStatus m_status = valid;

private:
    long long TotalSeconds() const;
};

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    // The device's local date and time now.
    static COleDateTime GetCurrentTime();

    COleDateTime() = default;
    COleDateTime(DATE value) : m_dt(value) {}
    COleDateTime(int year, int month, int day, int hour, int minute, int second);
    // Local fields (milliseconds ignored).
    COleDateTime(const SYSTEMTIME& time);
    // A file time (UTC) shown in local time.
    COleDateTime(const FILETIME& time);

    // 0 when the fields name a valid date and time, else 1 (invalid).
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day);
    int SetTime(int hour, int minute, int second);
    bool GetAsSystemTime(SYSTEMTIME& time) const;

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday ... 7 = Saturday.
    int GetDayOfWeek() const;
    // 1 = 1 January.
    int GetDayOfYear() const;
    operator DATE() const { return m_dt; }

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTime& other) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    bool operator==(const COleDateTime& other) const;
    auto operator<=>(const COleDateTime& other) const { return Continuous() <=> other.Continuous(); }

    DATE m_dt = 0;
    DateTimeStatus m_status = valid;

private:
    struct Fields {
        int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
    };
    // False for an invalid value.
    bool GetFields(Fields& fields) const;
    template <class Member>
    int Field(Member member) const;
    double Continuous() const;
    static COleDateTime FromContinuous(double days);
};
