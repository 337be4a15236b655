#include "platform/fp/greyimage.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The largest image read, at 32 bits, with the largest header and palette.
constexpr uintmax_t kLargestBmpBytes = 14 + 124 + 256 * 4 + uintmax_t{kMaxGreyImageSide} * kMaxGreyImageSide * 4;

uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

uint8_t Luma(uint8_t b, uint8_t g, uint8_t r) {
    return static_cast<uint8_t>((r * 77 + g * 150 + b * 29) >> 8);
}

}  // namespace

bool ReadGreyBmp(const std::string& path, GreyImage* image) {
    // A device named instead of an image would be read without end.
    std::error_code error;
    const std::filesystem::file_status kind = std::filesystem::status(path, error);
    if (std::filesystem::is_character_file(kind) || std::filesystem::is_block_file(kind) ||
        std::filesystem::is_directory(kind))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> file;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        file.insert(file.end(), chunk, chunk + in.gcount());
        if (file.size() > kLargestBmpBytes) return false;
    }
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return false;
    const uint32_t dataOffset = Le32(&file[10]);
    const uint32_t headerSize = Le32(&file[14]);
    const int32_t width = static_cast<int32_t>(Le32(&file[18]));
    const int32_t rawHeight = static_cast<int32_t>(Le32(&file[22]));
    const uint16_t bits = Le16(&file[28]);
    const uint32_t compression = Le32(&file[30]);
    uint32_t paletteCount = Le32(&file[46]);
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
    if (compression != 0 || width <= 0 || height <= 0 || width > kMaxGreyImageSide || height > kMaxGreyImageSide)
        return false;
    if (bits != 8 && bits != 24 && bits != 32) return false;
    if (bits == 8 && paletteCount == 0) paletteCount = 256;
    const size_t paletteOffset = 14 + static_cast<size_t>(headerSize);
    if (bits == 8 && (paletteCount > 256 || paletteOffset + paletteCount * 4 > file.size())) return false;
    const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) & ~size_t{3};
    if (dataOffset > file.size() || stride * height > file.size() - dataOffset) return false;

    GreyImage result(width, static_cast<int>(height));
    for (int y = 0; y < height; ++y) {
        const size_t fileRow = topDown ? y : height - 1 - y;
        const uint8_t* row = &file[dataOffset + fileRow * stride];
        for (int x = 0; x < width; ++x) {
            uint8_t grey;
            if (bits == 8) {
                const uint8_t index = row[x];
                if (index >= paletteCount) return false;
                const uint8_t* entry = &file[paletteOffset + index * 4];
                grey = Luma(entry[0], entry[1], entry[2]);
            } else {
                const uint8_t* px = row + static_cast<size_t>(x) * (bits / 8);
                grey = Luma(px[0], px[1], px[2]);
            }
            result.At(x, y) = grey;
        }
    }
    *image = std::move(result);
    return true;
}

bool WriteGreyBmp(const std::string& path, const GreyImage& image) {
    const size_t stride = (static_cast<size_t>(image.width) + 3) & ~size_t{3};
    const uint32_t dataOffset = 14 + 40 + 256 * 4;
    std::vector<uint8_t> out;
    out.reserve(dataOffset + stride * image.height);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(dataOffset + stride * image.height));
    Put32(out, 0);
    Put32(out, dataOffset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(stride * image.height));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) out.push_back(static_cast<uint8_t>(i));
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
        out.insert(out.end(), row, row + image.width);
        out.resize(out.size() + (stride - image.width), 0);
    }
    const std::string temp = path + ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()))) return false;
        file.flush();
        if (!file) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

GreyImage FitToFrame(const GreyImage& image, int width, int height) {
    GreyImage frame(width, height, 255);
    const int offsetX = (width - image.width) / 2;
    const int offsetY = (height - image.height) / 2;
    for (int y = 0; y < height; ++y) {
        const int sy = y - offsetY;
        if (sy < 0 || sy >= image.height) continue;
        for (int x = 0; x < width; ++x) {
            const int sx = x - offsetX;
            if (sx >= 0 && sx < image.width) frame.At(x, y) = image.At(sx, sy);
        }
    }
    return frame;
}
