// A statement of the user-interface thread that waits for another program
// holding the database keeps the I/O controller's watchdog fed: once as the
// wait begins, then whenever more than five seconds have passed since the
// last feed, and not more often. The clock is virtual: the test moves it
// while the statement waits.
#include <thread>

#include "data/BusyTimeout.h"
#include "main/DatabaseWaitStep.h"
#include "platform/base/clock.h"
#include "tests/core_startup/IoLineTestSupport.h"
#include "tests/support/database_held.h"
#include "tests/support/ui_session.h"
#include "tests/support/wait_until.h"

namespace {

constexpr DWORD kFeedIntervalMs = 5000;
// Many slices of the wait, in real time.
constexpr int kSeveralSlicesMs = 300;

class DatabaseWaitWatchdogTest : public IoLineTest {
protected:
    void SetUp() override {
        IoLineTest::SetUp();
        OpenFactoryDatabase();
        RunLongWorkStepWhileWaitingForTheDatabase();
    }
    void TearDown() override {
        SetOtherProgramWaitHooks({});
        IoLineTest::TearDown();
    }
    // Feeds written to the controller so far (each FE 01 01 FE).
    size_t Feeds() {
        for (BYTE byte : Sent()) written.push_back(byte);
        const std::vector<BYTE> feed{0xFE, 0x01, 0x01, 0xFE};
        size_t count = 0;
        for (size_t at = 0; at + feed.size() <= written.size(); at += feed.size())
            count += std::equal(feed.begin(), feed.end(), written.begin() + static_cast<long>(at));
        return count;
    }
    static void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    UiSession session;  // the test's thread is the user-interface thread
    std::vector<BYTE> written;
};

TEST_F(DatabaseWaitWatchdogTest, AWaitLongerThanTheFeedIntervalFeedsTheWatchdogByItsRule) {
    DatabaseHeldByAnotherProgram other(AppFile("DB/KD4700.DB"), "BEGIN IMMEDIATE");
    // The feeds counted at each point of the wait.
    size_t atStart = 0, atInterval = 0, pastInterval = 0, afterThat = 0;
    std::thread clock([&] {
        WaitUntil([&] { return Feeds() > 0; }, 3);
        atStart = Feeds();
        AdvanceVirtualClock(kFeedIntervalMs);
        Pause(kSeveralSlicesMs);
        atInterval = Feeds();
        AdvanceVirtualClock(1);
        WaitUntil([&] { return Feeds() > atInterval; }, 3);
        Pause(kSeveralSlicesMs);
        pastInterval = Feeds();
        AdvanceVirtualClock(kFeedIntervalMs);
        Pause(kSeveralSlicesMs);
        afterThat = Feeds();
        other.Release();
    });
    const bool stored = g_pDatabase->DirectStatement(u"INSERT INTO Dept(Deptid, DeptName) VALUES (90, 'waited')");
    clock.join();
    EXPECT_EQ(atStart, 1u) << "fed as the wait began";
    EXPECT_EQ(atInterval, 1u) << "five seconds since the feed: not yet";
    EXPECT_EQ(pastInterval, 2u) << "more than five seconds: fed once";
    EXPECT_EQ(afterThat, 2u) << "five seconds since that feed: not yet";
    EXPECT_TRUE(stored) << "the write went through once the other program let go";
    EXPECT_EQ(Int(u"select count(*) from Dept where Deptid = 90"), 1);
}

}  // namespace
