// Image files on the host: decoding BMP, PNG and JPEG into surfaces with
// alpha (0xAARRGGBB), and writing PNG and JPEG. Every decoder checks sizes
// and fails cleanly on truncated or hostile data. Paths here are host paths;
// the image class maps device paths onto them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/surface.h"

enum class ImageFormat { Unknown, Bmp, Png, Jpeg };

// Files larger than this are not read.
inline constexpr size_t kMaxImageFileSize = 64u << 20;

// Every image file the terminal reads (skin, icons, photos) is shown on its
// 320 x 240 screen, and none needs more than four screen widths on a side.
// A larger one is refused as a damaged file is, from its header, before its
// pixels take any memory: a small file may declare gigabytes of them.
inline constexpr int kMaxImageFileSide = 4 * 320;

struct ImageSize {
    int64_t width = 0;
    int64_t height = 0;
};

// True when both sides lie within 1 .. kMaxImageFileSide.
bool IsImageSizeTaken(const ImageSize& size);

// A plain file only: a folder, pipe or device in its place is not read.
bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& data);
ImageFormat SniffImageFormat(const std::vector<uint8_t>& data);

// The size the image declares, from its header alone; false when the data
// holds no header the decoder takes. Unknown recognises the format.
bool BmpSize(const std::vector<uint8_t>& data, ImageSize& size);
bool PngSize(const std::vector<uint8_t>& data, ImageSize& size);
bool JpegSize(const std::vector<uint8_t>& data, ImageSize& size);
bool ReadImageSize(const std::vector<uint8_t>& data, ImageFormat format, ImageSize& size);

// Each refuses an image whose size IsImageSizeTaken refuses.
bool DecodeBmp(const std::vector<uint8_t>& data, Surface& out);
bool DecodePng(const std::vector<uint8_t>& data, Surface& out);
bool DecodeJpeg(const std::vector<uint8_t>& data, Surface& out);
bool DecodeImage(const std::vector<uint8_t>& data, ImageFormat format, Surface& out);

// Writes replace the file atomically: readers see the old or the new one.
// `withAlpha` false writes an opaque RGB image whatever the top byte holds
// (screen surfaces keep zero there). `fast` trades a larger file for an
// encoding several times quicker.
bool WritePng(const Surface& surface, const std::string& hostPath, bool withAlpha, bool fast = false);
bool WriteJpeg(const Surface& surface, const std::string& hostPath, int quality);

// Screenshots and golden images: the opaque pixels of a surface, written
// fast because the screen file follows every change of the screen.
inline bool SaveSurfacePng(const Surface& surface, const std::string& hostPath) {
    return WritePng(surface, hostPath, false, true);
}
