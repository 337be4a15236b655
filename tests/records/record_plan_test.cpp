// Where the made-up records fall: as many as asked, in time order, inside
// the dates and working hours, the users in turn, and every day of the
// range used when there are records enough.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tools/records/record_plan.h"

namespace {

TEST(RecordPlan, RecordsFallInOrderInsideTheRangeAndWorkingHoursWithTheUsersInTurn) {
    const std::vector<std::string> users = {"1", "22", "333"};
    const std::vector<PlannedRecord> records = PlanRecords(users, 301, {2024, 2, 20}, {2024, 3, 10});
    ASSERT_EQ(records.size(), 301u);
    std::map<std::string, int> perUser;
    std::set<std::string> days;
    for (size_t i = 0; i < records.size(); ++i) {
        const PlannedRecord& r = records[i];
        ASSERT_EQ(r.checkTime.size(), 19u) << r.checkTime;
        if (i > 0) {
            EXPECT_LE(records[i - 1].checkTime, r.checkTime) << "records are written in time order";
        }
        EXPECT_GE(r.checkTime, "2024-02-20 07:00:00");
        EXPECT_LE(r.checkTime, "2024-03-10 18:59:59");
        const int hour = std::stoi(r.checkTime.substr(11, 2));
        EXPECT_GE(hour, 7) << r.checkTime;
        EXPECT_LE(hour, 18) << r.checkTime;
        EXPECT_EQ(r.checkType, hour < 12 ? 0 : 1) << r.checkTime;
        ++perUser[r.userId];
        days.insert(r.checkTime.substr(0, 10));
    }
    EXPECT_EQ(perUser, (std::map<std::string, int>{{"1", 101}, {"22", 100}, {"333", 100}}));
    // 2024 is a leap year: 20 February to 10 March is 20 days.
    EXPECT_EQ(days.size(), 20u);
    EXPECT_TRUE(days.count("2024-02-29"));
    EXPECT_EQ(PlanRecords(users, 301, {2024, 2, 20}, {2024, 3, 10})[150].checkTime, records[150].checkTime)
        << "the same request gives the same records";
}

TEST(RecordPlan, OneDayOrOneRecord) {
    const std::vector<PlannedRecord> day = PlanRecords({"7"}, 5, {2014, 9, 1}, {2014, 9, 1});
    ASSERT_EQ(day.size(), 5u);
    for (const PlannedRecord& r : day) EXPECT_EQ(r.checkTime.substr(0, 10), "2014-09-01");
    const std::vector<PlannedRecord> one = PlanRecords({"7"}, 1, {2014, 9, 1}, {2014, 12, 31});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].checkTime.substr(0, 10), "2014-09-01");
}

TEST(RecordPlan, OnlyRealCalendarDatesAreTaken) {
    const std::optional<CalendarDate> leap = ParseCalendarDate("2024-02-29");
    ASSERT_TRUE(leap);
    EXPECT_EQ(leap->year, 2024);
    EXPECT_EQ(leap->month, 2);
    EXPECT_EQ(leap->day, 29);
    for (const char* wrong : {"2023-02-29", "2024-13-01", "2024-04-31", "2024-1-01", "2024-01-01x", "1969-12-31",
                              "2100-01-01", "", "today", "2024-00-10"})
        EXPECT_FALSE(ParseCalendarDate(wrong)) << wrong;
}

}  // namespace
