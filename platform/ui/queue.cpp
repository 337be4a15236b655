// Per-thread message queues: PostMessage, SendMessage (also across threads),
// GetMessage/PeekMessage in the platform's retrieval order, and dispatch.
//
// Retrieval order: messages sent from other threads are delivered first;
// then posted messages and input in the order they arrived; then WM_QUIT;
// then WM_PAINT for the next window that needs painting (parents before
// children); then WM_TIMER for the next timer that is due.
#include "platform/ui/queue.h"

#include <algorithm>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/ui/display.h"
#include "platform/ui/input.h"
#include "platform/ui/longwork.h"
#include "platform/ui/paint.h"
#include "platform/ui/timer.h"
#include "platform/ui/window.h"

namespace {

struct QueueRegistry {
    // Queues stay allocated after their thread ends: windows may still
    // point at them, and a send to them must fail cleanly.
    std::vector<std::unique_ptr<ThreadQueue>> all;
    std::vector<ThreadQueue*> alive;
};

QueueRegistry& Registry() {
    static QueueRegistry registry;
    return registry;
}

ClockCondition& WakeCondition() {
    static ClockCondition condition;
    return condition;
}

uint64_t g_generation = 0;  // guarded by WakeCondition().Mutex()
uint64_t g_sequence = 0;    // guarded by WindowLock()

void FinishSend(const std::shared_ptr<SentMessage>& sent, LRESULT result) {
    WindowGuard guard(WindowLock());
    sent->result = result;
    sent->done = true;
    WakeAllQueues();
}

struct QueueOwner {
    ThreadQueue* queue = nullptr;
    IdleHook idle;
    ~QueueOwner() {
        if (queue == nullptr) return;
        WindowGuard guard(WindowLock());
        auto& alive = Registry().alive;
        alive.erase(std::remove(alive.begin(), alive.end(), queue), alive.end());
        // Nobody will answer what was sent to this thread.
        for (auto& sent : queue->sent) {
            sent->done = true;
            sent->result = 0;
        }
        queue->sent.clear();
        queue->posted.clear();
        ForgetThreadWindows(queue);
        WakeAllQueues();
    }
};
thread_local QueueOwner t_owner;

uint64_t Generation() {
    std::lock_guard<std::mutex> lock(WakeCondition().Mutex());
    return g_generation;
}

// Blocks until something wakes the queues or the clock reaches `deadline`.
void WaitForWake(uint64_t seen, uint64_t deadline) {
    std::unique_lock<std::mutex> lock(WakeCondition().Mutex());
    auto woken = [&] { return g_generation != seen; };
    if (DisplayNeedsPolling()) {
        uint64_t now = ClockNowMs();
        DWORD slice = 10;
        if (deadline != kNoDeadline) slice = static_cast<DWORD>(std::min<uint64_t>(slice, deadline > now ? deadline - now : 0));
        WakeCondition().WaitFor(lock, slice, woken);
    } else {
        WakeCondition().WaitUntil(lock, deadline, woken);
    }
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) return true;
    return message >= filterMin && message <= filterMax;
}

bool MatchesWindow(HWND target, HWND filter) {
    if (filter == nullptr) return true;
    if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
    return target == filter;
}

bool InputWanted(HWND filter, UINT filterMin, UINT filterMax) {
    return filter == nullptr && InRange(WM_KEYDOWN, filterMin, filterMax) && InRange(WM_LBUTTONDOWN, filterMin, filterMax);
}

void Stamp(MSG& msg) {
    msg.time = static_cast<DWORD>(ClockNowMs());
    GetCursorPos(&msg.pt);
}

