// Drawing of skin pieces that are stretched to a computed size.
#pragma once

#include "platform/ui/image.h"

// Draws `image` at (x, y) stretched to cx x cy. A computed size of zero or
// less draws nothing: a box narrower than its caps shows no middle piece,
// rather than the piece at its own size.
inline void DrawStretched(const CxImage& image, HDC dc, long x, long y, long cx, long cy, bool smooth) {
    if (cx <= 0 || cy <= 0) return;
    image.Draw(dc, x, y, cx, cy, nullptr, smooth);
}
