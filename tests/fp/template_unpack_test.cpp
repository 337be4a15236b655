#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "platform/fp/fptemplate.h"

namespace {

// A sample as the layout defines it: its half-byte, or kUnusable when its
// usable bit is clear.
uint8_t SampleAsLaidOut(const uint8_t* bytes, int index) {
    if (!((bytes[kUsableOffset + index / 8] >> (index % 8)) & 1)) return kUnusable;
    const uint8_t pair = bytes[kOrientationOffset + index / 2];
    return index % 2 == 0 ? pair & 0x0F : pair >> 4;
}

TEST(TemplateUnpack, EverySampleAndRidgeCountMatchTheLayoutWhateverTheBytes) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int trial = 0; trial < 200; ++trial) {
        uint8_t bytes[kTemplateSize];
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(byte(random));
        // All usable, none usable and alternating bits as well as noise.
        if (trial == 0) std::fill_n(bytes + kUsableOffset, kRings * kSectors / 8, 0xFF);
        if (trial == 1) std::fill_n(bytes + kUsableOffset, kRings * kSectors / 8, 0x00);
        if (trial == 2) std::fill_n(bytes + kUsableOffset, kRings * kSectors / 8, 0x5A);
        uint8_t orientation[kRings][kSectors];
        uint8_t ridges[kCountRadii][kSectors];
        UnpackFlow(bytes, orientation, ridges);
        for (int index = 0; index < kRings * kSectors; ++index)
            ASSERT_EQ(orientation[index / kSectors][index % kSectors], SampleAsLaidOut(bytes, index))
                << "trial " << trial << " sample " << index;
        for (int index = 0; index < kCountRadii * kSectors; ++index)
            ASSERT_EQ(ridges[index / kSectors][index % kSectors], bytes[kCountOffset + index]);
    }
}

}  // namespace
