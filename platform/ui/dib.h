// Device-independent bitmaps: the pixel layout of BMP files and of the
// bits handed to StretchDIBits. Decoding checks every size against the data
// actually present, so a hostile or truncated input fails instead of reading
// out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/ui/gdi_types.h"
#include "platform/ui/surface.h"

// Images larger than this on either side are refused.
inline constexpr int kMaxImageSide = 16384;

struct DibLayout {
    BITMAPINFOHEADER header{};
    // Channel masks for 16 and 32 bits (BI_BITFIELDS, or the defaults).
    uint32_t masks[4]{};  // red, green, blue, alpha (0 = opaque)
    const uint8_t* palette = nullptr;
    size_t paletteEntries = 0;
    size_t paletteEntrySize = 4;  // 3 for the oldest BMP header
};

// Fills `layout` from an info header (12, 40, 52, 56, 108 or 124 bytes) and
// what follows it (masks, colour table) within `available` bytes; returns in
// `headerAndTableSize` where the table ends.
bool ParseDibHeader(const uint8_t* info, size_t available, DibLayout& layout, size_t& headerAndTableSize);

// Bytes of one row, and of all rows, of the layout; false when too large.
bool DibSizes(const BITMAPINFOHEADER& header, size_t& stride, size_t& total);

// Decodes into a surface with alpha in the top byte (0xFF when opaque).
bool DecodeDib(const DibLayout& layout, const uint8_t* bits, size_t bitsSize, Surface& out);
