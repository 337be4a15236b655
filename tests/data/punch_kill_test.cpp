// Punches into the full ring of 100000 records, as on a terminal in use, in
// a process killed at arbitrary moments: between, inside and while the log
// is folded back into the file. Every punch whose add returned must be
// there afterwards, the ring's windows consecutive up to the newest, the
// file sound.
#include <filesystem>
#include <cstdio>
#include <random>

#include "RecordTestSupport.h"
#include "tests/support/kill_harness.h"

namespace {

// The newest punch's number; the ring is filled with records numbered
// -100000 .. -1 before the first punch.
int Newest(CDbSqlite& db) { return QueryInt(db, u"select max(cast(Userid as integer)) from Checkinout"); }

[[noreturn]] void PunchUntilKilled(int reportFd) {
    CDbSqlite db;
    if (!db.Open(kTestDbPath)) _exit(2);
    CRecordStore ring(db);
    for (int number = Newest(db) + 1;; ++number) {
        if (ring.AddRecord(NumberedRecord(number)) != 0) _exit(3);
        if (write(reportFd, &number, sizeof number) != sizeof number) _exit(4);
    }
}

class PunchKillTest : public DataStoreTest {
protected:
    void FillTheRing() {
        ASSERT_TRUE(db.DirectStatement(u"begin"));
        ASSERT_TRUE(db.DirectStatement(
            u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
            u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 100000) "
            u"SELECT n, n - 100001, strftime('%Y-%m-%d %H:%M:%S', '2014-08-01', '+' || (n * 25) || ' seconds'), "
            u"n % 2, 0, 16777216 FROM s"));
        ASSERT_TRUE(db.DirectStatement(u"update BasePara set AllRecordcount=100000, NewRecordcount=100000, "
                                       u"RawRecordBeginRowid=1, AllRecordBeginRowid=1, NewRecordBeginRowid=1"));
        ASSERT_TRUE(db.DirectStatement(u"commit"));
    }
};

TEST_F(PunchKillTest, EveryAcknowledgedPunchSurvivesAKill) {
    FillTheRing();
    db.Close();
    std::mt19937 random(20261207);
    int reported = -1;
    int killsWithALog = 0;
    const int rounds = KillCount(6);
    for (int round = 0; round < rounds; ++round) {
        // Long enough for hundreds of punches, so that the log is folded
        // into the file at least once in most rounds.
        const int status = KillWhileAdding(PunchUntilKilled, 1, 50000 + random() % 250000, reported);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the punching process stopped by itself: " << WEXITSTATUS(status);
        killsWithALog += std::filesystem::exists(root.HostPath("DB/KD4700.DB-wal"));

        ASSERT_TRUE(db.Open(kTestDbPath));
        EXPECT_EQ(Text(u"PRAGMA integrity_check"), u"ok") << "round " << round;
        const int newest = Newest(db);
        ASSERT_GE(newest, reported) << "round " << round;
        CRecordStore ring(db);
        EXPECT_EQ(ring.GetAllRecordcount(), RecordRingCapacity);
        EXPECT_EQ(AllWindow(ring, 1000), Range(newest + 1 - static_cast<int>(RecordRingCapacity), newest))
            << "round " << round;
        db.Close();
    }
    EXPECT_GT(reported, 100);
    // The kills met an open log to recover from, not a closed database.
    EXPECT_EQ(killsWithALog, rounds);
    std::printf("punch: %d rounds, each killed while punching\n", rounds);
}

}  // namespace
