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

bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& data);
ImageFormat SniffImageFormat(const std::vector<uint8_t>& data);

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
