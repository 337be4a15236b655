// The wait for another program that holds the database: it lasts five
// seconds and is cut short by the other program's release, it runs the
// program's step between its slices, and a scope of waits waits once.
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "RecordTestSupport.h"
#include "data/BusyTimeout.h"
#include "data/UserStorage.h"
#include "tests/support/database_held.h"
#include "tests/support/wait_until.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class OtherProgramWaitTest : public DataStoreTest {
protected:
    void TearDown() override {
        SetOtherProgramWaitHooks({});
        DataStoreTest::TearDown();
    }
    std::string DatabaseFile() const { return root.HostPath("DB/KD4700.DB"); }
    bool AddDept(int id) {
        CString sql;
        sql.Format(u"INSERT INTO Dept(Deptid, DeptName) VALUES (%d, 'waited')", id);
        return db.DirectStatement(sql);
    }
};

// Released two and a half seconds into the wait: the write goes through
// then, without a word.
TEST_F(OtherProgramWaitTest, AWriteGoesThroughOnceTheOtherProgramLetsGoWithinTheWait) {
    DatabaseHeldByAnotherProgram other(DatabaseFile(), "BEGIN IMMEDIATE");
    other.ReleaseAfter(2500);
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(AddDept(90));
    EXPECT_GE(SecondsSince(start), 2.4) << "it waited for the release";
    EXPECT_EQ(Int(u"select count(*) from Dept where Deptid = 90"), 1);
    EXPECT_TRUE(Boxes().empty());
}

// Held throughout: the write fails after five seconds of waiting, saying
// that the database is in use; the program's step ran all along, and not
// inside once the wait was over.
TEST_F(OtherProgramWaitTest, AWaitThatRunsOutRunsTheStepThroughoutAndSaysTheDatabaseIsInUse) {
    static std::vector<int> looks;
    looks.clear();
    SetOtherProgramWaitHooks({[](int waitedMs) {
                                  looks.push_back(waitedMs);
                                  EXPECT_TRUE(InsideWaitForOtherPrograms());
                              },
                              nullptr});
    DatabaseHeldByAnotherProgram other(DatabaseFile(), "BEGIN IMMEDIATE");
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(AddDept(91));
    EXPECT_GE(SecondsSince(start), 4.9);
    EXPECT_FALSE(InsideWaitForOtherPrograms());
    ASSERT_GT(looks.size(), 100u) << "a look every few hundredths of a second";
    EXPECT_EQ(looks.front(), 0);
    EXPECT_TRUE(std::is_sorted(looks.begin(), looks.end()));
    EXPECT_GE(looks.back(), 4800);
    EXPECT_EQ(Boxes(), std::vector<CString>{u"CSqlStatement::Execute|数据库正被其他程序使用，更改未能保存！"});
}

// Within a scope the waits share one wait's time: the second statement
// fails at once; outside it, each waits again.
TEST_F(OtherProgramWaitTest, AScopeOfWaitsWaitsOnce) {
    DatabaseHeldByAnotherProgram other(DatabaseFile(), "BEGIN IMMEDIATE");
    {
        CWaitOnceForOtherPrograms once;
        Clock::time_point start = Clock::now();
        EXPECT_FALSE(AddDept(92));
        EXPECT_GE(SecondsSince(start), 4.9);
        start = Clock::now();
        EXPECT_FALSE(AddDept(93));
        EXPECT_LT(SecondsSince(start), 1.0) << "the scope had waited already";
        EXPECT_GE(once.Waited(), 4900);
    }
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(AddDept(94));
    EXPECT_GE(SecondsSince(start), 4.9) << "a wait of its own outside the scope";
}

// Another thread of the terminal (the link, the I/O thread) holds a lock of
// the data store through such a wait, its work held up by a PC tool: the
// window's thread, waiting for that lock, runs the step meanwhile, as in a
// wait of its own, and asks once the other's work is through. The number of
// looks the window's thread made while the other worked.
int LooksWhileAnotherThreadWaits(const std::string& databaseFile, const std::function<bool()>& work,
                                 const std::function<void()>& ask) {
    const std::thread::id here = std::this_thread::get_id();
    std::atomic<bool> working{false};
    std::atomic<int> workLooks{0};
    std::atomic<int> looksHere{0};
    SetOtherProgramWaitHooks({[&](int) {
                                  if (std::this_thread::get_id() != here)
                                      ++workLooks;
                                  else if (working)
                                      ++looksHere;
                              },
                              nullptr});
    DatabaseHeldByAnotherProgram other(databaseFile, "BEGIN IMMEDIATE");
    other.ReleaseAfter(1500);
    bool worked = false;
    std::thread worker([&] {
        working = true;
        worked = work();
        working = false;
    });
    EXPECT_TRUE(WaitUntil([&] { return workLooks > 0; }, 5)) << "the other thread's work waits";
    ask();
    worker.join();
    EXPECT_TRUE(worked);
    return looksHere;
}

TEST_F(OtherProgramWaitTest, AThreadWaitingForTheConnectionHeldThroughAWaitRunsTheStepMeanwhile) {
    const int looks = LooksWhileAnotherThreadWaits(DatabaseFile(), [this] { return AddDept(95); }, [this] {
        EXPECT_EQ(Int(u"select count(*) from Dept where Deptid = 95"), 1) << "asked once the write is through";
    });
    EXPECT_GT(looks, 50) << "a look every few hundredths of a second";
    EXPECT_TRUE(Boxes().empty());
}

// The record ring's own lock, held by a record being written.
TEST_F(OtherProgramWaitTest, AThreadWaitingForTheRecordRingHeldThroughAWaitRunsTheStepMeanwhile) {
    CRecordStore records(db, 100);
    const int looks = LooksWhileAnotherThreadWaits(DatabaseFile(),
                                                   [&records] { return records.AddRecord(NumberedRecord(7)) == 0; },
                                                   [&records] { EXPECT_EQ(records.GetAllRecordcount(), 1u); });
    EXPECT_GT(looks, 50) << "a look every few hundredths of a second";
    EXPECT_TRUE(Boxes().empty());
}

// The user count read at start (and after an import) is right: nothing is
// written, so another program's lock costs no wait and no word of a change.
TEST_F(OtherProgramWaitTest, ARightUserCountIsNotWrittenAgain) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Userinfo(Userid, Name) VALUES ('5', 'five')"));
    ASSERT_TRUE(db.DirectStatement(u"update BasePara set UserCount = 1"));
    DatabaseHeldByAnotherProgram other(DatabaseFile(), "BEGIN IMMEDIATE");
    const Clock::time_point start = Clock::now();
    CUserStorage users(db, 100);
    EXPECT_LT(SecondsSince(start), 2.0) << "no wait for a write";
    EXPECT_EQ(users.GetCount(), 1);
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
