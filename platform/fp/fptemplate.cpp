#include "platform/fp/fptemplate.h"

bool UnpackTemplate(const uint8_t* bytes, UnpackedTemplate* out) {
    if (bytes[0] != kTemplateTag || bytes[3] > kMaxMinutiae) return false;
    const uint8_t* orientation = bytes + kOrientationOffset;
    const uint8_t* usable = bytes + kUsableOffset;
    for (int ring = 0; ring < kRings; ++ring) {
        for (int sector = 0; sector < kSectors; ++sector) {
            const int index = ring * kSectors + sector;
            const bool present = usable[index / 8] & (1u << (index % 8));
            out->orientation[ring][sector] =
                present ? static_cast<uint8_t>((orientation[index / 2] >> (4 * (index % 2))) & 0x0F) : kUnusable;
        }
    }
    for (int radius = 0; radius < kCountRadii; ++radius) {
        for (int sector = 0; sector < kSectors; ++sector) {
            out->ridges[radius][sector] = bytes[kCountOffset + radius * kSectors + sector];
        }
    }
    out->minutiaCount = bytes[3];
    for (int i = 0; i < out->minutiaCount; ++i) {
        out->minutiaX[i] = static_cast<int8_t>(bytes[kMinutiaeOffset + 2 * i]);
        out->minutiaY[i] = static_cast<int8_t>(bytes[kMinutiaeOffset + 2 * i + 1]);
    }
    return true;
}
