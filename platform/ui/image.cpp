#include "platform/ui/image.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/utf.h"
#include "platform/ui/dc.h"
#include "platform/ui/dib.h"
#include "platform/ui/hostpath.h"
#include "platform/ui/imagefile.h"
#include "platform/ui/raster.h"

namespace {

ImageFormat FormatOf(DWORD type) {
    switch (type) {
    case CXIMAGE_FORMAT_UNKNOWN: return ImageFormat::Unknown;
    case CXIMAGE_FORMAT_BMP: return ImageFormat::Bmp;
    case CXIMAGE_FORMAT_JPG: return ImageFormat::Jpeg;
    case CXIMAGE_FORMAT_PNG: return ImageFormat::Png;
    default: return ImageFormat::Unknown;
    }
}

DWORD TypeOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp: return CXIMAGE_FORMAT_BMP;
    case ImageFormat::Jpeg: return CXIMAGE_FORMAT_JPG;
    case ImageFormat::Png: return CXIMAGE_FORMAT_PNG;
    default: return CXIMAGE_FORMAT_UNKNOWN;
    }
}

unsigned Lerp(unsigned a, unsigned b, unsigned t) { return (a * (256 - t) + b * t + 128) >> 8; }

Pixel Mix(Pixel a, Pixel b, unsigned t) {
    Pixel result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= Lerp((a >> shift) & 0xFF, (b >> shift) & 0xFF, t) << shift;
    return result;
}

// Source position of destination index `i` of `count` over `span` source
// pixels, in 1/256 pixel, centred on pixel centres.
int64_t SubPixel(int64_t i, int64_t count, int64_t span) { return (2 * i + 1) * span * 256 / (2 * count) - 128; }

Pixel SampleSmooth(const Surface& image, int64_t fx, int64_t fy) {
    int64_t maxX = image.Width() - 1, maxY = image.Height() - 1;
    fx = std::clamp<int64_t>(fx, 0, maxX * 256);
    fy = std::clamp<int64_t>(fy, 0, maxY * 256);
    int x0 = static_cast<int>(fx >> 8), y0 = static_cast<int>(fy >> 8);
    int x1 = std::min<int>(x0 + 1, static_cast<int>(maxX)), y1 = std::min<int>(y0 + 1, static_cast<int>(maxY));
    unsigned tx = static_cast<unsigned>(fx & 0xFF), ty = static_cast<unsigned>(fy & 0xFF);
    Pixel top = Mix(image.At(x0, y0), image.At(x1, y0), tx);
    Pixel bottom = Mix(image.At(x0, y1), image.At(x1, y1), tx);
    return Mix(top, bottom, ty);
}

}  // namespace

bool IsImageFileTooLarge(LPCTSTR fileName) {
    if (fileName == nullptr)
        return false;
    const std::string path = HostPathOf(fileName);
    std::vector<uint8_t> data;
    if (!ReadHostFile(path, data)) {
        std::error_code error;
        const uintmax_t bytes = std::filesystem::file_size(path, error);
        return !error && bytes > kMaxImageFileSize;
    }
    ImageSize size;
    return ReadImageSize(data, ImageFormat::Unknown, size) && !IsImageSizeTaken(size);
}

CxImage::CxImage(LPCTSTR fileName, DWORD imageType) { Load(fileName, imageType); }

bool CxImage::Load(LPCTSTR fileName, DWORD imageType) {
    Destroy();
    if (fileName == nullptr)
        return false;
    ImageFormat format = FormatOf(imageType);
    if (format == ImageFormat::Unknown && imageType != CXIMAGE_FORMAT_UNKNOWN)
        return false;
    std::vector<uint8_t> data;
    if (!ReadHostFile(HostPathOf(fileName), data))
        return false;
    if (format == ImageFormat::Unknown)
        format = SniffImageFormat(data);
    if (!DecodeImage(data, format, m_pixels))
        return false;
    m_type = TypeOf(format);
    return true;
}

bool CxImage::Save(LPCTSTR fileName, DWORD imageType) {
    if (!IsValid() || fileName == nullptr)
        return false;
    std::string path = HostPathOf(fileName);
    switch (imageType) {
    case CXIMAGE_FORMAT_JPG: return WriteJpeg(m_pixels, path, m_jpegQuality);
    case CXIMAGE_FORMAT_PNG: return WritePng(m_pixels, path, true);
    default: return false;
    }
}

void CxImage::Destroy() {
    m_pixels = Surface();
    m_type = CXIMAGE_FORMAT_UNKNOWN;
}

