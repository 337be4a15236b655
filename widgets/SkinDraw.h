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

// Draws a strip from (x, y): the left cap, the middle piece stretched to
// `middleWidth` and the right cap after it.
inline void DrawCappedStrip(HDC dc, const CxImage& left, const CxImage& middle, const CxImage& right, long x, long y,
                            long middleWidth) {
    const long leftWidth = static_cast<long>(left.GetWidth());
    left.Draw(dc, x, y);
    DrawStretched(middle, dc, x + leftWidth, y, middleWidth, static_cast<long>(middle.GetHeight()), true);
    right.Draw(dc, x + leftWidth + middleWidth, y);
}
