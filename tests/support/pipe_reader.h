// Whether a reader waits on a pipe found where a file should be: the call
// runs on a thread of its own; should it still wait after a long while, the
// test opens the pipe's other end and closes it, which ends any wait (the
// reader then sees an empty pipe), so a failing test reports instead of
// hanging.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/wait_until.h"

// Makes a pipe at `hostPath` and runs `call`; true when it came back
// without anyone writing to the pipe.
inline bool ReturnsWithoutAWriter(const std::string& hostPath, const std::function<void()>& call) {
    if (mkfifo(hostPath.c_str(), 0600) != 0) return false;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        call();
        done = true;
    });
    constexpr int kLongerThanAnyOpen = 20;
    const bool unaided = WaitUntil([&] { return done.load(); }, kLongerThanAnyOpen);
    while (!done) {
        const int writer = open(hostPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) close(writer);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    reader.join();
    return unaided;
}
