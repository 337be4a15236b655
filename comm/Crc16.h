// The CRC of the device protocol: reflected polynomial 0x8408, initial
// value 0xFFFF, no final XOR. Frames carry it low byte first.
#pragma once

#include <cstddef>

#include "platform/base/types.h"

WORD Crc16(const BYTE* data, size_t length);
