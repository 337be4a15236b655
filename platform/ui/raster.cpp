#include "platform/ui/raster.h"

#include <algorithm>

#include "platform/ui/gdi_types.h"

Pixel ApplyRop2(int rop2, Pixel pen, Pixel dst) {
    switch (rop2) {
    case R2_BLACK: return 0;
    case R2_WHITE: return 0xFFFFFF;
    case R2_NOT: return ~dst & 0xFFFFFF;
    case R2_XORPEN: return (pen ^ dst) & 0xFFFFFF;
    default: return pen & 0xFFFFFF;
    }
}

void FillRectPixels(DeviceContext& dc, const RECT& rect, Pixel color, int rop2) {
    ForEachClipped(dc, ToSurface(dc, rect), [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            Pixel* row = dc.surface->Row(y);
            if (rop2 == R2_COPYPEN) {
                std::fill(row + piece.left, row + piece.right, color & 0xFFFFFF);
                continue;
            }
            for (int x = piece.left; x < piece.right; ++x)
                row[x] = ApplyRop2(rop2, color, row[x]);
        }
    });
}

void PlotPixel(DeviceContext& dc, int x, int y, Pixel color, int rop2) {
    int sx = x + dc.origin.x;
    int sy = y + dc.origin.y;
    if (!dc.EffectiveClip().Contains(sx, sy))
        return;
    Pixel& dst = dc.surface->At(sx, sy);
    dst = ApplyRop2(rop2, color, dst);
}
