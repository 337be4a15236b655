// The check a database copy passes before it may replace the live one
// tells how far it has come all the way through, so that a page can keep
// its bar moving and the watchdog fed while a large copy is read.
#include "DataTestSupport.h"
#include "data/DatabaseCheck.h"

namespace {

class DatabaseCheckTest : public DataStoreTest {};

TEST_F(DatabaseCheckTest, TheFullCheckReportsItsProgressAsItGoes) {
    ASSERT_TRUE(db.DirectStatement(
        u"INSERT INTO Checkinout(Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
        u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 20000) "
        u"SELECT 1 + n % 500, strftime('%Y-%m-%d %H:%M:%S', '2014-09-01', '+' || (n * 25) || ' seconds'), "
        u"n % 2, 0, 0 FROM s"));
    Reopen();  // the close leaves everything in the file, which the check reads alone
    std::vector<std::pair<ULONGLONG, ULONGLONG>> reports;
    ASSERT_TRUE(IsTerminalDatabase(kTestDbPath, [&](ULONGLONG done, ULONGLONG total) {
        reports.emplace_back(done, total);
    }));
    ASSERT_GT(reports.size(), 100u) << "the progress is told often";
    const ULONGLONG total = reports.front().second;
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].second, total) << "the total stays the same";
        EXPECT_LE(reports[i].first, total);
        if (i > 0) {
            EXPECT_GE(reports[i].first, reports[i - 1].first) << "the progress never goes back";
        }
    }
    EXPECT_GT(reports.back().first, total / 2) << "the estimate is near the work done";
}

// A PC tool's ANALYZE and an index of its own pass the check, and go again
// before the copy is used; a unique index, which would refuse rows the
// terminal stores, does not pass.
TEST_F(DatabaseCheckTest, StatisticsAndPlainIndexesPassAndAreDroppedUniqueIndexesDoNot) {
    ASSERT_TRUE(db.DirectStatement(u"CREATE INDEX UserName ON Userinfo (Name)"));
    ASSERT_TRUE(db.DirectStatement(u"ANALYZE"));
    db.Close();
    EXPECT_TRUE(IsTerminalDatabase(kTestDbPath));
    EXPECT_TRUE(DropWhatOtherProgramsAdded(kTestDbPath));
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_EQ(Int(u"select count(*) from sqlite_master where name in ('UserName', 'sqlite_stat1')"), 0);
    EXPECT_TRUE(IsTerminalDatabase(kTestDbPath));

    ASSERT_TRUE(db.DirectStatement(u"CREATE UNIQUE INDEX UserName ON Userinfo (Name)"));
    db.Close();
    EXPECT_FALSE(IsTerminalDatabase(kTestDbPath));
    EXPECT_TRUE(DropWhatOtherProgramsAdded(kTestDbPath));
    ASSERT_TRUE(db.Open(kTestDbPath));
    EXPECT_EQ(Int(u"select count(*) from sqlite_master where name = 'UserName'"), 1) << "a refused copy is not mended";
}

}  // namespace
