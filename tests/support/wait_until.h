// Waiting in a test for something another process or thread brings about,
// rather than pausing for a time a loaded machine may overrun.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Asks `done` every 50 ms for up to `seconds`; its last answer.
inline bool WaitUntil(const std::function<bool()>& done, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}
