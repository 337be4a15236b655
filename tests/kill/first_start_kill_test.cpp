// The power fails while a new terminal starts for the first time: whatever
// the moment, the next start leaves a sound device folder and a complete
// auto function-key table.
#include <gtest/gtest.h>

#include "tests/kill/ScriptedKill.h"

namespace {

TEST(FirstStartKillTest, AKilledFirstStartIsCompletedByTheNext) {
    TerminalFolder folder;
    KillPlan plan = TerminalPlan(folder, folder.Start(), 20261207, 20, [&](int) { folder.LayFactoryImage(); });
    plan.check = [&](const KillRound&) {
        EXPECT_EQ(folder.Query("select count(*) from AtuoFN"), 16) << "the rows of the table (-1: none could be read)";
        EXPECT_EQ(folder.Query("select count(distinct SpaceID) from AtuoFN where SpaceID between 1 and 16 and "
                               "FNID = 0 and Monstart = '00:00' and SunEnd = '00:00'"),
                  16)
            << "the zones 1 to 16 as a first start makes them";
    };
    RunFittedKills("first start", plan);
}

}  // namespace
