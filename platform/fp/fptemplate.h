// The 169-byte fingerprint template and its unpacked form.
//
// Layout (bytes):
//   0       format tag kTemplateTag
//   1       quality 0..100
//   2       ridge period in 1/16 pixel
//   3       number of minutiae
//   4..7    core position in the image (x, y; little-endian 16-bit)
//   8..39   ridge orientation around the core, relative to the radial
//           direction: kRings rings x kSectors sectors, 4 bits each, in
//           16ths of a half turn
//   40..47  one bit per orientation sample: 1 = usable
//   48..111 ridges crossed walking out from the core, per sector, up to
//           each of the kCountRadius, in 1/8 ridge; 255 = not usable
//   112..167 minutiae nearest the core: x and y offsets from it, signed bytes
//   168     zero; in a live press, the number of further views of it
//           that follow the template (see ExtractLivePress)
#pragma once

#include <cstdint>

constexpr int kTemplateSize = 169;
constexpr int kStoredTemplateSize = 2 * kTemplateSize;  // two presses of one finger
constexpr int kRecordSize = 1024;
constexpr uint8_t kTemplateTag = 0x51;
constexpr int kViewCountOffset = kTemplateSize - 1;
// A live press: its template and up to this many more views of it.
constexpr int kMostOtherViews = 3;
constexpr int kLivePressSize = (1 + kMostOtherViews) * kTemplateSize;

constexpr int kRings = 2;
constexpr int kSectors = 32;
constexpr int kOrientationLevels = 16;
constexpr int kCountRadii = 2;
constexpr int kCountRadius[kCountRadii] = {36, 72};
constexpr int kMaxMinutiae = 28;
constexpr uint8_t kUnusable = 0xFF;

// Two presses are compared by their flow only where they share this many
// usable samples of each view; extraction refuses a press that has fewer,
// as it could not even be compared with itself.
constexpr int kMinSharedOrientations = 16;
constexpr int kMinSharedRidgeCounts = 8;

// Orientation ring r lies at radius kFirstRingRadius + r * kRingStep.
constexpr int kFirstRingRadius = 24;
constexpr int kRingStep = 24;

constexpr int kOrientationOffset = 8;
constexpr int kUsableOffset = kOrientationOffset + kRings * kSectors / 2;
constexpr int kCountOffset = kUsableOffset + kRings * kSectors / 8;
constexpr int kMinutiaeOffset = kCountOffset + kCountRadii * kSectors;
static_assert(kMinutiaeOffset + 2 * kMaxMinutiae < kTemplateSize, "the template holds every feature");

struct UnpackedTemplate {
    uint8_t orientation[kRings][kSectors];  // kUnusable where nothing was seen
    uint8_t ridges[kCountRadii][kSectors];
    int minutiaCount;
    int8_t minutiaX[kMaxMinutiae];
    int8_t minutiaY[kMaxMinutiae];
};

// False when the bytes are no template (wrong tag or impossible counts).
bool IsTemplate(const uint8_t* bytes);
bool UnpackTemplate(const uint8_t* bytes, UnpackedTemplate* out);
// The flow samples alone, of bytes IsTemplate accepts.
void UnpackFlow(const uint8_t* bytes, uint8_t orientation[kRings][kSectors], uint8_t ridges[kCountRadii][kSectors]);
