#include "data/BusyTimeout.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// Short enough for a window to be answered and an end to be obeyed at
// once; the other program's release is seen as soon.
constexpr int kSliceMs = 10;

OtherProgramWaitHooks g_hooks;
std::atomic<bool> g_stopped{false};

thread_local CWaitOnceForOtherPrograms* t_once = nullptr;
thread_local bool t_inside = false;
// When the wait under way began, and when its last slice did.
thread_local Clock::time_point t_began;
thread_local Clock::time_point t_lastSlice;

int Milliseconds(Clock::duration span) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(span).count());
}

void RunWhileWaiting(int waitedMs) {
    if (!g_hooks.whileWaiting) return;
    t_inside = true;
    g_hooks.whileWaiting(waitedMs);
    t_inside = false;
}

// SQLite's busy handler: `count` is how often it was called for this wait.
// Non-zero: try again.
int WaitSlice(void*, int count) {
    const Clock::time_point now = Clock::now();
    if (count == 0) t_began = t_lastSlice = now;
    if (t_once) t_once->AddWaited(Milliseconds(now - t_lastSlice));
    t_lastSlice = now;
    if (g_stopped) return 0;
    const int waited = Milliseconds(now - t_began);
    const int left = kDatabaseBusyTimeoutMs - (t_once ? t_once->Waited() : waited);
    if (left <= 0) return 0;
    RunWhileWaiting(waited);
    if (g_stopped) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kSliceMs, left)));
    return g_stopped ? 0 : 1;
}

}  // namespace

void WaitForOtherPrograms(sqlite3* db) {
    if (db) sqlite3_busy_handler(db, WaitSlice, nullptr);
}

void SetOtherProgramWaitHooks(OtherProgramWaitHooks hooks) { g_hooks = std::move(hooks); }

void StopWaitingForOtherPrograms() { g_stopped = true; }

bool WaitingForOtherProgramsStopped() { return g_stopped; }

void AfterWaitForOtherPrograms() {
    if (g_stopped && g_hooks.afterStopped) g_hooks.afterStopped();
}

void EnterWhileOtherProgramsWait(CRITICAL_SECTION& lock) {
    // Every statement passes here: the free lock costs no clock reading.
    if (TryEnterCriticalSection(&lock)) return;
    // Most holders let go within a statement's time, and the lock is taken
    // the moment they do; the program's step runs after each slice that
    // went by without it. Once the end has begun the step is not run: the
    // end may come from inside the display's own call, and the holder lets
    // go at once then.
    const Clock::time_point began = Clock::now();
    bool looked = false;
    while (!TryEnterCriticalSectionFor(&lock, kSliceMs)) {
        if (g_stopped) continue;
        RunWhileWaiting(looked ? Milliseconds(Clock::now() - began) : 0);
        looked = true;
    }
}

bool InsideWaitForOtherPrograms() { return t_inside; }

CWaitOnceForOtherPrograms::CWaitOnceForOtherPrograms() : m_outer(t_once) { t_once = this; }

CWaitOnceForOtherPrograms::~CWaitOnceForOtherPrograms() { t_once = m_outer; }
