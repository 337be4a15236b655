// Message queues: retrieval order, cross-thread SendMessage, registered messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/base/clock.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

constexpr UINT kFirst = WM_USER + 1;
constexpr UINT kSecond = WM_USER + 2;
constexpr UINT kThird = WM_USER + 3;

using QueueTest = RecordingTest;

TEST_F(QueueTest, RetrievalOrderIsSentPostedAndInputPaintThenTimer) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 50, 50});
    session.Pump();
    SetFocus(w);
    SetTimer(w, 7, 10, nullptr);
    AdvanceVirtualClock(10);
    InvalidateRect(w, nullptr, FALSE);
    PostMessageW(w, kFirst, 0, 0);
    keybd_event('5', 0, 0, 0);
    PostMessageW(w, kSecond, 0, 0);

    std::atomic<bool> sent{false};
    std::thread worker([&] {
        SendMessageW(w, kThird, 0, 0);
        sent = true;
    });
    // The worker's send must be queued before we look.
    while (true) {
        MSG peek;
        PeekMessageW(&peek, w, kThird, kThird, PM_NOREMOVE);
        if (!rec.Of({kThird}).empty()) break;
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_TRUE(sent);

    std::vector<UINT> order;
    MSG msg;
    while (order.size() < 5 && GetMessageW(&msg, nullptr, 0, 0)) {
        order.push_back(msg.message);
        if (msg.message == WM_PAINT) ValidateRect(w, nullptr);
        if (msg.message == WM_TIMER) {
            EXPECT_EQ(msg.wParam, 7u);
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{kFirst, WM_KEYDOWN, kSecond, WM_PAINT, WM_TIMER}));
}

TEST_F(QueueTest, CrossThreadSendRunsOnTheWindowThreadAndReturnsItsResult) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    std::thread::id handledOn;
    rec.handlers[{w, kFirst}] = [&](WPARAM wParam, LPARAM) -> LRESULT {
        handledOn = std::this_thread::get_id();
        return static_cast<LRESULT>(wParam * 2);
    };
    std::atomic<LRESULT> result{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendMessageW(w, kFirst, 21, 0);
        done = true;
    });
    MSG msg;
    while (!done) {
        // Any wait for messages serves the sends of other threads.
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
}

TEST_F(QueueTest, ThreadWaitingInItsOwnSendStillServesSendsToIt) {
    HWND ui = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    rec.handlers[{ui, kSecond}] = [](WPARAM, LPARAM) -> LRESULT { return 5; };
    std::atomic<HWND> workerWindow{nullptr};
    std::thread worker([&] {
        WNDCLASSW wc{};
        wc.lpszClassName = u"EchoBack";
        wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == kFirst) return SendMessageW(reinterpret_cast<HWND>(wParam), kSecond, 0, 0) + 1;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        };
        RegisterClassW(&wc);
        HWND echo = CreateWindowExW(0, u"EchoBack", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        workerWindow = echo;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        DestroyWindow(echo);
    });
    while (workerWindow == nullptr) std::this_thread::yield();
    EXPECT_EQ(SendMessageW(workerWindow, kFirst, reinterpret_cast<WPARAM>(ui), 0), 6);
    PostMessageW(workerWindow, WM_QUIT, 0, 0);
    worker.join();
}

TEST_F(QueueTest, WindowsOfAThreadThatEndsGoWithIt) {
    HWND orphan = nullptr;
    std::thread worker([&] {
        orphan = CreateWindowExW(0, u"Recorder", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        EXPECT_TRUE(IsWindow(orphan));
    });
    worker.join();
    EXPECT_FALSE(IsWindow(orphan));
    EXPECT_EQ(SendMessageW(orphan, kFirst, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(orphan, kFirst, 0, 0));
}

TEST_F(QueueTest, PostedMessagesOfADestroyedWindowAreDropped) {
    HWND a = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    HWND b = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    PostMessageW(a, kFirst, 0, 0);
    PostMessageW(b, kSecond, 0, 0);
    DestroyWindow(a);
    session.Pump();
    std::vector<Received> got = rec.Of({kFirst, kSecond});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, b);
}

TEST_F(QueueTest, ABroadcastIsSentToEveryTopLevelWindowAndNoChild) {
    HWND first = rec.CreateTopLevel(RECT{0, 0, 50, 50});
    HWND second = rec.CreateTopLevel(RECT{50, 0, 100, 50}, WS_POPUP);
    HWND child = rec.Create(first, RECT{0, 0, 10, 10});
    ASSERT_NE(child, nullptr);
    rec.Clear();
    EXPECT_EQ(SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0), TRUE);
    const std::vector<HWND> reached = rec.WindowsThatGot(WM_FONTCHANGE);
    EXPECT_EQ(std::count(reached.begin(), reached.end(), first), 1);
    EXPECT_EQ(std::count(reached.begin(), reached.end(), second), 1) << "hidden ones too";
    EXPECT_EQ(std::count(reached.begin(), reached.end(), child), 0);
}

TEST_F(QueueTest, QuitComesAfterPostedMessages) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 10, 10});
    PostQuitMessage(3);
    PostMessageW(w, kFirst, 0, 0);
    MSG msg;
    EXPECT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, kFirst);
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(RegisteredMessages, SameNameSameIdInTheRegisteredRange) {
    UINT enter = RegisterWindowMessageW(u"EditEnter");
    EXPECT_GE(enter, 0xC000u);
    EXPECT_LE(enter, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageW(u"EditEnter"), enter);
    EXPECT_EQ(RegisterWindowMessageW(u"editenter"), enter);
    EXPECT_NE(RegisterWindowMessageW(u"SBSELChange"), enter);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
}

}  // namespace
