#include "platform/ui/imagefile.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/ui/dib.h"

bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& data) {
    std::ifstream file(hostPath, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    std::streamoff size = file.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxImageFileSize)
        return false;
    data.resize(static_cast<size_t>(size));
    file.seekg(0);
    return static_cast<bool>(file.read(reinterpret_cast<char*>(data.data()), size));
}

ImageFormat SniffImageFormat(const std::vector<uint8_t>& data) {
    static const uint8_t png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data.size() >= 8 && std::memcmp(data.data(), png, 8) == 0)
        return ImageFormat::Png;
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return ImageFormat::Jpeg;
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M')
        return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

bool DecodeBmp(const std::vector<uint8_t>& data, Surface& out) {
    constexpr size_t kFileHeader = 14;
    if (data.size() < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    uint32_t bitsOffset = data[10] | (data[11] << 8) | (data[12] << 16) | (static_cast<uint32_t>(data[13]) << 24);
    DibLayout layout;
    size_t headerAndTable = 0;
    if (!ParseDibHeader(data.data() + kFileHeader, data.size() - kFileHeader, layout, headerAndTable))
        return false;
    if (bitsOffset < kFileHeader || bitsOffset >= data.size())
        return false;
    return DecodeDib(layout, data.data() + bitsOffset, data.size() - bitsOffset, out);
}

bool DecodeImage(const std::vector<uint8_t>& data, ImageFormat format, Surface& out) {
    if (format == ImageFormat::Unknown)
        format = SniffImageFormat(data);
    switch (format) {
    case ImageFormat::Bmp: return DecodeBmp(data, out);
    case ImageFormat::Png: return DecodePng(data, out);
    case ImageFormat::Jpeg: return DecodeJpeg(data, out);
    default: return false;
    }
}
