// Bitmaps and block transfers between DCs.
#include <algorithm>
#include <cstring>

#include "platform/ui/dc.h"
#include "platform/ui/dib.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/raster.h"
#include "platform/ui/syscolor.h"

namespace {

bool NeedsSource(DWORD rop) {
    return rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

Pixel Rop3(DWORD rop, Pixel s, Pixel d, Pixel p) {
    Pixel result;
    switch (rop) {
    case SRCPAINT: result = s | d; break;
    case SRCAND: result = s & d; break;
    case SRCINVERT: result = s ^ d; break;
    case SRCERASE: result = s & ~d; break;
    case NOTSRCCOPY: result = ~s; break;
    case NOTSRCERASE: result = ~(s | d); break;
    case MERGEPAINT: result = ~s | d; break;
    case PATCOPY: result = p; break;
    case PATINVERT: result = p ^ d; break;
    case DSTINVERT: result = ~d; break;
    case BLACKNESS: result = 0; break;
    case WHITENESS: result = 0xFFFFFF; break;
    default: result = s; break;
    }
    return result & 0xFFFFFF;
}

Pixel PatternOf(DeviceContext& dc) {
    std::optional<COLORREF> color = BrushColor(dc.state.brush);
    return color ? PixelFromColorRef(*color) : 0;
}

// Maps destination column/row `i` of `count` onto a source span of `span`,
// sampling at pixel centres.
int Sample(int i, int count, int span) {
    return static_cast<int>((2 * static_cast<int64_t>(i) + 1) * span / (2 * static_cast<int64_t>(count)));
}

// Transfers src rectangle `from` (surface coordinates of `src`) onto the
// DC rectangle `to`, stretching by nearest sample. Pixels whose source lies
// outside `src` stay as they are.
void Transfer(DeviceContext& dst, const RECT& to, const Surface* src, const RECT& from, DWORD rop) {
    int dw = to.right - to.left, dh = to.bottom - to.top;
    int sw = from.right - from.left, sh = from.bottom - from.top;
    if (dw <= 0 || dh <= 0 || (src != nullptr && (sw <= 0 || sh <= 0)))
        return;
    Pixel pattern = PatternOf(dst);
    RECT target = ToSurface(dst, to);
    bool sameSize = dw == sw && dh == sh;
    ForEachClipped(dst, target, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            Pixel* row = dst.surface->Row(y);
            int sy = src == nullptr ? 0 : from.top + (sameSize ? y - target.top : Sample(y - target.top, dh, sh));
            if (src != nullptr && (sy < 0 || sy >= src->Height()))
                continue;
            const Pixel* srcRow = src != nullptr ? src->Row(sy) : nullptr;
            if (srcRow != nullptr && sameSize && rop == SRCCOPY) {
                int first = std::max<int>(piece.left, target.left + (0 - from.left));
                int last = std::min<int>(piece.right, target.left + (src->Width() - from.left));
                for (int x = first; x < last; ++x)
                    row[x] = srcRow[from.left + x - target.left] & 0xFFFFFF;
                continue;
            }
            for (int x = piece.left; x < piece.right; ++x) {
                Pixel s = 0;
                if (srcRow != nullptr) {
                    int sx = from.left + (sameSize ? x - target.left : Sample(x - target.left, dw, sw));
                    if (sx < 0 || sx >= src->Width())
                        continue;
                    s = srcRow[sx];
                }
                row[x] = Rop3(rop, s, row[x], pattern);
            }
        }
    });
}

BOOL BlitBetween(HDC dstHandle, const RECT& to, HDC srcHandle, int xSrc, int ySrc, int srcWidth, int srcHeight,
                 DWORD rop) {
    DrawingOn dstDrawing(dstHandle);
    DeviceContext* dst = dstDrawing.get();
    if (dst == nullptr)
        return FALSE;
    if (!NeedsSource(rop)) {
        Transfer(*dst, to, nullptr, RECT{}, rop);
        return TRUE;
    }
    DrawingOn srcDrawing(srcHandle);
    DeviceContext* src = srcDrawing.get();
    if (src == nullptr || src->surface == nullptr)
        return FALSE;
    RECT from{xSrc + src->origin.x, ySrc + src->origin.y, xSrc + src->origin.x + srcWidth,
              ySrc + src->origin.y + srcHeight};
    if (src->surface != dst->surface) {
        Transfer(*dst, to, src->surface, from, rop);
        return TRUE;
    }
    // Source and destination overlap on one surface: copy the source first.
    Surface copy(srcWidth, srcHeight);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x)
            if (src->surface->Contains(from.left + x, from.top + y))
                copy.At(x, y) = src->surface->At(from.left + x, from.top + y);
    Transfer(*dst, to, &copy, RECT{0, 0, srcWidth, srcHeight}, rop);
    return TRUE;
}

// Decodes in-memory DIB bits; the caller vouches for the sizes.
bool DecodeMemoryDib(const BITMAPINFO* info, const void* bits, Surface& out) {
    if (info == nullptr || bits == nullptr)
        return false;
    DibLayout layout;
    size_t tableSize = 0;
    size_t available = info->bmiHeader.biSize + 3 * sizeof(DWORD) + 256 * sizeof(RGBQUAD);
    size_t stride = 0, total = 0;
    if (!ParseDibHeader(reinterpret_cast<const uint8_t*>(info), available, layout, tableSize) ||
        !DibSizes(layout.header, stride, total))
        return false;
    return DecodeDib(layout, static_cast<const uint8_t*>(bits), total, out);
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide)
        return nullptr;
    return RegisterGdiObject(new BitmapObject(width, height, 32));
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    return BlitBetween(dst, RECT{x, y, x + width, y + height}, src, xSrc, ySrc, width, height, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    return BlitBetween(dst, RECT{x, y, x + width, y + height}, src, xSrc, ySrc, srcWidth, srcHeight, rop);
}

int StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT, DWORD rop) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    Surface image;
    if (dc == nullptr || !DecodeMemoryDib(info, bits, image))
        return 0;
    // Bottom-up bits count source rows from the bottom.
    int top = info->bmiHeader.biHeight > 0 ? image.Height() - ySrc - srcHeight : ySrc;
    Transfer(*dc, RECT{xDest, yDest, xDest + destWidth, yDest + destHeight}, &image,
             RECT{xSrc, top, xSrc + srcWidth, top + srcHeight}, rop);
    return image.Height();
}
