// The main window's timers as they fall due on the terminal's clock.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "main/MainWindowTimers.h"
#include "platform/base/clock.h"
#include "tests/support/ui_session.h"

namespace {

// When each of its timers fired, in milliseconds since it was made.
class TimedWindow : public CWnd {
public:
    void OnTimer(UINT_PTR id) override { fired[id].push_back(ClockNowMs() - made); }

    const uint64_t made = ClockNowMs();
    std::map<UINT_PTR, std::vector<uint64_t>> fired;
};

// Over the first ten minutes: timer 1 every 10 s, timer 2 every second,
// timer 3 once, at 600 s.
TEST(MainWindowTimers, IdleEveryTenSecondsClockEverySecondMemoryEveryTenMinutes) {
    UiSession session;
    TimedWindow window;
    ASSERT_TRUE(window.CreateEx(0, WC_STATIC, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    SetMainWindowTimers(window);
    session.Run("wait 600500");

    const struct {
        UINT_PTR id;
        uint64_t periodMs;
    } expected[] = {{1, 10000}, {2, 1000}, {3, 600000}};
    for (const auto& timer : expected) {
        std::vector<uint64_t> due;
        for (uint64_t at = timer.periodMs; at <= 600500; at += timer.periodMs) due.push_back(at);
        EXPECT_EQ(window.fired[timer.id], due) << "timer " << timer.id;
    }
    EXPECT_EQ(window.fired.size(), 3u) << "no other timer";
}

}  // namespace
