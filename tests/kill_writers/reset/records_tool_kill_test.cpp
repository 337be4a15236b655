// The power fails while the records tool adds records: the ring holds the
// records it held or those and all the new ones, its counters agree with
// it, and the terminal starts on it.
#include <gtest/gtest.h>

#include <string>

#include "tests/kill/PreparedFolder.h"
#include "tests/kill/ScriptedKill.h"

namespace records_tool_kill_test {
namespace {

constexpr int kUsers = 50;
constexpr int kAdded = 3000;

TEST(RecordsToolKillTest, AllTheRecordsAreAddedOrNone) {
    // The transfer writer gives each user one record.
    PreparedFolder prepared(kUsers, {});
    TerminalFolder& folder = prepared.folder;
    KillPlan plan = TerminalPlan(folder, {RECORDS_TOOL, folder.Host(), std::to_string(kAdded)}, 35200, 10,
                                 [&](int) { prepared.Lay(); });
    int complete = 0;
    plan.check = [&](const KillRound& round) {
        const int records = folder.Query("select count(*) from Checkinout");
        EXPECT_TRUE(records == kUsers || records == kUsers + kAdded)
            << records << " records, killed after " << round.delay.count() << " us";
        EXPECT_EQ(folder.Query("select AllRecordcount from BasePara"), records);
        EXPECT_EQ(folder.Query("select NewRecordcount from BasePara"), records);
        if (!round.killed) {
            EXPECT_EQ(records, kUsers + kAdded);
        }
        complete += records == kUsers + kAdded;
    };
    RunFittedKills("records tool", plan);
    std::printf("records tool: %d rounds with all records added\n", complete);
}

}  // namespace

}  // namespace records_tool_kill_test
