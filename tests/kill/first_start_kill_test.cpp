// The power fails while a new terminal starts for the first time: whatever
// the moment, the next start leaves a sound device folder and a complete
// auto function-key table.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/support/device_root.h"
#include "tests/support/kill_harness.h"

namespace {

namespace fs = std::filesystem;

int Count(const std::string& database, const char* sql) {
    sqlite3* db = nullptr;
    int count = -1;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        count = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

TEST(FirstStartKillTest, AKilledFirstStartIsCompletedByTheNext) {
    ScopedDeviceRoot root;
    const std::string script = root.Host() + ".script";
    std::ofstream(script) << "quit\n";
    const std::vector<std::string> start = {QUILLON_PROGRAM, "--root", root.Host(), "--headless", "--script", script};
    const std::string database = root.HostPath("NandFlash/zeta42/DB/KD4700.DB");

    KillPlan plan;
    plan.root = root.Host();
    plan.command = start;
    plan.restart = start;
    // A first start with a script runs in virtual time: some 40 ms here.
    plan.window = std::chrono::milliseconds(50);
    plan.seed = 20261207;
    plan.prepare = [&](int) {
        fs::remove_all(root.Host());
        fs::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), fs::copy_options::recursive);
    };
    plan.check = [&](const KillRound& round) {
        EXPECT_EQ(Count(database, "select count(*) from AtuoFN"), 16) << "killed after " << round.delay.count() << " us";
        EXPECT_EQ(Count(database, "select count(distinct SpaceID) from AtuoFN where SpaceID between 1 and 16 and "
                                  "FNID = 0 and Monstart = '00:00' and SunEnd = '00:00'"),
                  16);
    };
    const KillSummary summary = RunKillTest(plan);
    fs::remove(script);
    EXPECT_GE(summary.killedWhileRunning, summary.rounds / 4);
    std::printf("first start: %d rounds, %d killed while running\n", summary.rounds, summary.killedWhileRunning);
}

}  // namespace
