// The communication thread rebuilds a link it was asked to restart after a
// pause on the terminal's clock. The thread owns the virtual clock here: its
// pause moves the clock by exactly its length and costs no real time.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "comm/CommLink.h"
#include "comm/CommThread.h"
#include "comm/LinkRestart.h"
#include "core/MachineConfig.h"
#include "platform/base/clock.h"
#include "tests/support/wait_until.h"

namespace comm_thread_test {

CCommLink* ActiveLink() {
    std::lock_guard<std::recursive_mutex> guard(LinkLock());
    return g_pLink;
}

// The thread running on a TCP server link of a free port. Once stopped it
// never runs again in this program: one test only.
class CommThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_MachineConfig.COMMUNICATIONTYPE = 2;
        g_MachineConfig.NETPORT = 0;
        UseVirtualClock(true);
        m_thread = std::thread([] {
            TakeVirtualClockOwnership();
            CommThread(nullptr);
        });
    }
    void TearDown() override {
        StopCommThread();
        m_thread.join();
        UseVirtualClock(false);
        g_MachineConfig.COMMUNICATIONTYPE = 0;
    }

private:
    std::thread m_thread;
};

TEST_F(CommThreadTest, ARestartedLinkIsBuiltAgainFourSecondsLater) {
    ASSERT_TRUE(WaitUntil([] { return ActiveLink() != nullptr; }, 10)) << "the first link never ran";
    const uint64_t running = ClockNowMs();
    RequestLinkRestart(nullptr);
    // Only the thread's pause moves the clock.
    ASSERT_TRUE(WaitUntil([&] { return ClockNowMs() != running && ActiveLink() != nullptr; }, 10))
        << "no link ran again";
    EXPECT_EQ(ClockNowMs() - running, 4000u);
}

}  // namespace comm_thread_test
