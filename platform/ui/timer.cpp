#include "platform/ui/timer.h"

#include <algorithm>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/ui/window.h"

namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    uint64_t due;
    TIMERPROC proc;
    ThreadQueue* queue;
};

std::vector<Timer>& Timers() {
    static std::vector<Timer> timers;
    return timers;
}

// Ids of timers without a window; they never collide with each other.
UINT_PTR g_nextThreadTimerId = 0x7F00;

std::vector<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id, const ThreadQueue* queue) {
    return std::find_if(Timers().begin(), Timers().end(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && (hwnd != nullptr || t.queue == queue);
    });
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    WindowGuard guard(WindowLock());
    ThreadQueue* queue = CurrentQueue();
    if (hwnd != nullptr) {
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        queue = w->queue;
    } else if (id == 0 || FindTimer(nullptr, id, queue) == Timers().end()) {
        id = g_nextThreadTimerId++;
    }
    // A period of 0 would fire on every look at the queue.
    UINT period = std::max<UINT>(elapseMs, 1);
    uint64_t due = ClockNowMs() + period;
    auto existing = FindTimer(hwnd, id, queue);
    if (existing != Timers().end())
        *existing = Timer{hwnd, id, period, due, proc, queue};
    else
        Timers().push_back(Timer{hwnd, id, period, due, proc, queue});
    WakeAllQueues();
    return hwnd != nullptr ? (id != 0 ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    WindowGuard guard(WindowLock());
    auto it = FindTimer(hwnd, id, CurrentQueue());
    if (it == Timers().end()) return FALSE;
    Timers().erase(it);
    return TRUE;
}

void ForgetWindowTimers(HWND hwnd) {
    auto& timers = Timers();
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

bool TakeDueTimer(const ThreadQueue* queue, HWND filter, bool remove, MSG* msg) {
    uint64_t now = ClockNowMs();
    Timer* next = nullptr;
    for (Timer& t : Timers()) {
        if (t.queue != queue || t.due > now) continue;
        if (filter != nullptr && t.hwnd != filter) continue;
        if (next == nullptr || t.due < next->due) next = &t;
    }
    if (next == nullptr) return false;
    *msg = MSG{next->hwnd, WM_TIMER, next->id, reinterpret_cast<LPARAM>(next->proc), 0, {0, 0}};
    if (remove) next->due = now + next->period;
    return true;
}

uint64_t NextTimerDue(const ThreadQueue* queue) {
    uint64_t due = kNoDeadline;
    for (const Timer& t : Timers()) {
        if (t.queue == queue) due = std::min(due, t.due);
    }
    return due;
}
