// The device's date and time.
//
// The device clock is the host's wall clock plus an offset that SetLocalTime
// and SetSystemTime change; the host's clock itself is never touched. The
// offset survives restarts in the registry: HKEY_LOCAL_MACHINE\Platform\Clock,
// value "Offset" (REG_DWORD, whole seconds, two's complement for a clock set
// back), read again at every reading so that a reloaded registry or another
// device root takes effect at once. In virtual time the device clock moves with the virtual clock.
// The device's time zone is the host's (TZ).
#pragma once

#include "platform/base/types.h"

void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);
// FALSE (ERROR_INVALID_PARAMETER) for a date or time that does not exist.
BOOL SetLocalTime(const SYSTEMTIME* time);
BOOL SetSystemTime(const SYSTEMTIME* time);

// The device clock in milliseconds since 1970-01-01 UTC.
int64_t DeviceClockUtcMs();

// FILETIME: 100-ns intervals since 1601-01-01.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
void GetSystemTimeAsFileTime(LPFILETIME fileTime);
// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* first, const FILETIME* second);

// Conversions for the date classes and the file layer.
int64_t FileTimeToUnixMs(const FILETIME& fileTime);
FILETIME UnixMsToFileTime(int64_t unixMs);
// Days from 1970-01-01 to the given civil date (proleptic Gregorian), and back.
int64_t DaysFromCivil(int year, unsigned month, unsigned day);
void CivilFromDays(int64_t days, int& year, unsigned& month, unsigned& day);
int DaysInMonth(int year, int month);
// Whether the fields name an existing date and time (milliseconds included).
bool IsValidSystemTime(const SYSTEMTIME& time);
// Host time-zone offset from UTC, in seconds, at the given UTC instant.
int64_t LocalOffsetSecondsAt(int64_t unixSeconds);
