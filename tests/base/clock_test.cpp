#include "platform/base/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/support/wait_until.h"

namespace {

class VirtualClock : public ::testing::Test {
protected:
    void SetUp() override { UseVirtualClock(true); }
    void TearDown() override { UseVirtualClock(false); }
};

TEST_F(VirtualClock, OwnerSleepReturnsAtOnceAndMovesTheClock) {
    uint64_t start = ClockNowMs();
    DWORD ticks = GetTickCount();
    LARGE_INTEGER counter, frequency, later;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    Sleep(10000);
    EXPECT_EQ(ClockNowMs(), start + 10000);
    EXPECT_EQ(static_cast<DWORD>(GetTickCount() - ticks), 10000u);
    QueryPerformanceCounter(&later);
    EXPECT_EQ(later.QuadPart - counter.QuadPart, 10 * frequency.QuadPart);
    // The clock stands still between moves.
    EXPECT_EQ(ClockNowMs(), start + 10000);
}

TEST_F(VirtualClock, WaiterOnADeadlineWakesWhenTheClockReachesIt) {
    ClockCondition condition;
    uint64_t deadline = ClockNowMs() + 5000;
    std::atomic<bool> done{false};
    bool satisfied = true;
    uint64_t wokeAt = 0;
    std::thread waiter([&] {
        std::unique_lock<std::mutex> lock(condition.Mutex());
        satisfied = condition.WaitUntil(lock, deadline, [] { return false; });
        wokeAt = ClockNowMs();
        done = true;
    });
    AdvanceVirtualClock(4999);
    std::this_thread::yield();
    EXPECT_FALSE(done);
    AdvanceVirtualClock(1);
    waiter.join();
    EXPECT_FALSE(satisfied);
    EXPECT_EQ(wokeAt, deadline);
}

TEST_F(VirtualClock, NotifiedWaiterSeesItsConditionBeforeTheDeadline) {
    ClockCondition condition;
    bool ready = false;
    std::thread waiter([&] {
        std::unique_lock<std::mutex> lock(condition.Mutex());
        EXPECT_TRUE(condition.WaitUntil(lock, kNoDeadline, [&] { return ready; }));
    });
    {
        std::lock_guard<std::mutex> lock(condition.Mutex());
        ready = true;
    }
    condition.NotifyAll();
    waiter.join();
}

TEST_F(VirtualClock, WorkerSleepWaitsForTheOwnerToMoveTheClock) {
    uint64_t start = ClockNowMs();
    std::atomic<bool> done{false};
    // An hour of real time would pass before the worker woke by itself.
    std::thread worker([&] {
        Sleep(3600 * 1000);
        done = true;
    });
    std::this_thread::yield();
    EXPECT_FALSE(done);
    while (!done) {
        Sleep(60 * 1000);
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_GE(ClockNowMs(), start + 3600 * 1000);
}

TEST_F(VirtualClock, ClockNeverGoesBackWhenRealTimeResumes) {
    Sleep(24 * 3600 * 1000);
    uint64_t reached = ClockNowMs();
    UseVirtualClock(false);
    EXPECT_GE(ClockNowMs(), reached);
    UseVirtualClock(true);
    EXPECT_GE(ClockNowMs(), reached);
}

TEST_F(VirtualClock, WallClockCanBeSetAndMovesWithVirtualTime) {
    const int64_t march2014 = 1394000829000;
    SetVirtualWallClockMs(march2014);
    EXPECT_EQ(HostWallClockMs(), march2014);
    Sleep(250);
    EXPECT_EQ(HostWallClockMs(), march2014 + 250);
}

TEST_F(VirtualClock, ConditionDestroyedUnderAWaiterNeitherBlocksNorFreesItsState) {
    auto* condition = new ClockCondition;
    std::mutex& mutex = condition->Mutex();
    std::atomic<bool> entered{false}, destroyed{false}, returned{false}, satisfied{false};
    bool ready = false;
    std::thread waiter([&] {
        std::unique_lock<std::mutex> lock(mutex);
        entered = true;
        satisfied = condition->WaitUntil(lock, kNoDeadline, [&] { return ready; });
        returned = true;
    });
    while (!entered) std::this_thread::yield();
    // The waiter held the mutex from `entered` until it blocked.
    { std::lock_guard<std::mutex> lock(mutex); }
    std::thread destroyer([&] {
        delete condition;
        destroyed = true;
    });
    const bool destroyedSoon = WaitUntil([&] { return destroyed.load(); }, 5);
    if (destroyedSoon) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            ready = true;
        }
        AdvanceVirtualClock(1);  // wakes every live condition
    }
    const bool wokenSoon = destroyedSoon && WaitUntil([&] { return returned.load(); }, 5);
    // A thread still blocked is left behind: the test fails instead of hanging.
    destroyedSoon ? destroyer.join() : destroyer.detach();
    wokenSoon ? waiter.join() : waiter.detach();
    ASSERT_TRUE(destroyedSoon) << "the destruction waited for the waiter";
    ASSERT_TRUE(wokenSoon) << "the waiter was never woken once its condition was gone";
    EXPECT_TRUE(satisfied) << "the waiter saw its condition";
}

TEST_F(VirtualClock, AdvanceToAnEarlierTimeIsIgnored) {
    uint64_t now = ClockNowMs();
    AdvanceVirtualClockTo(now - 1);
    EXPECT_EQ(ClockNowMs(), now);
    AdvanceVirtualClockTo(now + 7);
    EXPECT_EQ(ClockNowMs(), now + 7);
}

TEST(RealClock, AdvanceDoesNothingAndTimedWaitEnds) {
    ASSERT_FALSE(IsVirtualClock());
    ClockCondition condition;
    std::unique_lock<std::mutex> lock(condition.Mutex());
    EXPECT_FALSE(condition.WaitFor(lock, 1, [] { return false; }));
    uint64_t before = ClockNowMs();
    AdvanceVirtualClock(100000);
    EXPECT_LT(ClockNowMs(), before + 100000);
}

}  // namespace
