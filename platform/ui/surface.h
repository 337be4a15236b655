// A 32-bit pixel surface: the screen, a memory bitmap, a decoded image.
//
// One pixel format everywhere: 0x00RRGGBB in a uint32_t (the top byte is
// zero for opaque surfaces; decoded images keep their alpha there as
// 0xAARRGGBB). Rows are `stride` pixels apart; a surface made by the
// constructor owns its pixels, a view made by Surface::View does not.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/types.h"

typedef uint32_t Pixel;

inline constexpr Pixel PixelFromColorRef(COLORREF color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

inline constexpr COLORREF ColorRefFromPixel(Pixel pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

class Surface {
public:
    Surface() = default;
    // A zero-filled (black) surface; negative sizes give an empty one.
    Surface(int width, int height);
    // A surface over pixels owned by someone else (e.g. a back end's frame).
    static Surface View(Pixel* pixels, int width, int height, int stride);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_stride; }
    bool IsEmpty() const { return m_width <= 0 || m_height <= 0; }

    Pixel* Row(int y) { return m_pixels + static_cast<ptrdiff_t>(y) * m_stride; }
    const Pixel* Row(int y) const { return m_pixels + static_cast<ptrdiff_t>(y) * m_stride; }
    Pixel* Pixels() { return m_pixels; }
    const Pixel* Pixels() const { return m_pixels; }

    // Unchecked access; callers clip first.
    Pixel& At(int x, int y) { return Row(y)[x]; }
    Pixel At(int x, int y) const { return Row(y)[x]; }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    RECT Bounds() const { return RECT{0, 0, m_width, m_height}; }

    void Fill(Pixel pixel);

private:
    std::vector<Pixel> m_storage;
    Pixel* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
};
