// A memory DC over a bitmap of a given size, for pixel checks.
#pragma once

#include <algorithm>
#include <ostream>

#include "platform/ui/afxgdi.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/rect.h"
#include "platform/ui/surface.h"

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        previous = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // The bitmap's pixel, whatever the DC's clip.
    COLORREF At(int x, int y) const { return ColorRefFromPixel(Pixels().At(x, y)); }
    const Surface& Pixels() const { return GdiObjectFromHandleAs<BitmapObject>(bitmap)->surface; }
    int Width() const { return Pixels().Width(); }
    int Height() const { return Pixels().Height(); }

    // Pixels that differ from `background`, as a bounding box; empty when none.
    RECT Ink(COLORREF background = RGB(255, 255, 255)) const {
        RECT box{Width(), Height(), 0, 0};
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (At(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        if (box.right == 0)
            box = RECT{0, 0, 0, 0};
        return box;
    }

    int CountColor(COLORREF color) const {
        int count = 0;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                count += At(x, y) == color;
        return count;
    }

    bool SameAs(const Canvas& other) const {
        if (Width() != other.Width() || Height() != other.Height())
            return false;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (At(x, y) != other.At(x, y))
                    return false;
        return true;
    }

    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
