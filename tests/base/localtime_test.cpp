#include "platform/base/localtime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "tests/support/device_root.h"

namespace {

SYSTEMTIME MakeTime(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(ms);
    return time;
}

void ExpectFields(const SYSTEMTIME& time, int year, int month, int day, int hour, int minute, int second, int ms) {
    EXPECT_EQ(time.wYear, year);
    EXPECT_EQ(time.wMonth, month);
    EXPECT_EQ(time.wDay, day);
    EXPECT_EQ(time.wHour, hour);
    EXPECT_EQ(time.wMinute, minute);
    EXPECT_EQ(time.wSecond, second);
    EXPECT_EQ(time.wMilliseconds, ms);
}

// A fresh device root, virtual time, and a fixed zone of UTC+8 that needs no
// zone database.
class DeviceClock : public ::testing::Test {
protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        m_savedZone = zone ? zone : "";
        m_hadZone = zone != nullptr;
        setenv("TZ", "CST-8", 1);
        tzset();
        UseVirtualClock(true);
    }
    void TearDown() override {
        UseVirtualClock(false);
        if (m_hadZone) {
            setenv("TZ", m_savedZone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    ScopedDeviceRoot m_root;

private:
    std::string m_savedZone;
    bool m_hadZone = false;
};

TEST_F(DeviceClock, SetLocalTimeMovesTheDeviceClockOnly) {
    // The host's milliseconds match the wanted ones, so that the offset is
    // whole seconds and the registry keeps it exactly.
    SetVirtualWallClockMs(1700000000250);
    int64_t hostBefore = HostWallClockMs();
    SYSTEMTIME wanted = MakeTime(2014, 3, 5, 14, 7, 9, 250);
    ASSERT_TRUE(SetLocalTime(&wanted));
    SYSTEMTIME now;
    GetLocalTime(&now);
    ExpectFields(now, 2014, 3, 5, 14, 7, 9, 250);
    EXPECT_EQ(now.wDayOfWeek, 3) << "a Wednesday";
    GetSystemTime(&now);
    ExpectFields(now, 2014, 3, 5, 6, 7, 9, 250);
    EXPECT_EQ(HostWallClockMs(), hostBefore) << "the host clock is not touched";

    Sleep(1500);
    GetLocalTime(&now);
    ExpectFields(now, 2014, 3, 5, 14, 7, 10, 750);

    EXPECT_NE(m_root.ReadFile("registry.reg").find("\"Offset\"=dword:"), std::string::npos);
    {
        ScopedDeviceRoot other;
        GetLocalTime(&now);
        EXPECT_NE(now.wYear, 2014) << "another device keeps its own clock";
    }
    // Back on the first device, its registry read again from the file.
    GetLocalTime(&now);
    ExpectFields(now, 2014, 3, 5, 14, 7, 10, 750);
}

TEST_F(DeviceClock, SetSystemTimeIsUtcAndTheLocalDateFollowsTheZone) {
    SYSTEMTIME wanted = MakeTime(2016, 2, 28, 20, 30, 0);
    ASSERT_TRUE(SetSystemTime(&wanted));
    SYSTEMTIME now;
    GetLocalTime(&now);
    ExpectFields(now, 2016, 2, 29, 4, 30, 0, 0);
    EXPECT_EQ(now.wDayOfWeek, 1) << "a Monday";
}

TEST_F(DeviceClock, RefusesDatesThatDoNotExist) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    SYSTEMTIME bad = MakeTime(2015, 2, 29, 0, 0, 0);
    EXPECT_FALSE(SetLocalTime(&bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    bad = MakeTime(2015, 1, 1, 24, 0, 0);
    EXPECT_FALSE(SetSystemTime(&bad));
    SYSTEMTIME after;
    GetLocalTime(&after);
    EXPECT_EQ(after.wYear, before.wYear);
    EXPECT_EQ(after.wMinute, before.wMinute);
}

TEST(FileTime, ConvertsToAndFromSystemTime) {
    SYSTEMTIME epoch = MakeTime(1970, 1, 1, 0, 0, 0);
    FILETIME fileTime;
    ASSERT_TRUE(SystemTimeToFileTime(&epoch, &fileTime));
    uint64_t ticks = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    EXPECT_EQ(ticks, 116444736000000000ull);

    SYSTEMTIME leap = MakeTime(2000, 2, 29, 23, 59, 59, 999);
    ASSERT_TRUE(SystemTimeToFileTime(&leap, &fileTime));
    SYSTEMTIME back;
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &back));
    ExpectFields(back, 2000, 2, 29, 23, 59, 59, 999);
    EXPECT_EQ(back.wDayOfWeek, 2) << "a Tuesday";

    FILETIME later;
    SYSTEMTIME next = MakeTime(2000, 3, 1, 0, 0, 0);
    SystemTimeToFileTime(&next, &later);
    EXPECT_EQ(CompareFileTime(&fileTime, &later), -1);
    EXPECT_EQ(CompareFileTime(&later, &fileTime), 1);
    EXPECT_EQ(CompareFileTime(&later, &later), 0);
}

TEST(FileTime, LocalFileTimeShiftsByTheZoneKeepingFullPrecision) {
    setenv("TZ", "CST-8", 1);
    tzset();
    FILETIME utc{0x12345677u, 0x01D00000u}, local, back;
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    uint64_t utcTicks = (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    uint64_t localTicks = (static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    EXPECT_EQ(localTicks - utcTicks, 8ull * 3600 * 10000000);
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(CompareFileTime(&back, &utc), 0);
    unsetenv("TZ");
    tzset();
}

TEST(Calendar, DayCountsRoundTripAcrossCenturyLeapRules) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1) << "1900 is no leap year";
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2) << "2000 is one";
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    for (int64_t days = DaysFromCivil(1599, 1, 1); days < DaysFromCivil(2401, 1, 1); days += 13) {
        int year;
        unsigned month, day;
        CivilFromDays(days, year, month, day);
        ASSERT_EQ(DaysFromCivil(year, month, day), days);
        ASSERT_LE(static_cast<int>(day), DaysInMonth(year, static_cast<int>(month)));
    }
}

}  // namespace
