#include "main/GreyImage.h"

namespace {

struct GreyBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

GreyBitmapInfo MakeGreyInfo(int width, int height) {
    GreyBitmapInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top-down, as the sensor delivers it
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
        const BYTE level = static_cast<BYTE>(i);
        info.colours[i] = RGBQUAD{level, level, level, 0};
    }
    return info;
}

}  // namespace

void DrawGreyImage(CDC& dc, const CRect& rect, const BYTE* pixels, int width, int height) {
    const GreyBitmapInfo info = MakeGreyInfo(width, height);
    ::StretchDIBits(dc.GetSafeHdc(), rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, width, height, pixels,
                    reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
}
