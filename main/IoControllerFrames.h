// Reading the I/O controller's frames (platform/dev/ioframes.h): 4-byte
// frames with the code first and last, and card frames of n digits (n + 3
// bytes). A reader that loses step drops bytes until a frame lines up again.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/base/types.h"
#include "platform/dev/ioframes.h"

struct IoFrame {
    BYTE code = 0;
    BYTE arg1 = 0;
    BYTE arg2 = 0;
    std::vector<BYTE> card;  // the digits of a card frame
};

// Gathers the bytes read from the port into whole frames.
class IoFrameReader {
public:
    // Appends `count` bytes; complete frames come out in order.
    std::vector<IoFrame> Feed(const BYTE* data, size_t count);

private:
    std::vector<BYTE> m_pending;
};

// The 4-byte command frame (code, a, b, code).
void MakeIoFrame(BYTE code, BYTE a, BYTE b, BYTE out[kIoFrameSize]);
