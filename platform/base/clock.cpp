#include "platform/base/clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/base/threads.h"

namespace {

std::atomic<bool> g_virtual{false};
// The virtual reading while virtual time is on.
std::atomic<uint64_t> g_virtualNow{0};
// Added to the host's monotonic clock in real time, so that the clock never
// goes back after a stretch of virtual time that ran ahead of it.
std::atomic<uint64_t> g_realOffset{0};
std::atomic<std::thread::id> g_owner{};
// The wall clock and the virtual clock when virtual time began.
std::atomic<int64_t> g_wallAtVirtualStart{0};
std::atomic<uint64_t> g_clockAtVirtualStart{0};
// Serialises mode switches against each other.
std::mutex g_modeLock;

// Every live ClockCondition, so that a move of the virtual clock can wake
// them all. Weak references: a condition may die while an advance is under
// way; the advance keeps the state alive until it has notified it.
std::mutex g_registryLock;
std::vector<std::weak_ptr<ClockCondition::State>>& Registry() {
    static auto& registry = *new std::vector<std::weak_ptr<ClockCondition::State>>;  // outlives detached threads
    return registry;
}
size_t g_compactAt = 64;

void Register(const std::shared_ptr<ClockCondition::State>& state) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    auto& registry = Registry();
    if (registry.size() >= g_compactAt) {
        std::erase_if(registry, [](const auto& weak) { return weak.expired(); });
        g_compactAt = std::max<size_t>(64, registry.size() * 2);
    }
    registry.push_back(state);
}

void WakeAllConditions() {
    std::vector<std::shared_ptr<ClockCondition::State>> live;
    {
        std::lock_guard<std::mutex> lock(g_registryLock);
        for (const auto& weak : Registry()) {
            if (auto state = weak.lock()) live.push_back(std::move(state));
        }
    }
    for (const auto& state : live) {
        // Taking the mutex orders this wake-up after any waiter that read the
        // clock before the move and is about to block.
        { std::lock_guard<std::mutex> lock(state->mutex); }
        state->cv.notify_all();
    }
}

int64_t HostRealWallMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

uint64_t HostMonotonicMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Sleeping workers wait here; only clock moves wake it.
ClockCondition& SleepCondition() {
    static ClockCondition& condition = *new ClockCondition;  // outlives detached threads
    return condition;
}

}  // namespace

uint64_t ClockNowMs() {
    if (g_virtual.load(std::memory_order_acquire)) return g_virtualNow.load(std::memory_order_acquire);
    return HostMonotonicMs() + g_realOffset.load(std::memory_order_relaxed);
}

int64_t HostWallClockMs() {
    if (!IsVirtualClock()) return HostRealWallMs();
    return g_wallAtVirtualStart.load() + static_cast<int64_t>(ClockNowMs() - g_clockAtVirtualStart.load());
}

void SetVirtualWallClockMs(int64_t unixMs) {
    std::lock_guard<std::mutex> lock(g_modeLock);
    if (!IsVirtualClock()) return;
    g_clockAtVirtualStart.store(ClockNowMs());
    g_wallAtVirtualStart.store(unixMs);
}

void UseVirtualClock(bool on) {
    {
        std::lock_guard<std::mutex> lock(g_modeLock);
        if (on) g_owner.store(std::this_thread::get_id());
        if (on == g_virtual.load()) return;
        if (on) {
            g_virtualNow.store(ClockNowMs());
            g_clockAtVirtualStart.store(g_virtualNow.load());
            g_wallAtVirtualStart.store(HostRealWallMs());
            g_virtual.store(true, std::memory_order_release);
        } else {
            uint64_t host = HostMonotonicMs();
            uint64_t reached = g_virtualNow.load();
            if (reached > host + g_realOffset.load()) g_realOffset.store(reached - host);
            g_virtual.store(false, std::memory_order_release);
        }
    }
    WakeAllConditions();
}

bool IsVirtualClock() {
    return g_virtual.load(std::memory_order_acquire);
}

void TakeVirtualClockOwnership() {
    g_owner.store(std::this_thread::get_id());
}

bool OwnsVirtualClock() {
    return g_owner.load() == std::this_thread::get_id();
}

void AdvanceVirtualClockTo(uint64_t nowMs) {
    if (!IsVirtualClock()) return;
    uint64_t current = g_virtualNow.load();
    while (current < nowMs && !g_virtualNow.compare_exchange_weak(current, nowMs)) {
    }
    if (current < nowMs) WakeAllConditions();
}

void AdvanceVirtualClock(uint64_t ms) {
    if (!IsVirtualClock()) return;
    uint64_t current = g_virtualNow.load();
    while (!g_virtualNow.compare_exchange_weak(current, current + ms)) {
    }
    if (ms) WakeAllConditions();
}

ClockCondition::ClockCondition() : m_state(std::make_shared<State>()) {
    Register(m_state);
}

ClockCondition::~ClockCondition() = default;

uint64_t ClockCondition::RealNowMs() {
    return HostMonotonicMs();
}

bool ClockCondition::WaitOnce(State& state, std::unique_lock<std::mutex>& lock, uint64_t deadlineMs,
                              uint64_t realDeadlineMs) {
    uint64_t now = ClockNowMs();
    if (now >= deadlineMs) return false;
    uint64_t limit = kNoDeadline;
    if (!IsVirtualClock()) {
        limit = deadlineMs == kNoDeadline ? kNoDeadline : deadlineMs - now;
    } else if (realDeadlineMs != kNoDeadline) {
        uint64_t realNow = RealNowMs();
        if (realNow >= realDeadlineMs) return false;
        limit = realDeadlineMs - realNow;
    }
    if (limit == kNoDeadline) {
        state.cv.wait(lock);
    } else {
        state.cv.wait_for(lock, std::chrono::milliseconds(limit));
    }
    return true;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(ClockNowMs());
}

// One count per microsecond, in real and in virtual time alike.
constexpr LONGLONG kPerformanceFrequency = 1000000;

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    if (IsVirtualClock()) {
        count->QuadPart = static_cast<LONGLONG>(ClockNowMs()) * (kPerformanceFrequency / 1000);
    } else {
        using namespace std::chrono;
        auto micros = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
        count->QuadPart = static_cast<LONGLONG>(micros + g_realOffset.load() * 1000);
    }
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = kPerformanceFrequency;
    return TRUE;
}

void Sleep(DWORD ms) {
    ThreadSafePoint();
    if (IsVirtualClock() && OwnsVirtualClock() && ms != INFINITE) {
        AdvanceVirtualClockTo(ClockNowMs() + ms);
        std::this_thread::yield();
        return;
    }
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    ClockCondition& condition = SleepCondition();
    std::unique_lock<std::mutex> lock(condition.Mutex());
    condition.WaitFor(lock, ms, [] { return false; });
}
