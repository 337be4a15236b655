#include "platform/base/COleDateTime.h"

#include <gtest/gtest.h>

#include "platform/base/CTime.h"
#include "platform/base/clock.h"
#include "platform/base/localtime.h"
#include "tests/support/device_root.h"

namespace {

void ExpectDate(const COleDateTime& value, int year, int month, int day, int hour, int minute, int second) {
    EXPECT_EQ(value.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(value.GetYear(), year);
    EXPECT_EQ(value.GetMonth(), month);
    EXPECT_EQ(value.GetDay(), day);
    EXPECT_EQ(value.GetHour(), hour);
    EXPECT_EQ(value.GetMinute(), minute);
    EXPECT_EQ(value.GetSecond(), second);
}

TEST(COleDateTime, ArithmeticCarriesAcrossMonthAndYearEnds) {
    COleDateTime newYearsEve(2014, 12, 31, 23, 59, 30);
    ExpectDate(newYearsEve + COleDateTimeSpan(0, 0, 0, 45), 2015, 1, 1, 0, 0, 15);
    // The repeat-punch window: a time minus a span of minutes.
    ExpectDate(COleDateTime(2014, 3, 1, 0, 5, 0) - COleDateTimeSpan(0, 0, 10, 0), 2014, 2, 28, 23, 55, 0);
    ExpectDate(COleDateTime(2014, 1, 31, 12, 0, 0) + COleDateTimeSpan(1, 12, 0, 0), 2014, 2, 2, 0, 0, 0);
    COleDateTime later = newYearsEve;
    later += COleDateTimeSpan(365, 0, 0, 0);
    ExpectDate(later, 2015, 12, 31, 23, 59, 30);
    later -= COleDateTimeSpan(365, 0, 0, 0);
    EXPECT_EQ(later, newYearsEve);
}

TEST(COleDateTime, LeapDaysExistOnlyInLeapYears) {
    ExpectDate(COleDateTime(2016, 2, 28, 10, 0, 0) + COleDateTimeSpan(1.0), 2016, 2, 29, 10, 0, 0);
    ExpectDate(COleDateTime(2016, 2, 29, 10, 0, 0) + COleDateTimeSpan(1.0), 2016, 3, 1, 10, 0, 0);
    ExpectDate(COleDateTime(2100, 2, 28, 0, 0, 0) + COleDateTimeSpan(1.0), 2100, 3, 1, 0, 0, 0);
    ExpectDate(COleDateTime(2000, 2, 29, 0, 0, 0), 2000, 2, 29, 0, 0, 0);
    EXPECT_NEAR((COleDateTime(2017, 3, 1, 0, 0, 0) - COleDateTime(2016, 3, 1, 0, 0, 0)).GetTotalDays(), 365, 1e-9);
    EXPECT_NEAR((COleDateTime(2016, 3, 1, 0, 0, 0) - COleDateTime(2015, 3, 1, 0, 0, 0)).GetTotalDays(), 366, 1e-9);

    COleDateTime missing;
    EXPECT_EQ(missing.SetDate(2015, 2, 29), 1);
    EXPECT_EQ(missing.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(missing.GetYear(), -1);
    EXPECT_EQ(missing.GetDayOfWeek(), -1);
    EXPECT_EQ(COleDateTime(2015, 13, 1, 0, 0, 0).GetMonth(), -1);
    EXPECT_EQ(COleDateTime(2015, 1, 1, 0, 60, 0).GetStatus(), COleDateTime::invalid);
}

TEST(COleDateTime, DifferenceGivesWholeSecondsDespiteFloatingPoint) {
    COleDateTime base(2000, 1, 2, 0, 0, 0);
    COleDateTime record(2014, 3, 5, 14, 7, 9);
    EXPECT_EQ((record - base).GetTotalSeconds(), 447257229.0);
    EXPECT_EQ((base - record).GetTotalSeconds(), -447257229.0);
    COleDateTimeSpan span = COleDateTime(2014, 3, 6, 2, 3, 4) - COleDateTime(2014, 3, 5, 0, 0, 0);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ((-span).GetHours(), -2);
    EXPECT_LT(base, record);
    EXPECT_GT(span, COleDateTimeSpan(1.0));
}

TEST(COleDateTime, KnowsTheDayOfTheWeekAndYear) {
    EXPECT_EQ(COleDateTime(2014, 3, 5, 0, 0, 0).GetDayOfWeek(), 4) << "Wednesday";
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).GetDayOfWeek(), 7) << "Saturday";
    EXPECT_EQ(COleDateTime(2016, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
    SYSTEMTIME fields{};
    ASSERT_TRUE(COleDateTime(2016, 12, 31, 8, 9, 10).GetAsSystemTime(fields));
    EXPECT_EQ(fields.wDayOfWeek, 6);
    EXPECT_EQ(fields.wHour, 8);
}

TEST(COleDateTime, DaysBeforeTheOriginKeepAPositiveTimeOfDay) {
    COleDateTime morning(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(morning.m_dt, -1.25);
    COleDateTime evening = morning + COleDateTimeSpan(0.5);
    EXPECT_DOUBLE_EQ(evening.m_dt, -1.75);
    ExpectDate(evening, 1899, 12, 29, 18, 0, 0);
    ExpectDate(evening + COleDateTimeSpan(1.0), 1899, 12, 30, 18, 0, 0);
    EXPECT_LT(morning, evening);
    EXPECT_NEAR((COleDateTime(1899, 12, 30, 18, 0, 0) - morning).GetTotalHours(), 36, 1e-9);
}

TEST(COleDateTime, InvalidValuesSpreadAndTheRangeEndsAtYear9999) {
    COleDateTime last(9999, 12, 31, 23, 59, 59);
    EXPECT_EQ(last.GetStatus(), COleDateTime::valid);
    EXPECT_EQ((last + COleDateTimeSpan(0, 0, 0, 1)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(99, 1, 1, 0, 0, 0).GetStatus(), COleDateTime::invalid);
    COleDateTime bad(2015, 2, 30, 0, 0, 0);
    EXPECT_EQ((bad + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((bad - last).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTime(2015, 1, 1, 0, 0, 0).SetTime(23, 59, 59), 0);
}

TEST(COleDateTime, CurrentTimeFollowsTheDeviceClock) {
    ScopedDeviceRoot root;
    UseVirtualClock(true);
    SYSTEMTIME wanted{2014, 3, 0, 5, 14, 7, 9, 0};
    ASSERT_TRUE(SetLocalTime(&wanted));
    ExpectDate(COleDateTime::GetCurrentTime(), 2014, 3, 5, 14, 7, 9);
    Sleep(61 * 1000);
    ExpectDate(COleDateTime::GetCurrentTime(), 2014, 3, 5, 14, 8, 10);
    CTime now = CTime::GetCurrentTime();
    EXPECT_EQ(now.GetYear(), 2014);
    EXPECT_EQ(now.GetMinute(), 8);
    EXPECT_EQ(now.GetDayOfWeek(), 4);
    UseVirtualClock(false);
}

TEST(CTime, DatesBefore1900CountAsTimeZero) {
    SYSTEMTIME old{1899, 12, 0, 31, 0, 0, 0, 0};
    EXPECT_EQ(CTime(old).GetTime(), 0);
    CTime moment(2014, 3, 5, 14, 7, 9);
    EXPECT_EQ(moment.GetHour(), 14);
    EXPECT_EQ(moment.GetSecond(), 9);
    EXPECT_LT(CTime(old), moment);
}

}  // namespace
