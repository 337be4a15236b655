// The image decoders on arbitrary bytes (photos and skins come from
// removable media): each format's decoder either fails or yields a surface
// of a sane size, which is then drawn stretched into a memory bitmap.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/ui/dib.h"
#include "platform/ui/gdi.h"
#include "platform/ui/image.h"
#include "platform/ui/imagefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    for (ImageFormat format : {ImageFormat::Bmp, ImageFormat::Png, ImageFormat::Jpeg}) {
        Surface image;
        if (!DecodeImage(bytes, format, image))
            continue;
        if (image.Width() <= 0 || image.Height() <= 0 || image.Width() > kMaxImageSide ||
            image.Height() > kMaxImageSide)
            std::abort();
        if (static_cast<int64_t>(image.Width()) * image.Height() > 4096 * 4096)
            continue;
        CxImage picture;
        picture.CreateFromArray(reinterpret_cast<const BYTE*>(image.Pixels()), image.Width(), image.Height(), 32,
                                image.Stride() * 4, false);
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, 16, 16);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        picture.Draw(dc, -3, -2, 21, 13, nullptr, true);
        picture.Draw(dc, 2, 2);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    return 0;
}
