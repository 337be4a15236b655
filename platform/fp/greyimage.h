// 8-bit grey images as the fingerprint sensor delivers them (one byte a
// pixel, rows top to bottom), and their BMP files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    GreyImage() = default;
    GreyImage(int w, int h, uint8_t fill = 255) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The largest finger or camera picture read, on either side: a few times
// the sensor's frame (at most 296 pixels) and the camera's (320 x 240). The
// sensor reads its image at every look, so a larger one would cost each
// look megabytes.
inline constexpr int kMaxGreyImageSide = 1024;

// Reads an 8-bit palettised, 24-bit or 32-bit BMP (bottom-up or top-down)
// and turns it grey; false when the file is missing, a device or folder, not
// such a BMP, or larger than kMaxGreyImageSide on a side.
bool ReadGreyBmp(const std::string& path, GreyImage* image);
// Writes an 8-bit BMP with a grey palette; the file appears complete or not
// at all.
bool WriteGreyBmp(const std::string& path, const GreyImage& image);

// The image centred in a frame of another size: cropped where it is larger,
// padded with white (no finger) where it is smaller.
GreyImage FitToFrame(const GreyImage& image, int width, int height);