// One look at the queue; true with *msg filled when a message is ready.
bool LookOnce(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, UINT flags) {
    const bool remove = (flags & PM_REMOVE) != 0;
    const bool postedOnly = (flags & PM_QS_POSTMESSAGE) != 0;
    for (;;) {
        DispatchIncomingSends();
        bool takeInput = false;
        {
            WindowGuard guard(WindowLock());
            ThreadQueue* q = CurrentQueue();
            auto posted = std::find_if(q->posted.begin(), q->posted.end(), [&](const QueuedMessage& m) {
                return MatchesWindow(m.msg.hwnd, filter) && InRange(m.msg.message, filterMin, filterMax);
            });
            std::optional<uint64_t> input;
            if (!postedOnly && InputWanted(filter, filterMin, filterMax)) input = OldestInputSequence();
            if (input && (posted == q->posted.end() || *input < posted->sequence)) {
                takeInput = true;
            } else if (posted != q->posted.end()) {
                *msg = posted->msg;
                if (remove) q->posted.erase(posted);
                q->lastMessage = *msg;
                return true;
            } else if (q->quitPosted && filter == nullptr) {
                *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q->quitCode), 0, 0, {0, 0}};
                Stamp(*msg);
                if (remove) q->quitPosted = false;
                return true;
            } else if (!postedOnly && InRange(WM_PAINT, filterMin, filterMax)) {
                if (HWND paint = NextWindowToPaint(q, filter)) {
                    *msg = MSG{paint, WM_PAINT, 0, 0, 0, {0, 0}};
                    Stamp(*msg);
                    q->lastMessage = *msg;
                    return true;
                }
            }
            if (!takeInput) {
                if (!InRange(WM_TIMER, filterMin, filterMax)) return false;
                if (!TakeDueTimer(q, filter, remove, msg)) return false;
                Stamp(*msg);
                q->lastMessage = *msg;
                return true;
            }
        }
        // Input is routed outside the lock: the keyboard hooks are
        // application code.
        std::optional<MSG> routed = TakeInputMessage();
        if (!routed) continue;
        *msg = *routed;
        WindowGuard guard(WindowLock());
        ThreadQueue* q = CurrentQueue();
        if (!remove) q->posted.push_front(QueuedMessage{*msg, 0});
        q->lastMessage = *msg;
        return true;
    }
}

bool Retrieve(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, UINT flags, bool wait) {
    LongWorkOver();
    for (;;) {
        uint64_t seen = Generation();
        if (LookOnce(msg, filter, filterMin, filterMax, flags)) return true;
        if (!wait) return false;
        // The screen is shown before a script's next command, so that a
        // scripted run in a window can be watched.
        DisplayIdle();
        IdleHook idle = t_owner.idle;
        if (idle && idle()) continue;
        uint64_t deadline;
        {
            WindowGuard guard(WindowLock());
            deadline = NextTimerDue(CurrentQueue());
        }
        if (LookOnce(msg, filter, filterMin, filterMax, flags)) return true;
        WaitForWake(seen, deadline);
    }
}

}  // namespace

ThreadQueue* CurrentQueue() {
    if (t_owner.queue == nullptr) {
        WindowGuard guard(WindowLock());
        auto queue = std::make_unique<ThreadQueue>();
        t_owner.queue = queue.get();
        Registry().all.push_back(std::move(queue));
        Registry().alive.push_back(t_owner.queue);
    }
    return t_owner.queue;
}

bool QueueAlive(const ThreadQueue* queue) {
    const auto& alive = Registry().alive;
    return std::find(alive.begin(), alive.end(), queue) != alive.end();
}

uint64_t NextMessageSequence() { return ++g_sequence; }

void WakeAllQueues() {
    {
        std::lock_guard<std::mutex> lock(WakeCondition().Mutex());
        ++g_generation;
    }
    WakeCondition().NotifyAll();
}

bool QuitPostedOnThisThread() {
    WindowGuard guard(WindowLock());
    return CurrentQueue()->quitPosted;
}

void SetIdleHook(IdleHook hook) { t_owner.idle = std::move(hook); }

bool HasIdleHook() { return static_cast<bool>(t_owner.idle); }

void DispatchIncomingSends() {
    for (;;) {
        std::shared_ptr<SentMessage> sent;
        {
            WindowGuard guard(WindowLock());
            ThreadQueue* q = CurrentQueue();
            if (q->sent.empty()) return;
            sent = q->sent.front();
            q->sent.pop_front();
        }
        FinishSend(sent, CallWindowProcedure(sent->hwnd, sent->message, sent->wParam, sent->lParam));
    }
}

