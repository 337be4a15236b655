// Pictures for widget tests that take their images from the caller: skin
// images in other colours, plain field faces, and files for the widgets that
// load images by path.
#pragma once

#include <memory>

#include "platform/base/CString.h"
#include "platform/ui/image.h"

// `source` with its red, green and blue channels rotated `steps` times
// (1: red takes green's value, green blue's, blue red's); alpha kept.
std::unique_ptr<CxImage> Recoloured(const CxImage& source, int steps);

// A w x h face: a `border`-wide frame in `edge` around a `fill` inside,
// with the four corner pixels left transparent. Colours are 0xRRGGBB.
std::unique_ptr<CxImage> FieldFace(int width, int height, int border, unsigned edge, unsigned fill);

// Saves `image` as PNG under the device root's application folder and
// returns its device path.
CString SaveTestImage(CxImage& image, const char16_t* name);
