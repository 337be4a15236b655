// The power fails while a new terminal starts for the first time: whatever
// the moment, the next start leaves a sound device folder and a complete
// auto function-key table.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/kill/TerminalKillSupport.h"
#include "tests/support/kill_harness.h"

namespace {

TEST(FirstStartKillTest, AKilledFirstStartIsCompletedByTheNext) {
    TerminalFolder folder;
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = folder.Start();
    plan.restart = folder.Start();
    // A first start with a script runs in virtual time: some 40 ms here.
    plan.window = std::chrono::milliseconds(50);
    plan.seed = 20261207;
    plan.prepare = [&](int) { folder.LayFactoryImage(); };
    plan.check = [&](const KillRound& round) {
        EXPECT_EQ(folder.Query("select count(*) from AtuoFN"), 16) << "killed after " << round.delay.count() << " us";
        EXPECT_EQ(folder.Query("select count(distinct SpaceID) from AtuoFN where SpaceID between 1 and 16 and "
                               "FNID = 0 and Monstart = '00:00' and SunEnd = '00:00'"),
                  16);
    };
    const KillSummary summary = RunKillTest(plan);
    EXPECT_GE(summary.killedWhileRunning, summary.rounds / 4);
    std::printf("first start: %d rounds, %d killed while running\n", summary.rounds, summary.killedWhileRunning);
}

}  // namespace
