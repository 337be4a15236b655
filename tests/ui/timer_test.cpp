// Timers in virtual time.
#include <gtest/gtest.h>

#include "platform/base/clock.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

class TimerTest : public RecordingTest {
protected:
    // The virtual time of every WM_TIMER `w` received.
    std::vector<uint64_t> TimesOf(HWND w, UINT_PTR id) {
        std::vector<uint64_t> times;
        for (uint64_t t : fired[{w, id}]) times.push_back(t - start);
        return times;
    }
    void Watch(HWND w) {
        rec.handlers[{w, WM_TIMER}] = [this, w](WPARAM wParam, LPARAM) -> LRESULT {
            fired[{w, wParam}].push_back(ClockNowMs());
            return 0;
        };
    }

    uint64_t start = ClockNowMs();
    std::map<std::pair<HWND, UINT_PTR>, std::vector<uint64_t>> fired;
};

TEST_F(TimerTest, PeriodicTimersFireOnTheVirtualClock) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    Watch(w);
    SetTimer(w, 1, 400, nullptr);
    SetTimer(w, 2, 500, nullptr);
    session.Run("wait 1250");
    EXPECT_EQ(TimesOf(w, 1), (std::vector<uint64_t>{400, 800, 1200}));
    EXPECT_EQ(TimesOf(w, 2), (std::vector<uint64_t>{500, 1000}));
    EXPECT_EQ(ClockNowMs() - start, 1250u);
}

TEST_F(TimerTest, SettingAnIdAgainRestartsItWithTheNewPeriod) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    Watch(w);
    SetTimer(w, 12223, 500, nullptr);
    session.Run("wait 300");
    SetTimer(w, 12223, 200, nullptr);
    session.Run("wait 500");
    EXPECT_EQ(TimesOf(w, 12223), (std::vector<uint64_t>{500, 700}));
}

TEST_F(TimerTest, KilledTimersAndTimersOfDestroyedWindowsStop) {
    HWND a = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    HWND b = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    Watch(a);
    Watch(b);
    SetTimer(a, 1, 100, nullptr);
    SetTimer(b, 1, 100, nullptr);
    session.Run("wait 150");
    EXPECT_TRUE(KillTimer(a, 1));
    EXPECT_FALSE(KillTimer(a, 1));
    DestroyWindow(b);
    session.Run("wait 500");
    EXPECT_EQ(TimesOf(a, 1).size(), 1u);
    EXPECT_EQ(TimesOf(b, 1).size(), 1u);
}

TEST_F(TimerTest, AtMostOneTimerMessageIsPendingPerTimer) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    Watch(w);
    SetTimer(w, 1, 100, nullptr);
    AdvanceVirtualClock(1000);
    session.Pump();
    EXPECT_EQ(TimesOf(w, 1).size(), 1u);
    session.Run("wait 100");
    EXPECT_EQ(TimesOf(w, 1).size(), 2u);
}

int g_procCalls = 0;
void CountingProc(HWND, UINT, UINT_PTR, DWORD) { ++g_procCalls; }

TEST_F(TimerTest, TimersWithoutWindowCallTheirProcedure) {
    g_procCalls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, CountingProc);
    EXPECT_NE(id, 0u);
    session.Run("wait 120");
    EXPECT_EQ(g_procCalls, 2);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(TimerTest, TickCountFollowsTheVirtualClock) {
    DWORD before = GetTickCount();
    session.Run("wait 2500");
    EXPECT_EQ(GetTickCount() - before, 2500u);
}

}  // namespace
