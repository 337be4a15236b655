#include "platform/fp/fptemplate.h"

#include <array>
#include <bit>
#include <cstring>

bool IsTemplate(const uint8_t* bytes) { return bytes[0] == kTemplateTag && bytes[3] <= kMaxMinutiae; }

namespace {

// For each byte of usable bits, the eight samples' mask: kUnusable where a
// bit is clear, 0 where it is set.
constexpr std::array<uint64_t, 256> MakeUnusableMasks() {
    std::array<uint64_t, 256> masks{};
    for (unsigned bits = 0; bits < 256; ++bits)
        for (int i = 0; i < 8; ++i)
            if (!(bits & (1u << i))) masks[bits] |= uint64_t{kUnusable} << (8 * i);
    return masks;
}
constexpr std::array<uint64_t, 256> kUnusableMasks = MakeUnusableMasks();

// Four bytes of two samples each as eight samples, the low half of each
// byte first.
uint64_t SpreadHalves(uint32_t packed) {
    uint64_t spread = packed;
    spread = (spread | spread << 16) & 0x0000FFFF0000FFFFull;
    spread = (spread | spread << 8) & 0x00FF00FF00FF00FFull;
    return (spread & 0x000F000F000F000Full) | (spread & 0x00F000F000F000F0ull) << 4;
}

}  // namespace

void UnpackFlow(const uint8_t* bytes, uint8_t orientation[kRings][kSectors], uint8_t ridges[kCountRadii][kSectors]) {
    // Two samples to a byte, eight to a byte of the usable bits: eight
    // samples at a time, without branches, as which samples are usable
    // follows no pattern. The template store unpacks thousands at start-up.
    static_assert(std::endian::native == std::endian::little);
    static_assert(kRings * kSectors % 8 == 0);
    const uint8_t* packed = bytes + kOrientationOffset;
    const uint8_t* usable = bytes + kUsableOffset;
    uint8_t* samples = &orientation[0][0];
    for (int group = 0; group < kRings * kSectors / 8; ++group) {
        uint32_t pairs;
        std::memcpy(&pairs, packed + 4 * group, sizeof pairs);
        const uint64_t eight = SpreadHalves(pairs) | kUnusableMasks[usable[group]];
        std::memcpy(samples + 8 * group, &eight, sizeof eight);
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
