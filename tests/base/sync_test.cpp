#include "platform/base/sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"

namespace {

// Runs `work` on another thread and returns its result.
template <class Work>
auto OnOtherThread(Work work) {
    return std::async(std::launch::async, work).get();
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    auto tryFromOther = [&] {
        BOOL got = TryEnterCriticalSection(&section);
        if (got) LeaveCriticalSection(&section);
        return got;
    };
    EXPECT_FALSE(OnOtherThread(tryFromOther));
    LeaveCriticalSection(&section);
    EXPECT_FALSE(OnOtherThread(tryFromOther)) << "still held once";
    LeaveCriticalSection(&section);
    EXPECT_TRUE(OnOtherThread(tryFromOther));
    DeleteCriticalSection(&section);
}

TEST(CriticalSection, EnteredBeforeInitialisationKeepsItsLock) {
    static CRITICAL_SECTION early;  // a global that a worker reaches first
    std::promise<void> entered, release;
    std::thread worker([&] {
        EnterCriticalSection(&early);
        entered.set_value();
        release.get_future().wait();
        LeaveCriticalSection(&early);
    });
    entered.get_future().wait();
    InitializeCriticalSection(&early);
    EXPECT_FALSE(TryEnterCriticalSection(&early)) << "the worker still holds it";
    release.set_value();
    worker.join();
    EXPECT_TRUE(TryEnterCriticalSection(&early));
    LeaveCriticalSection(&early);
    DeleteCriticalSection(&early);
}

TEST(CriticalSection, SerialisesIncrementsFromManyThreads) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                EnterCriticalSection(&section);
                EnterCriticalSection(&section);
                ++counter;
                LeaveCriticalSection(&section);
                LeaveCriticalSection(&section);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(counter, 40000);
    DeleteCriticalSection(&section);
}

TEST(Event, AutoResetReleasesOneWaitAndManualResetStays) {
    HANDLE autoEvent = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
    SetEvent(autoEvent);
    SetEvent(autoEvent);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT) << "signals do not count up";

    HANDLE manual = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    SetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(manual, 0); }), WAIT_OBJECT_0);
    ResetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    CloseHandle(autoEvent);
    CloseHandle(manual);
}

class VirtualWait : public ::testing::Test {
protected:
    void SetUp() override { UseVirtualClock(true); }
    void TearDown() override { UseVirtualClock(false); }
    // Moves the clock in steps until `done`, as the owner of the clock would.
    static void AdvanceUntil(const std::atomic<int>& done, int target) {
        while (done < target) {
            AdvanceVirtualClock(1000);
            std::this_thread::yield();
        }
    }
};

TEST_F(VirtualWait, AutoResetSignalWakesExactlyOneOfTwoWaiters) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> finished{0};
    DWORD results[2];
    auto wait = [&](int i) {
        results[i] = WaitForSingleObject(event, 5000);
        ++finished;
    };
    std::thread first(wait, 0), second(wait, 1);
    SetEvent(event);
    AdvanceUntil(finished, 2);
    first.join();
    second.join();
    EXPECT_EQ((results[0] == WAIT_OBJECT_0) + (results[1] == WAIT_OBJECT_0), 1);
    EXPECT_EQ((results[0] == WAIT_TIMEOUT) + (results[1] == WAIT_TIMEOUT), 1);
    CloseHandle(event);
}

TEST_F(VirtualWait, TimeOutEndsWhenTheVirtualClockHasMovedThatFar) {
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    uint64_t start = ClockNowMs();
    std::atomic<int> finished{0};
    std::thread advancer([&] { AdvanceUntil(finished, 1); });
    // An hour: were the virtual clock ignored, the test would hang.
    EXPECT_EQ(WaitForSingleObject(event, 3600 * 1000), WAIT_TIMEOUT);
    ++finished;
    advancer.join();
    EXPECT_GE(ClockNowMs(), start + 3600 * 1000);
    CloseHandle(event);
}

TEST(WaitForMultipleObjects, AnyReportsTheFirstSignalledAndAllTakesAllOrNothing) {
    HANDLE events[3] = {CreateEvent(nullptr, FALSE, FALSE, nullptr), CreateEvent(nullptr, FALSE, TRUE, nullptr),
                        CreateEvent(nullptr, FALSE, TRUE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);

    SetEvent(events[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0) << "a failed wait-all consumes nothing";
    SetEvent(events[0]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), WAIT_TIMEOUT);

    HANDLE twice[2] = {events[0], events[0]};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    for (HANDLE event : events) CloseHandle(event);
}

TEST(WaitForMultipleObjects, WaitAllWakesWhenTheLastObjectIsSignalled) {
    HANDLE events[2] = {CreateEvent(nullptr, TRUE, FALSE, nullptr), CreateEvent(nullptr, TRUE, FALSE, nullptr)};
    auto result = std::async(std::launch::async, [&] { return WaitForMultipleObjects(2, events, TRUE, INFINITE); });
    SetEvent(events[1]);
    SetEvent(events[0]);
    EXPECT_EQ(result.get(), WAIT_OBJECT_0);
    for (HANDLE event : events) CloseHandle(event);
}

TEST(Wait, RefusesBadHandlesAndObjectsOfTheWrongKind) {
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE event = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    CloseHandle(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(event));
    HANDLE mutex = CreateMutex(nullptr, FALSE, nullptr);
    EXPECT_FALSE(SetEvent(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE list[1] = {nullptr};
    EXPECT_EQ(WaitForMultipleObjects(0, list, FALSE, 0), WAIT_FAILED);
    CloseHandle(mutex);
}

TEST(Mutex, IsOwnedRecursivelyByOneThread) {
    HANDLE mutex = CreateMutex(nullptr, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), WAIT_TIMEOUT);
    EXPECT_FALSE(OnOtherThread([&] { return ReleaseMutex(mutex); }));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), WAIT_TIMEOUT) << "still owned once";
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    EXPECT_TRUE(OnOtherThread([&] {
        return WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0 && ReleaseMutex(mutex);
    }));
    CloseHandle(mutex);
}

TEST(NamedObjects, SameNameOpensTheSameObjectUntilTheLastHandleCloses) {
    HANDLE first = CreateEvent(nullptr, TRUE, FALSE, u"test-named-event");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateEvent(nullptr, FALSE, TRUE, u"test-named-event");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT) << "the existing object keeps its state";
    SetEvent(first);
    CloseHandle(first);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    EXPECT_EQ(CreateMutex(nullptr, FALSE, u"test-named-event"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(second);
    HANDLE fresh = CreateEvent(nullptr, TRUE, FALSE, u"test-named-event");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_TIMEOUT);
    CloseHandle(fresh);
}

TEST(Interlocked, ReturnsTheNewOrThePreviousValue) {
    LONG volatile value = 5;
    EXPECT_EQ(InterlockedIncrement(&value), 6);
    EXPECT_EQ(InterlockedDecrement(&value), 5);
    EXPECT_EQ(InterlockedExchange(&value, 9), 5);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 8), 9);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 9), 9);
    EXPECT_EQ(value, 1);
}

}  // namespace
