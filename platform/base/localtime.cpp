#include "platform/base/localtime.h"

#include <ctime>
#include <mutex>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
// From 1601-01-01 to 1970-01-01 in 100-ns intervals.
constexpr int64_t kFileTimeUnixEpoch = 116444736000000000;
constexpr int64_t kFileTimePerMs = 10000;

int64_t FloorDiv(int64_t value, int64_t divisor) {
    int64_t quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

uint64_t TicksOf(const FILETIME& fileTime) {
    return (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

FILETIME FileTimeOfTicks(uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// ---- the stored offset ------------------------------------------------------

// The offset as set, to the millisecond; the registry keeps whole seconds,
// so the precise value is used while the stored one is still ours. Reading
// the registry each time follows a change of device root or a reload.
std::mutex g_offsetLock;
int64_t g_offsetMs = 0;

constexpr char16_t kClockKey[] = u"Platform\\Clock";
constexpr char16_t kOffsetValue[] = u"Offset";

bool ReadStoredOffset(int64_t& seconds) {
    HKEY key;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kClockKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, value = 0, size = sizeof value;
    LONG result = RegQueryValueEx(key, kOffsetValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return false;
    seconds = static_cast<int32_t>(value);
    return true;
}

void WriteStoredOffset(int64_t seconds) {
    HKEY key;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kClockKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                       &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD value = static_cast<DWORD>(static_cast<int32_t>(seconds));
    RegSetValueEx(key, kOffsetValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

int64_t OffsetMs() {
    std::lock_guard<std::mutex> lock(g_offsetLock);
    int64_t stored = 0;
    if (!ReadStoredOffset(stored)) stored = 0;
    if (FloorDiv(g_offsetMs + 500, 1000) != stored) g_offsetMs = stored * 1000;
    return g_offsetMs;
}

void SetOffsetMs(int64_t offsetMs) {
    std::lock_guard<std::mutex> lock(g_offsetLock);
    g_offsetMs = offsetMs;
    WriteStoredOffset(FloorDiv(offsetMs + 500, 1000));
}

// ---- fields -----------------------------------------------------------------

SYSTEMTIME FieldsOfUtcMs(int64_t unixMs) {
    int64_t days = FloorDiv(unixMs, kMsPerDay);
    int64_t msOfDay = unixMs - days * kMsPerDay;
    int year;
    unsigned month, day;
    CivilFromDays(days, year, month, day);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    // 1970-01-01 was a Thursday (4).
    time.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);
    time.wHour = static_cast<WORD>(msOfDay / 3600000);
    time.wMinute = static_cast<WORD>(msOfDay / 60000 % 60);
    time.wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
    time.wMilliseconds = static_cast<WORD>(msOfDay % 1000);
    return time;
}

int64_t UtcMsOfFields(const SYSTEMTIME& time) {
    int64_t days = DaysFromCivil(time.wYear, time.wMonth, time.wDay);
    return days * kMsPerDay + ((time.wHour * 60 + time.wMinute) * 60 + time.wSecond) * 1000LL + time.wMilliseconds;
}

int64_t LocalMsOfUtcMs(int64_t unixMs) {
    return unixMs + LocalOffsetSecondsAt(FloorDiv(unixMs, 1000)) * 1000;
}

// The UTC instant whose local reading is `localMs`; twice round the offset
// settles it across a daylight-saving change.
int64_t UtcMsOfLocalMs(int64_t localMs) {
    int64_t guess = localMs - LocalOffsetSecondsAt(FloorDiv(localMs, 1000)) * 1000;
    return localMs - LocalOffsetSecondsAt(FloorDiv(guess, 1000)) * 1000;
}

bool SetDeviceClockUtcMs(const SYSTEMTIME* time, bool local) {
    if (!time || !IsValidSystemTime(*time)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    int64_t target = UtcMsOfFields(*time);
    if (local) target = UtcMsOfLocalMs(target);
    SetOffsetMs(target - HostWallClockMs());
    return true;
}

}  // namespace

int64_t DaysFromCivil(int year, unsigned month, unsigned day) {
    // Counted in 400-year eras starting in March, so leap days fall last.
    int64_t y = static_cast<int64_t>(year) - (month <= 2);
    int64_t era = FloorDiv(y, 400);
    int64_t yearOfEra = y - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int& year, unsigned& month, unsigned& day) {
    days += 719468;
    int64_t era = FloorDiv(days, 146097);
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap);
}

bool IsValidSystemTime(const SYSTEMTIME& time) {
    return time.wYear >= 1601 && time.wYear <= 30827 && time.wDay >= 1 &&
           time.wDay <= DaysInMonth(time.wYear, time.wMonth) && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60 && time.wMilliseconds < 1000;
}

int64_t LocalOffsetSecondsAt(int64_t unixSeconds) {
    time_t instant = static_cast<time_t>(unixSeconds);
    struct tm fields {};
    if (!localtime_r(&instant, &fields)) return 0;
    return fields.tm_gmtoff;
}

int64_t DeviceClockUtcMs() {
    return HostWallClockMs() + OffsetMs();
}

void GetSystemTime(LPSYSTEMTIME time) {
    if (time) *time = FieldsOfUtcMs(DeviceClockUtcMs());
}

void GetLocalTime(LPSYSTEMTIME time) {
    if (time) *time = FieldsOfUtcMs(LocalMsOfUtcMs(DeviceClockUtcMs()));
}

BOOL SetLocalTime(const SYSTEMTIME* time) {
    return SetDeviceClockUtcMs(time, true) ? TRUE : FALSE;
}

BOOL SetSystemTime(const SYSTEMTIME* time) {
    return SetDeviceClockUtcMs(time, false) ? TRUE : FALSE;
}

// ---- file times -------------------------------------------------------------

int64_t FileTimeToUnixMs(const FILETIME& fileTime) {
    int64_t ticks = static_cast<int64_t>(TicksOf(fileTime));
    return FloorDiv(ticks - kFileTimeUnixEpoch, kFileTimePerMs);
}

FILETIME UnixMsToFileTime(int64_t unixMs) {
    return FileTimeOfTicks(static_cast<uint64_t>(unixMs * kFileTimePerMs + kFileTimeUnixEpoch));
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    if (!systemTime || !fileTime || !IsValidSystemTime(*systemTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *fileTime = UnixMsToFileTime(UtcMsOfFields(*systemTime));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    if (!fileTime || !systemTime || (fileTime->dwHighDateTime & 0x80000000u)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *systemTime = FieldsOfUtcMs(FileTimeToUnixMs(*fileTime));
    return TRUE;
}

namespace {

// Shifts by the time-zone offset in force at the instant, keeping the
// 100-ns precision of the file time.
BOOL ShiftFileTime(const FILETIME* from, LPFILETIME to, bool toLocal) {
    if (!from || !to) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t unixMs = FileTimeToUnixMs(*from);
    int64_t shiftMs = toLocal ? LocalMsOfUtcMs(unixMs) - unixMs : UtcMsOfLocalMs(unixMs) - unixMs;
    *to = FileTimeOfTicks(TicksOf(*from) + static_cast<uint64_t>(shiftMs * kFileTimePerMs));
    return TRUE;
}

}  // namespace

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
    return ShiftFileTime(fileTime, localFileTime, true);
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
    return ShiftFileTime(localFileTime, fileTime, false);
}

void GetSystemTimeAsFileTime(LPFILETIME fileTime) {
    if (fileTime) *fileTime = UnixMsToFileTime(DeviceClockUtcMs());
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second) {
    uint64_t a = TicksOf(*first);
    uint64_t b = TicksOf(*second);
    return a < b ? -1 : (a > b ? 1 : 0);
}
