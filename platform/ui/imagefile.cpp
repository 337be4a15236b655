#include "platform/ui/imagefile.h"

#include <cstring>

#include "platform/base/host_read.h"
#include "platform/ui/dib.h"

bool IsImageSizeTaken(const ImageSize& size) {
    return size.width > 0 && size.height > 0 && size.width <= kMaxImageFileSide && size.height <= kMaxImageFileSide;
}

bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& data) {
    return ReadPlainHostFile(hostPath, data, kMaxImageFileSize) == HostRead::Read;
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

namespace {

// The header of a BMP file and where its pixels begin.
bool ParseBmp(const std::vector<uint8_t>& data, DibLayout& layout, uint32_t& bitsOffset) {
    constexpr size_t kFileHeader = 14;
    if (data.size() < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    bitsOffset = data[10] | (data[11] << 8) | (data[12] << 16) | (static_cast<uint32_t>(data[13]) << 24);
    size_t headerAndTable = 0;
    if (!ParseDibHeader(data.data() + kFileHeader, data.size() - kFileHeader, layout, headerAndTable))
        return false;
    return bitsOffset >= kFileHeader && bitsOffset < data.size();
}

ImageSize SizeOf(const BITMAPINFOHEADER& header) {
    return {header.biWidth, header.biHeight < 0 ? -int64_t{header.biHeight} : int64_t{header.biHeight}};
}

}  // namespace

bool BmpSize(const std::vector<uint8_t>& data, ImageSize& size) {
    DibLayout layout;
    uint32_t bitsOffset = 0;
    if (!ParseBmp(data, layout, bitsOffset))
        return false;
    size = SizeOf(layout.header);
    return true;
}

bool DecodeBmp(const std::vector<uint8_t>& data, Surface& out) {
    DibLayout layout;
    uint32_t bitsOffset = 0;
    if (!ParseBmp(data, layout, bitsOffset) || !IsImageSizeTaken(SizeOf(layout.header)))
        return false;
    return DecodeDib(layout, data.data() + bitsOffset, data.size() - bitsOffset, out);
}

namespace {

struct Codec {
    bool (*size)(const std::vector<uint8_t>& data, ImageSize& size);
    bool (*decode)(const std::vector<uint8_t>& data, Surface& out);
};

// The codec of `format`, recognised from the data when Unknown; null when
// there is none.
const Codec* CodecOf(const std::vector<uint8_t>& data, ImageFormat format) {
    static constexpr Codec kBmp{BmpSize, DecodeBmp}, kPng{PngSize, DecodePng}, kJpeg{JpegSize, DecodeJpeg};
    switch (format == ImageFormat::Unknown ? SniffImageFormat(data) : format) {
    case ImageFormat::Bmp: return &kBmp;
    case ImageFormat::Png: return &kPng;
    case ImageFormat::Jpeg: return &kJpeg;
    default: return nullptr;
    }
}

}  // namespace

bool ReadImageSize(const std::vector<uint8_t>& data, ImageFormat format, ImageSize& size) {
    const Codec* codec = CodecOf(data, format);
    return codec != nullptr && codec->size(data, size);
}

bool DecodeImage(const std::vector<uint8_t>& data, ImageFormat format, Surface& out) {
    const Codec* codec = CodecOf(data, format);
    return codec != nullptr && codec->decode(data, out);
}
