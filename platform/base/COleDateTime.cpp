#include "platform/base/COleDateTime.h"

#include <cmath>

#include "platform/base/localtime.h"

namespace {

constexpr int kSecondsPerDay = 86400;
// Days from 1970-01-01 to 1899-12-30, the origin of the day count.
const int64_t kOriginDays = DaysFromCivil(1899, 12, 30);
// The valid range: 0100-01-01 00:00:00 to 9999-12-31 23:59:59.
const double kMinDays = static_cast<double>(DaysFromCivil(100, 1, 1) - kOriginDays);
const double kMaxDays = static_cast<double>(DaysFromCivil(10000, 1, 1) - kOriginDays) - 1.0 / kSecondsPerDay;

long long RoundHalfAwayFromZero(double value) {
    return static_cast<long long>(std::llround(value));
}

long long FloorDiv(long long value, long long divisor) {
    long long quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

}  // namespace

// ---- COleDateTimeSpan -------------------------------------------------------

COleDateTimeSpan::COleDateTimeSpan(LONG days, int hours, int minutes, int seconds) {
    SetDateTimeSpan(days, hours, minutes, seconds);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG days, int hours, int minutes, int seconds) {
    m_span = days + (hours + (minutes + seconds / 60.0) / 60.0) / 24.0;
    m_status = valid;
}

long long COleDateTimeSpan::TotalSeconds() const {
    return RoundHalfAwayFromZero(m_span * kSecondsPerDay);
}

double COleDateTimeSpan::GetTotalSeconds() const {
    return static_cast<double>(TotalSeconds());
}

LONG COleDateTimeSpan::GetDays() const {
    return static_cast<LONG>(TotalSeconds() / kSecondsPerDay);
}

int COleDateTimeSpan::GetHours() const {
    return static_cast<int>(TotalSeconds() % kSecondsPerDay / 3600);
}

int COleDateTimeSpan::GetMinutes() const {
    return static_cast<int>(TotalSeconds() % 3600 / 60);
}

int COleDateTimeSpan::GetSeconds() const {
    return static_cast<int>(TotalSeconds() % 60);
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const {
    COleDateTimeSpan sum(m_span + other.m_span);
    if (m_status != valid || other.m_status != valid) sum.m_status = invalid;
    return sum;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const {
    return *this + -other;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const {
    COleDateTimeSpan negated(-m_span);
    negated.m_status = m_status;
    return negated;
}

// ---- COleDateTime -----------------------------------------------------------

COleDateTime COleDateTime::GetCurrentTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return COleDateTime(now);
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime::COleDateTime(const SYSTEMTIME& time) {
    SetDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

COleDateTime::COleDateTime(const FILETIME& time) {
    FILETIME local;
    SYSTEMTIME fields;
    if (FileTimeToLocalFileTime(&time, &local) && FileTimeToSystemTime(&local, &fields)) {
        *this = COleDateTime(fields);
    } else {
        m_status = invalid;
    }
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    bool ok = year >= 100 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month) && hour >= 0 &&
              hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
    if (!ok) {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    double days = static_cast<double>(DaysFromCivil(year, month, day) - kOriginDays);
    *this = FromContinuous(days + ((hour * 60 + minute) * 60 + second) / static_cast<double>(kSecondsPerDay));
    return 0;
}

int COleDateTime::SetDate(int year, int month, int day) {
    return SetDateTime(year, month, day, 0, 0, 0);
}

int COleDateTime::SetTime(int hour, int minute, int second) {
    return SetDateTime(1899, 12, 30, hour, minute, second);
}

double COleDateTime::Continuous() const {
    if (m_dt >= 0) return m_dt;
    double whole = std::trunc(m_dt);
    return whole + (whole - m_dt);
}

COleDateTime COleDateTime::FromContinuous(double days) {
    COleDateTime value;
    if (!(days >= kMinDays - 0.5 / kSecondsPerDay && days <= kMaxDays + 0.5 / kSecondsPerDay)) {
        value.m_status = invalid;
        return value;
    }
    if (days >= 0) {
        value.m_dt = days;
    } else {
        double whole = std::floor(days);
        value.m_dt = whole - (days - whole);
    }
    return value;
}

bool COleDateTime::GetFields(Fields& fields) const {
    if (m_status != valid) return false;
    long long seconds = RoundHalfAwayFromZero(Continuous() * kSecondsPerDay);
    long long days = FloorDiv(seconds, kSecondsPerDay);
    long long secondOfDay = seconds - days * kSecondsPerDay;
    int64_t unixDays = days + kOriginDays;
    unsigned month, day;
    CivilFromDays(unixDays, fields.year, month, day);
    fields.month = static_cast<int>(month);
    fields.day = static_cast<int>(day);
    fields.hour = static_cast<int>(secondOfDay / 3600);
    fields.minute = static_cast<int>(secondOfDay / 60 % 60);
    fields.second = static_cast<int>(secondOfDay % 60);
    // 1970-01-01 was a Thursday, day 5 counting Sunday as 1.
    fields.dayOfWeek = static_cast<int>(((unixDays % 7) + 11) % 7) + 1;
    fields.dayOfYear = static_cast<int>(unixDays - DaysFromCivil(fields.year, 1, 1)) + 1;
    return true;
}

template <class Member>
int COleDateTime::Field(Member member) const {
    Fields fields;
    return GetFields(fields) ? fields.*member : -1;
}

int COleDateTime::GetYear() const {
    return Field(&Fields::year);
}

int COleDateTime::GetMonth() const {
    return Field(&Fields::month);
}

int COleDateTime::GetDay() const {
    return Field(&Fields::day);
}

int COleDateTime::GetHour() const {
    return Field(&Fields::hour);
}

int COleDateTime::GetMinute() const {
    return Field(&Fields::minute);
}

int COleDateTime::GetSecond() const {
    return Field(&Fields::second);
}

int COleDateTime::GetDayOfWeek() const {
    return Field(&Fields::dayOfWeek);
}

int COleDateTime::GetDayOfYear() const {
    return Field(&Fields::dayOfYear);
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& time) const {
    Fields fields;
    if (!GetFields(fields)) return false;
    time.wYear = static_cast<WORD>(fields.year);
    time.wMonth = static_cast<WORD>(fields.month);
    time.wDayOfWeek = static_cast<WORD>(fields.dayOfWeek - 1);
    time.wDay = static_cast<WORD>(fields.day);
    time.wHour = static_cast<WORD>(fields.hour);
    time.wMinute = static_cast<WORD>(fields.minute);
    time.wSecond = static_cast<WORD>(fields.second);
    time.wMilliseconds = 0;
    return true;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const {
    if (m_status != valid || span.m_status != COleDateTimeSpan::valid) {
        COleDateTime result;
        result.m_status = invalid;
        return result;
    }
    return FromContinuous(Continuous() + span.m_span);
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const {
    return *this + -span;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const {
    COleDateTimeSpan span(Continuous() - other.Continuous());
    if (m_status != valid || other.m_status != valid) span.m_status = COleDateTimeSpan::invalid;
    return span;
}

bool COleDateTime::operator==(const COleDateTime& other) const {
    return m_status == other.m_status && Continuous() == other.Continuous();
}
