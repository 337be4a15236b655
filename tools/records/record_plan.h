// Where and when a batch of made-up attendance records falls: spread evenly
// over the days of a date range, each in working hours (07:00 to 18:59),
// the users taken in turn, in time order as a terminal writes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct PlannedRecord {
    std::string userId;
    std::string checkTime;  // "YYYY-MM-DD HH:MM:SS"
    int checkType = 0;      // 0 in (before noon), 1 out
};

// "YYYY-MM-DD" as a real calendar date (1970 to 2099), else nothing.
std::optional<CalendarDate> ParseCalendarDate(const std::string& text);

// `count` records of `users` (not empty) from `from` to `to` inclusive
// (from not after to); the same input gives the same records.
std::vector<PlannedRecord> PlanRecords(const std::vector<std::string>& users, int count, CalendarDate from,
                                       CalendarDate to);
