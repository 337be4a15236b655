// A terminal loses power while it writes punches: a child process adding
// records is killed at arbitrary points. Afterwards the file must be sound
// and every record whose add returned must be in both windows, the windows
// holding consecutive records up to the newest.
#include <random>

#include "RecordTestSupport.h"

namespace {

constexpr unsigned kCapacity = 64;

int NewestStored(CDbSqlite& db) {
    StatementPtr row(db.Statement(u"select count(*), max(cast(Userid as integer)) from Checkinout"));
    return row->NextRow() && row->ValueInt(0) > 0 ? row->ValueInt(1) : -1;
}

// Adds numbered records for ever, reporting each number once its add
// returned.
[[noreturn]] void AddUntilKilled(int reportFd) {
    CDbSqlite db;
    if (!db.Open(kTestDbPath)) _exit(2);
    CRecordStore store(db, kCapacity);
    for (int number = NewestStored(db) + 1;; ++number) {
        if (store.AddRecord(NumberedRecord(number)) != 0) _exit(3);
        if (write(reportFd, &number, sizeof number) != sizeof number) _exit(4);
    }
}

using RecordCrashTest = DataStoreTest;

TEST_F(RecordCrashTest, EveryReturnedAddSurvivesAKill) {
    db.Close();
    std::mt19937 random(20140901);
    int reported = -1;
    for (int round = 0; round < 20; ++round) {
        const int reportsBeforeKill = 1 + static_cast<int>(random() % 12);
        const int status = KillWhileAdding(AddUntilKilled, reportsBeforeKill, random() % 3000, reported);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << WEXITSTATUS(status);

        ASSERT_TRUE(db.Open(kTestDbPath));
        EXPECT_EQ(Text(u"PRAGMA integrity_check"), u"ok");
        const int newest = NewestStored(db);
        ASSERT_GE(newest, reported);
        const int expectedCount = std::min(newest + 1, static_cast<int>(kCapacity));
        const std::vector<int> window = Range(newest + 1 - expectedCount, newest);
        CRecordStore store(db, kCapacity);
        EXPECT_EQ(AllWindow(store, 10), window) << "round " << round;
        EXPECT_EQ(NewWindow(store, 7), window) << "round " << round;
        db.Close();
    }
    EXPECT_GT(reported, static_cast<int>(kCapacity));
}

}  // namespace
