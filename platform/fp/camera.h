// The simulated camera's picture: an image file when one is given, else a
// generated test card that changes from frame to frame.
#pragma once

#include <cstdint>
#include <string>

// Fills width x height pixels, 3 bytes each (blue, green, red), rows top to
// bottom. `picturePath` may name a BMP to show instead (scaled to fit).
void CameraFrame(const std::string& picturePath, uint32_t frameNumber, int width, int height, uint8_t* bgr);
