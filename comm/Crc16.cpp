#include "comm/Crc16.h"

WORD Crc16(const BYTE* data, size_t length) {
    WORD crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<WORD>((crc >> 1) ^ 0x8408) : static_cast<WORD>(crc >> 1);
    }
    return crc;
}
