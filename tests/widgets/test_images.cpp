#include "tests/widgets/test_images.h"

#include <vector>

namespace {

std::unique_ptr<CxImage> FromPixels(const std::vector<Pixel>& pixels, int width, int height) {
    std::vector<BYTE> bytes;
    bytes.reserve(pixels.size() * 4);
    for (Pixel p : pixels) {
        bytes.push_back(static_cast<BYTE>(p));
        bytes.push_back(static_cast<BYTE>(p >> 8));
        bytes.push_back(static_cast<BYTE>(p >> 16));
        bytes.push_back(static_cast<BYTE>(p >> 24));
    }
    auto image = std::make_unique<CxImage>();
    image->CreateFromArray(bytes.data(), static_cast<DWORD>(width), static_cast<DWORD>(height), 32,
                           static_cast<DWORD>(width) * 4, false);
    return image;
}

}  // namespace

std::unique_ptr<CxImage> Recoloured(const CxImage& source, int steps) {
    const Surface& from = source.Pixels();
    std::vector<Pixel> pixels;
    for (int y = 0; y < from.Height(); ++y) {
        for (int x = 0; x < from.Width(); ++x) {
            Pixel p = from.At(x, y);
            for (int i = 0; i < steps; ++i) {
                const Pixel r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                p = (p & 0xFF000000u) | (g << 16) | (b << 8) | r;
            }
            pixels.push_back(p);
        }
    }
    return FromPixels(pixels, from.Width(), from.Height());
}

std::unique_ptr<CxImage> FieldFace(int width, int height, int border, unsigned edge, unsigned fill) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == height - 1);
            const bool frame = x < border || y < border || x >= width - border || y >= height - border;
            pixels.push_back(corner ? 0u : 0xFF000000u | (frame ? edge : fill));
        }
    }
    return FromPixels(pixels, width, height);
}

CString SaveTestImage(CxImage& image, const char16_t* name) {
    const CString path = CString(u"\\NandFlash\\zeta42\\") + name;
    image.Save(path, CXIMAGE_FORMAT_PNG);
    return path;
}
