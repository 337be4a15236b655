// The image decoders on arbitrary bytes (photos and skins come from
// removable media): each format's decoder either fails or yields a surface
// of the size its header declares, within the bound the terminal takes,
// which is then drawn stretched into a memory bitmap.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/ui/gdi.h"
#include "platform/ui/image.h"
#include "platform/ui/imagefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    for (ImageFormat format : {ImageFormat::Bmp, ImageFormat::Png, ImageFormat::Jpeg}) {
        Surface image;
        if (!DecodeImage(bytes, format, image))
            continue;
        // The decoder takes only what its header declares, within the bound.
        ImageSize declared;
        if (!ReadImageSize(bytes, format, declared) || declared.width != image.Width() ||
            declared.height != image.Height() || !IsImageSizeTaken(declared))
            std::abort();
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
