#include "platform/base/CTime.h"

#include "platform/base/localtime.h"

CTime CTime::GetCurrentTime() {
    int64_t unixMs = DeviceClockUtcMs();
    return CTime(static_cast<time_t>(unixMs >= 0 ? unixMs / 1000 : (unixMs - 999) / 1000));
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME fields{};
    fields.wYear = static_cast<WORD>(year);
    fields.wMonth = static_cast<WORD>(month);
    fields.wDay = static_cast<WORD>(day);
    fields.wHour = static_cast<WORD>(hour);
    fields.wMinute = static_cast<WORD>(minute);
    fields.wSecond = static_cast<WORD>(second);
    *this = CTime(fields);
}

CTime::CTime(const SYSTEMTIME& time) {
    FILETIME local, utc;
    if (time.wYear < 1900 || !SystemTimeToFileTime(&time, &local) || !LocalFileTimeToFileTime(&local, &utc)) return;
    m_time = static_cast<time_t>(FileTimeToUnixMs(utc) / 1000);
}

SYSTEMTIME CTime::LocalFields() const {
    FILETIME local, utc = UnixMsToFileTime(static_cast<int64_t>(m_time) * 1000);
    SYSTEMTIME fields{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &fields);
    return fields;
}
