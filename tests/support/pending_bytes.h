// What a peer has written to a descriptor so far, without waiting.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <vector>

#include "platform/base/types.h"

inline std::vector<BYTE> ReadPendingBytes(int fd) {
    std::vector<BYTE> bytes;
    pollfd ready{fd, POLLIN, 0};
    while (poll(&ready, 1, 0) > 0) {
        BYTE buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}
