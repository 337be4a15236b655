#include "platform/fp/fptemplate.h"

#include <cstring>

bool IsTemplate(const uint8_t* bytes) { return bytes[0] == kTemplateTag && bytes[3] <= kMaxMinutiae; }

void UnpackFlow(const uint8_t* bytes, uint8_t orientation[kRings][kSectors], uint8_t ridges[kCountRadii][kSectors]) {
    // Two samples to a byte, eight to a byte of the usable bits; without
    // branches, as which samples are usable follows no pattern.
    const uint8_t* packed = bytes + kOrientationOffset;
    const uint8_t* usable = bytes + kUsableOffset;
    uint8_t* samples = &orientation[0][0];
    for (int index = 0; index < kRings * kSectors; index += 2) {
        const unsigned pair = packed[index / 2];
        const unsigned present = usable[index / 8] >> (index % 8);
        samples[index] = static_cast<uint8_t>((pair & 0x0F) | ((present & 1) - 1));
        samples[index + 1] = static_cast<uint8_t>((pair >> 4) | (((present >> 1) & 1) - 1));
    }
    std::memcpy(ridges, bytes + kCountOffset, kCountRadii * kSectors);
}

bool UnpackTemplate(const uint8_t* bytes, UnpackedTemplate* out) {
    if (!IsTemplate(bytes)) return false;
    UnpackFlow(bytes, out->orientation, out->ridges);
    out->minutiaCount = bytes[3];
    for (int i = 0; i < out->minutiaCount; ++i) {
        out->minutiaX[i] = static_cast<int8_t>(bytes[kMinutiaeOffset + 2 * i]);
        out->minutiaY[i] = static_cast<int8_t>(bytes[kMinutiaeOffset + 2 * i + 1]);
    }
    return true;
}
