// The terminal's monotonic clock, real or virtual.
//
// Every timed thing of the platform (Sleep, GetTickCount, wait time-outs,
// window timers, the device's wall clock) reads this one clock. Tests and
// scripted runs switch it to VIRTUAL time: the clock then stands still until
// something moves it, so that waiting costs no real time and every run sees
// the same sequence of ticks.
//
// Virtual time moves only in two ways:
//  - AdvanceVirtualClock / AdvanceVirtualClockTo (a test, the script driver);
//  - Sleep(ms) on the thread that OWNS the virtual clock: it moves the clock to
//    max(now, start + ms), start being the clock when Sleep was called, wakes
//    every waiter whose deadline has come, yields, and returns at once.
// The owner is the thread that switched virtual time on, until another thread
// calls TakeVirtualClockOwnership (the script driver makes the user-interface
// thread the owner, since that thread runs the timers and the pauses a person
// would see).
//
// Sleep(ms) on any other thread waits until the virtual clock reaches
// start + ms, or until ms of REAL time have passed, whichever comes first.
// Worker threads that poll in a loop therefore never race the clock ahead of
// the owner, and a worker that sleeps while holding a lock the owner wants
// cannot hang the program. Time-outs of WaitForSingleObject and
// WaitForMultipleObjects follow the same rule on every thread (see
// ClockCondition::WaitFor).
//
// In real time the clock is the host's monotonic clock in milliseconds.
// Switching between the two keeps the clock continuous: virtual time starts at
// the real reading and real time resumes from there.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/base/types.h"

// Milliseconds on the terminal's clock (64-bit: never wraps).
uint64_t ClockNowMs();

// Switches virtual time on or off; switching on makes the calling thread the
// owner. Every ClockCondition wakes so that waits re-read the clock.
void UseVirtualClock(bool on);
bool IsVirtualClock();
void TakeVirtualClockOwnership();
bool OwnsVirtualClock();

// Moves virtual time forward (never back) and wakes every waiter. Ignored in
// real time. Do not call it while holding a ClockCondition's mutex.
void AdvanceVirtualClock(uint64_t ms);
void AdvanceVirtualClockTo(uint64_t nowMs);

// The host's wall clock in milliseconds since 1970-01-01 UTC. In virtual time
// it stands at its reading when virtual time began and moves with the
// virtual clock, so that the device's date and time follow virtual time.
int64_t HostWallClockMs();
// In virtual time, sets the host wall clock's reading now (scripted runs that
// compare screenshots start every run at the same date). Ignored in real time.
void SetVirtualWallClockMs(int64_t unixMs);

// A deadline that never comes.
constexpr uint64_t kNoDeadline = UINT64_MAX;

// A condition variable whose waits end at a deadline on the terminal's clock.
// In virtual time a wait ends when the virtual clock reaches its deadline:
// every advance of the virtual clock wakes every ClockCondition. The window
// system's message queues and the kernel objects (events, mutexes, threads)
// wait through this class.
class ClockCondition {
public:
    ClockCondition();
    ~ClockCondition();
    ClockCondition(const ClockCondition&) = delete;
    ClockCondition& operator=(const ClockCondition&) = delete;

    // The mutex that guards the waited-for state; waits hold it.
    std::mutex& Mutex() { return m_state->mutex; }
    // Wakes the waiters; the caller may hold Mutex() or not, but must have
    // changed the state under it.
    void NotifyAll() { m_state->cv.notify_all(); }

    // Waits (lock holding Mutex()) until pred() holds or the clock reaches
    // deadlineMs. Returns pred().
    template <class Pred>
    bool WaitUntil(std::unique_lock<std::mutex>& lock, uint64_t deadlineMs, Pred pred) {
        std::shared_ptr<State> state = m_state;
        while (!pred()) {
            if (!WaitOnce(*state, lock, deadlineMs, kNoDeadline)) return pred();
        }
        return true;
    }

    // A Win32-style time-out of timeoutMs (INFINITE allowed): the wait ends
    // when pred() holds, when the clock has moved timeoutMs, or, in virtual
    // time, after timeoutMs of real time at the latest. Returns pred().
    template <class Pred>
    bool WaitFor(std::unique_lock<std::mutex>& lock, DWORD timeoutMs, Pred pred) {
        if (timeoutMs == INFINITE) return WaitUntil(lock, kNoDeadline, pred);
        uint64_t deadline = ClockNowMs() + timeoutMs;
        uint64_t realDeadline = RealNowMs() + timeoutMs;
        std::shared_ptr<State> state = m_state;
        while (!pred()) {
            if (!WaitOnce(*state, lock, deadline, realDeadline)) return pred();
        }
        return true;
    }

    struct State {
        std::mutex mutex;
        std::condition_variable cv;
    };

private:
    static uint64_t RealNowMs();
    // One blocking step; false once either deadline has passed. Waits hold
    // their own reference on the state: a condition destroyed while a thread
    // still waits on it (a static at exit) neither blocks nor pulls the state
    // away from the waiter.
    static bool WaitOnce(State& state, std::unique_lock<std::mutex>& lock, uint64_t deadlineMs,
                         uint64_t realDeadlineMs);

    std::shared_ptr<State> m_state;
};

DWORD GetTickCount();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
void Sleep(DWORD ms);