void DropWindowMessages(HWND hwnd) {
    for (ThreadQueue* q : Registry().alive) {
        auto& posted = q->posted;
        posted.erase(std::remove_if(posted.begin(), posted.end(),
                                    [&](const QueuedMessage& m) { return m.msg.hwnd == hwnd; }),
                     posted.end());
    }
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            WindowGuard guard(WindowLock());
            for (Window* top : Desktop()->children) tops.push_back(top->handle);
        }
        for (HWND top : tops) SendMessageW(top, message, wParam, lParam);
        return TRUE;
    }
    std::shared_ptr<SentMessage> sent;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (w->queue != CurrentQueue()) {
            if (!QueueAlive(w->queue)) return 0;
            sent = std::make_shared<SentMessage>(SentMessage{hwnd, message, wParam, lParam});
            w->queue->sent.push_back(sent);
            WakeAllQueues();
        }
    }
    if (sent == nullptr) return CallWindowProcedure(hwnd, message, wParam, lParam);
    // While waiting, this thread still answers what others send to it, so
    // two threads sending to each other do not deadlock.
    for (;;) {
        uint64_t seen = Generation();
        DispatchIncomingSends();
        {
            WindowGuard guard(WindowLock());
            if (sent->done) return sent->result;
        }
        WaitForWake(seen, kNoDeadline);
    }
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(hwnd, message, wParam, lParam);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowGuard guard(WindowLock());
    ThreadQueue* target;
    if (hwnd == nullptr) {
        target = CurrentQueue();
    } else {
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr || w->queue == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        target = w->queue;
    }
    if (!QueueAlive(target)) return FALSE;
    MSG msg{hwnd, message, wParam, lParam, 0, {0, 0}};
    Stamp(msg);
    target->posted.push_back(QueuedMessage{msg, NextMessageSequence()});
    WakeAllQueues();
    return TRUE;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    WindowGuard guard(WindowLock());
    ThreadQueue* q = CurrentQueue();
    q->quitPosted = true;
    q->quitCode = exitCode;
    WakeAllQueues();
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) return FALSE;
    Retrieve(msg, hwnd, filterMin, filterMax, PM_REMOVE, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    return GetMessageW(msg, hwnd, filterMin, filterMax);
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG ignored;
    return Retrieve(msg ? msg : &ignored, hwnd, filterMin, filterMax, removeFlags, false) ? TRUE : FALSE;
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    return PeekMessageW(msg, hwnd, filterMin, filterMax, removeFlags);
}

BOOL WaitMessage() {
    MSG msg;
    Retrieve(&msg, nullptr, 0, 0, PM_NOREMOVE, true);
    return TRUE;
}

DWORD GetMessageTime() {
    WindowGuard guard(WindowLock());
    return CurrentQueue()->lastMessage.time;
}

DWORD GetMessagePos() {
    WindowGuard guard(WindowLock());
    const POINT& pt = CurrentQueue()->lastMessage.pt;
    return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM vk = msg->wParam;
    char16_t ch = 0;
    // The keypad's characters: digits, the period, and the control keys.
    // '*' and '#' give none.
    if (vk >= '0' && vk <= '9')
        ch = static_cast<char16_t>(vk);
    else if (vk == VK_OEM_PERIOD)
        ch = u'.';
    else if (vk == VK_BACK || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_SPACE || vk == VK_TAB)
        ch = static_cast<char16_t>(vk);
    if (ch == 0) return FALSE;
    WindowGuard guard(WindowLock());
    MSG charMsg{msg->hwnd, WM_CHAR, ch, msg->lParam, msg->time, msg->pt};
    // The character is the next message the thread sees.
    CurrentQueue()->posted.push_front(QueuedMessage{charMsg, 0});
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    if (msg->hwnd == nullptr) return 0;
    return CallWindowProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DispatchMessage(const MSG* msg) { return DispatchMessageW(msg); }
