#include "platform/ui/dib.h"

#include <bit>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

uint32_t ReadU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// One channel out of a packed pixel, scaled to 0-255.
uint32_t Channel(uint32_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    int bits = std::popcount(mask);
    uint32_t raw = (value & mask) >> shift;
    uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return bits >= 8 ? raw >> (bits - 8) : (raw * 255 + max / 2) / max;
}

Pixel FromMasks(uint32_t value, const uint32_t* masks) {
    uint32_t a = masks[3] != 0 ? Channel(value, masks[3]) : 0xFF;
    return (a << 24) | (Channel(value, masks[0]) << 16) | (Channel(value, masks[1]) << 8) | Channel(value, masks[2]);
}

Pixel FromPalette(const DibLayout& layout, size_t index) {
    if (index >= layout.paletteEntries)
        return 0xFF000000u;
    const uint8_t* entry = layout.palette + index * layout.paletteEntrySize;
    return 0xFF000000u | (entry[2] << 16) | (entry[1] << 8) | entry[0];
}

}  // namespace

bool DibSizes(const BITMAPINFOHEADER& header, size_t& stride, size_t& total) {
    int64_t width = header.biWidth;
    int64_t height = header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
        return false;
    switch (header.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    stride = static_cast<size_t>((width * header.biBitCount + 31) / 32 * 4);
    total = stride * static_cast<size_t>(height);
    return true;
}

bool ParseDibHeader(const uint8_t* info, size_t available, DibLayout& layout, size_t& headerAndTableSize) {
    if (available < 12)
        return false;
    uint32_t size = ReadU32(info);
    BITMAPINFOHEADER& h = layout.header;
    h = BITMAPINFOHEADER{};
    h.biSize = size;
    if (size == 12) {
        h.biWidth = ReadU16(info + 4);
        h.biHeight = static_cast<int16_t>(ReadU16(info + 6));
        h.biPlanes = ReadU16(info + 8);
        h.biBitCount = ReadU16(info + 10);
        h.biCompression = BI_RGB;
        layout.paletteEntrySize = 3;
    } else if (size >= 40 && size <= available) {
        h.biWidth = static_cast<int32_t>(ReadU32(info + 4));
        h.biHeight = static_cast<int32_t>(ReadU32(info + 8));
        h.biPlanes = ReadU16(info + 12);
        h.biBitCount = ReadU16(info + 14);
        h.biCompression = ReadU32(info + 16);
        h.biClrUsed = ReadU32(info + 32);
        layout.paletteEntrySize = 4;
    } else {
        return false;
    }
    size_t offset = size;
    if (h.biCompression == BI_BITFIELDS) {
        if (h.biBitCount != 16 && h.biBitCount != 32)
            return false;
        // Masks follow a plain header; later headers carry them inside.
        const uint8_t* masks = size >= 52 ? info + 40 : info + offset;
        if (size < 52) {
            if (available < offset + 12)
                return false;
            offset += 12;
        }
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = ReadU32(masks + 4 * i);
        layout.masks[3] = size >= 56 ? ReadU32(info + 52) : 0;
    } else if (h.biCompression != BI_RGB) {
        return false;
    } else if (h.biBitCount == 16) {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    } else if (h.biBitCount == 32) {
        layout.masks[0] = 0xFF0000;
        layout.masks[1] = 0x00FF00;
        layout.masks[2] = 0x0000FF;
    }
    layout.palette = nullptr;
    layout.paletteEntries = 0;
    if (h.biBitCount <= 8) {
        size_t entries = h.biClrUsed != 0 ? h.biClrUsed : (size_t{1} << h.biBitCount);
        entries = std::min<size_t>(entries, size_t{1} << h.biBitCount);
        size_t bytes = entries * layout.paletteEntrySize;
        if (available < offset + bytes)
            return false;
        layout.palette = info + offset;
        layout.paletteEntries = entries;
        offset += bytes;
    }
    headerAndTableSize = offset;
    return true;
}

bool DecodeDib(const DibLayout& layout, const uint8_t* bits, size_t bitsSize, Surface& out) {
    const BITMAPINFOHEADER& h = layout.header;
    size_t stride = 0, total = 0;
    if (bits == nullptr || !DibSizes(h, stride, total) || bitsSize < total)
        return false;
    int width = h.biWidth;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    bool topDown = h.biHeight < 0;
    Surface decoded(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bits + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        Pixel* dst = decoded.Row(y);
        for (int x = 0; x < width; ++x) {
            switch (h.biBitCount) {
            case 1: dst[x] = FromPalette(layout, (row[x >> 3] >> (7 - (x & 7))) & 1); break;
            case 4: dst[x] = FromPalette(layout, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
            case 8: dst[x] = FromPalette(layout, row[x]); break;
            case 16: dst[x] = FromMasks(ReadU16(row + 2 * x), layout.masks); break;
            case 24: dst[x] = 0xFF000000u | (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x]; break;
            case 32: dst[x] = FromMasks(ReadU32(row + 4 * x), layout.masks); break;
            }
        }
    }
    out = std::move(decoded);
    return true;
}