bool CxImage::CreateFromArray(const BYTE* pixels, DWORD width, DWORD height, DWORD bitsPerPixel, DWORD bytesPerLine,
                              bool flip) {
    Destroy();
    if (pixels == nullptr || width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide ||
        (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) ||
        bytesPerLine < width * (bitsPerPixel / 8))
        return false;
    Surface made(static_cast<int>(width), static_cast<int>(height));
    int bytes = static_cast<int>(bitsPerPixel / 8);
    for (int y = 0; y < made.Height(); ++y) {
        const BYTE* row = pixels + static_cast<size_t>(flip ? made.Height() - 1 - y : y) * bytesPerLine;
        Pixel* dst = made.Row(y);
        for (int x = 0; x < made.Width(); ++x) {
            const BYTE* p = row + static_cast<ptrdiff_t>(x) * bytes;
            if (bytes == 1)
                dst[x] = 0xFF000000u | (p[0] << 16) | (p[0] << 8) | p[0];
            else
                dst[x] = (bytes == 4 ? static_cast<Pixel>(p[3]) << 24 : 0xFF000000u) | (p[2] << 16) | (p[1] << 8) | p[0];
        }
    }
    m_pixels = std::move(made);
    return true;
}

long CxImage::Draw(HDC handle, long x, long y, long cx, long cy, RECT* clip, bool smooth) const {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || !IsValid())
        return 0;
    if (cx == -1)
        cx = m_pixels.Width();
    if (cy == -1)
        cy = m_pixels.Height();
    if (cx <= 0 || cy <= 0)
        return 0;
    auto Clamp = [](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, -(1 << 30), 1 << 30)); };
    RECT target{Clamp(x), Clamp(y), Clamp(int64_t{x} + cx), Clamp(int64_t{y} + cy)};
    RECT area = target;
    if (clip != nullptr)
        area = RECT{std::max(area.left, clip->left), std::max(area.top, clip->top), std::min(area.right, clip->right),
                    std::min(area.bottom, clip->bottom)};
    int sw = m_pixels.Width(), sh = m_pixels.Height();
    bool natural = cx == sw && cy == sh;
    ForEachClipped(*dc, ToSurface(*dc, area), [&](const RECT& piece) {
        for (int py = piece.top; py < piece.bottom; ++py) {
            int64_t j = py - dc->origin.y - int64_t{target.top};
            Pixel* row = dc->surface->Row(py);
            for (int px = piece.left; px < piece.right; ++px) {
                int64_t i = px - dc->origin.x - int64_t{target.left};
                Pixel source;
                if (natural)
                    source = m_pixels.At(static_cast<int>(i), static_cast<int>(j));
                else if (smooth)
                    source = SampleSmooth(m_pixels, SubPixel(i, cx, sw), SubPixel(j, cy, sh));
                else
                    source = m_pixels.At(static_cast<int>((2 * i + 1) * sw / (2 * int64_t{cx})),
                                         static_cast<int>((2 * j + 1) * sh / (2 * int64_t{cy})));
                BlendPixel(row[px], source, source >> 24);
            }
        }
    });
    return 1;
}

long CxImage::Draw(HDC dc, const RECT& rect, RECT* clip, bool smooth) const {
    return Draw(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, clip, smooth);
}

DWORD CxImage::GetTypeIdFromName(LPCTSTR extension) {
    if (extension == nullptr)
        return CXIMAGE_FORMAT_UNKNOWN;
    std::string ext = Utf16ToUtf8(extension);
    if (!ext.empty() && ext[0] == '.')
        ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const struct {
        const char* name;
        DWORD type;
    } kTypes[] = {{"bmp", CXIMAGE_FORMAT_BMP},  {"gif", CXIMAGE_FORMAT_GIF},  {"jpg", CXIMAGE_FORMAT_JPG},
                  {"jpeg", CXIMAGE_FORMAT_JPG}, {"jpe", CXIMAGE_FORMAT_JPG},  {"jfi", CXIMAGE_FORMAT_JPG},
                  {"jfif", CXIMAGE_FORMAT_JPG}, {"png", CXIMAGE_FORMAT_PNG},  {"ico", CXIMAGE_FORMAT_ICO},
                  {"cur", CXIMAGE_FORMAT_ICO},  {"tif", CXIMAGE_FORMAT_TIF},  {"tiff", CXIMAGE_FORMAT_TIF},
                  {"tga", CXIMAGE_FORMAT_TGA},  {"pcx", CXIMAGE_FORMAT_PCX},  {"wbmp", CXIMAGE_FORMAT_WBMP},
                  {"wbm", CXIMAGE_FORMAT_WBMP}};
    for (const auto& entry : kTypes)
        if (ext == entry.name)
            return entry.type;
    return CXIMAGE_FORMAT_UNKNOWN;
}
