// The bytes waiting at one end of a pty, read without waiting: what the
// terminal wrote to a simulated device so far.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> ReadWaitingBytes(int fd) {
    std::vector<uint8_t> bytes;
    pollfd ready{fd, POLLIN, 0};
    while (poll(&ready, 1, 0) > 0) {
        uint8_t buffer[64];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}
