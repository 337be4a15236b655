// Clipped pixel operations on a DC's surface, shared by the drawing calls.
// Coordinates are the DC's own; the helpers add its origin and honour its
// effective clip.
#pragma once

#include <algorithm>

#include "platform/ui/dc.h"

// Calls `f(piece)` for every part of `rect` (surface coordinates) that the
// DC may draw on.
template <class F>
void ForEachClipped(DeviceContext& dc, const RECT& rect, F&& f) {
    for (const RECT& clip : dc.EffectiveClip().Rects()) {
        RECT piece{std::max(clip.left, rect.left), std::max(clip.top, rect.top), std::min(clip.right, rect.right),
                   std::min(clip.bottom, rect.bottom)};
        if (piece.left < piece.right && piece.top < piece.bottom)
            f(piece);
    }
}

// The DC's rectangle in surface coordinates.
inline RECT ToSurface(const DeviceContext& dc, const RECT& rect) {
    return RECT{rect.left + dc.origin.x, rect.top + dc.origin.y, rect.right + dc.origin.x, rect.bottom + dc.origin.y};
}

// Mixes a source pixel into a destination pixel by a binary raster
// operation (R2_COPYPEN, R2_XORPEN, R2_NOT ...).
Pixel ApplyRop2(int rop2, Pixel pen, Pixel dst);

void FillRectPixels(DeviceContext& dc, const RECT& rect, Pixel color, int rop2 = 13);
void PlotPixel(DeviceContext& dc, int x, int y, Pixel color, int rop2 = 13);

// Blends `color` over the pixel at surface (x, y) with coverage 0-255; the
// caller has clipped.
inline void BlendPixel(Pixel& dst, Pixel color, unsigned coverage) {
    if (coverage == 0)
        return;
    if (coverage >= 255) {
        dst = color & 0xFFFFFFu;
        return;
    }
    unsigned inverse = 255 - coverage;
    unsigned r = (((color >> 16) & 0xFF) * coverage + ((dst >> 16) & 0xFF) * inverse + 127) / 255;
    unsigned g = (((color >> 8) & 0xFF) * coverage + ((dst >> 8) & 0xFF) * inverse + 127) / 255;
    unsigned b = ((color & 0xFF) * coverage + (dst & 0xFF) * inverse + 127) / 255;
    dst = (r << 16) | (g << 8) | b;
}
