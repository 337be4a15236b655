#include "tools/records/record_plan.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace {

using std::chrono::sys_days;

constexpr int kFirstHour = 7;
constexpr int kWorkingSeconds = 12 * 60 * 60;

sys_days Days(CalendarDate date) {
    return sys_days(std::chrono::year_month_day(std::chrono::year(date.year),
                                                std::chrono::month(static_cast<unsigned>(date.month)),
                                                std::chrono::day(static_cast<unsigned>(date.day))));
}

// A well-mixed number from `n` (splitmix64), so the times look like people's.
uint64_t Mix(uint64_t n) {
    n += 0x9E3779B97F4A7C15ull;
    n = (n ^ (n >> 30)) * 0xBF58476D1CE4E5B9ull;
    n = (n ^ (n >> 27)) * 0x94D049BB133111EBull;
    return n ^ (n >> 31);
}

}  // namespace

std::optional<CalendarDate> ParseCalendarDate(const std::string& text) {
    CalendarDate date;
    int used = 0;
    if (text.size() != 10 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &date.year, &date.month, &date.day, &used) != 3 || used != 10)
        return std::nullopt;
    if (date.year < 1970 || date.year > 2099 || date.month < 1 || date.month > 12 || date.day < 1) return std::nullopt;
    const std::chrono::year_month_day checked(std::chrono::year(date.year),
                                              std::chrono::month(static_cast<unsigned>(date.month)),
                                              std::chrono::day(static_cast<unsigned>(date.day)));
    if (!checked.ok()) return std::nullopt;
    return date;
}

std::vector<PlannedRecord> PlanRecords(const std::vector<std::string>& users, int count, CalendarDate from,
                                       CalendarDate to) {
    const sys_days first = Days(from);
    const int64_t days = (Days(to) - first).count() + 1;
    struct Timed {
        int64_t seconds;  // since the first day's midnight
        size_t user;
    };
    std::vector<Timed> timed;
    timed.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int64_t day = static_cast<int64_t>(i) * days / count;
        const int64_t inDay = kFirstHour * 3600 + static_cast<int64_t>(Mix(static_cast<uint64_t>(i)) % kWorkingSeconds);
        timed.push_back({day * 86400 + inDay, static_cast<size_t>(i) % users.size()});
    }
    std::stable_sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) { return a.seconds < b.seconds; });

    std::vector<PlannedRecord> records;
    records.reserve(timed.size());
    for (const Timed& t : timed) {
        const std::chrono::year_month_day date(first + std::chrono::days(t.seconds / 86400));
        const int64_t second = t.seconds % 86400;
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                      static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
        records.push_back({users[t.user], text, second < 12 * 3600 ? 0 : 1});
    }
    return records;
}
