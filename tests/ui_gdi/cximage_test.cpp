// The image class: loading by device path, drawing with alpha, stretching,
// clipping, saving.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/ui/image.h"
#include "platform/ui/imagefile.h"
#include "tests/support/device_root.h"
#include "tests/support/golden.h"
#include "tests/ui_gdi/canvas.h"

namespace {

Surface Gradient(int width, int height, bool withAlpha) {
    Surface image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Pixel alpha = withAlpha ? static_cast<Pixel>(255 * x / (width - 1)) : 255;
            image.At(x, y) = (alpha << 24) | (static_cast<Pixel>(255 * y / (height - 1)) << 16) | 0x40;
        }
    return image;
}

}  // namespace

TEST(DeviceImages, LoadsByDevicePathWhateverTheCaseAndDoubledSeparators) {
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/Skin/Dialog"));
    ASSERT_TRUE(WritePng(Gradient(8, 4, true), root.HostPath("NandFlash/zeta42/Skin/Dialog/FP.PNG"), true));
    CxImage png(u"\\NandFlash\\zeta42\\skin\\\\Dialog\\fp.png", CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(png.IsValid());
    EXPECT_EQ(png.GetWidth(), 8u);
    EXPECT_EQ(png.GetHeight(), 4u);
    EXPECT_EQ(png.GetType(), static_cast<DWORD>(CXIMAGE_FORMAT_PNG));

    CxImage wrongType(u"\\NandFlash\\zeta42\\Skin\\Dialog\\FP.PNG", CXIMAGE_FORMAT_BMP);
    EXPECT_FALSE(wrongType.IsValid());
    CxImage sniffed(u"\\NandFlash\\zeta42\\Skin\\Dialog\\FP.PNG", CXIMAGE_FORMAT_UNKNOWN);
    EXPECT_TRUE(sniffed.IsValid());
    CxImage unsupported(u"\\NandFlash\\zeta42\\Skin\\Dialog\\FP.PNG", CXIMAGE_FORMAT_TIF);
    EXPECT_FALSE(unsupported.IsValid());
}

TEST(DeviceImages, SavesJpegAtomically) {
    ScopedDeviceRoot root;
    CxImage image;
    Surface gradient = Gradient(20, 10, false);
    ASSERT_TRUE(image.CreateFromArray(reinterpret_cast<const BYTE*>(gradient.Pixels()), 20, 10, 32, 80, false));
    image.SetJpegQuality(80);
    EXPECT_FALSE(image.Save(u"\\NandFlash\\zeta42\\ICON\\0001.jpg", CXIMAGE_FORMAT_JPG));  // no folder yet
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/ICON"));
    ASSERT_TRUE(image.Save(u"\\NandFlash\\zeta42\\ICON\\0001.jpg", CXIMAGE_FORMAT_JPG));
    CxImage back(u"\\NandFlash\\zeta42\\ICON\\0001.jpg", CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.GetWidth(), 20u);
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/ICON/0001.jpg.tmp")));
    EXPECT_FALSE(image.Save(u"\\NandFlash\\zeta42\\ICON\\0001.gif", CXIMAGE_FORMAT_GIF));
    CxImage empty;
    EXPECT_FALSE(empty.Save(u"\\NandFlash\\zeta42\\ICON\\0002.jpg", CXIMAGE_FORMAT_JPG));
}

TEST(DeviceImages, AlphaAndStretchedImagesOverABackground) {
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/Skin/Dialog"));
    ASSERT_TRUE(WritePng(Gradient(64, 32, true), root.HostPath("NandFlash/zeta42/Skin/Dialog/fade.png"), true));
    CxImage fade(u"\\NandFlash\\zeta42\\Skin\\Dialog\\fade.png", CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(fade.IsValid());
    Canvas canvas(320, 240);
    CDC* dc = CDC::FromHandle(canvas.dc);
    for (int i = 0; i < 8; ++i)
        dc->FillSolidRect(i * 40, 0, 40, 240, i % 2 ? RGB(250, 250, 250) : RGB(30, 90, 160));
    fade.Draw(canvas.dc, 10, 10);
    fade.Draw(canvas.dc, 10, 60, 200, 60);
    fade.Draw(canvas.dc, 10, 130, 200, 60, nullptr, true);
    fade.Draw(canvas.dc, 280, 200);  // cut by the right and bottom edges
    EXPECT_TRUE(MatchesGolden(canvas.Pixels(), "gdi_images"));
}


TEST(Image, DrawsWithAlphaAtItsOwnSizeClipped) {
    const BYTE pixels[] = {0, 0, 255, 128, 255, 0, 0, 255,  // red at half alpha, blue
                           0, 255, 0, 255, 0, 0, 0, 0};     // green, fully transparent
    CxImage image;
    ASSERT_TRUE(image.CreateFromArray(pixels, 2, 2, 32, 8, false));
    EXPECT_EQ(image.GetWidth(), 2u);
    Canvas canvas(4, 4);
    EXPECT_EQ(image.Draw(canvas.dc, 1, 1), 1);
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 127, 127));
    EXPECT_EQ(canvas.At(2, 1), kBlue);
    EXPECT_EQ(canvas.At(1, 2), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(2, 2), kWhite);

    Canvas shifted(4, 4);
    image.Draw(shifted.dc, -1, -1);  // a negative origin shows the lower-right part
    EXPECT_EQ(shifted.At(0, 0), kWhite);
    EXPECT_EQ(shifted.CountColor(kWhite), 16);
    Canvas clipped(4, 4);
    RECT clip{0, 0, 2, 1};
    image.Draw(clipped.dc, 1, 0, -1, -1, &clip);
    EXPECT_EQ(clipped.At(1, 0), RGB(255, 127, 127));
    EXPECT_EQ(clipped.At(2, 0), kWhite);
    EXPECT_EQ(image.Draw(clipped.dc, 0, 0, 0, 5), 0);
}

TEST(Image, StretchesByNearestOrSmoothSampling) {
    const BYTE pixels[] = {0, 0, 0, 255, 255, 255};  // black, white (24 bits)
    CxImage image;
    ASSERT_TRUE(image.CreateFromArray(pixels, 2, 1, 24, 8, false));
    Canvas nearest(4, 1, kRed), smooth(4, 1, kRed);
    image.Draw(nearest.dc, 0, 0, 4, 1);
    image.Draw(smooth.dc, 0, 0, 4, 1, nullptr, true);
    EXPECT_EQ(nearest.At(1, 0), kBlack);
    EXPECT_EQ(nearest.At(2, 0), kWhite);
    EXPECT_EQ(smooth.At(0, 0), kBlack);
    EXPECT_EQ(smooth.At(3, 0), kWhite);
    COLORREF mid = smooth.At(1, 0);
    EXPECT_GT(GetRValue(mid), 0);
    EXPECT_LT(GetRValue(mid), 255);
    EXPECT_EQ(GetRValue(mid), GetBValue(mid));

    // A width computed in unsigned arithmetic that wrapped round is drawn
    // as the huge stretch it asks for, clipped, without running away.
    Canvas wide(4, 1, kRed);
    EXPECT_EQ(image.Draw(wide.dc, 0, 0, 0xFFFFFFF0L, 1), 1);
    EXPECT_EQ(wide.At(3, 0), kBlack);
}

TEST(Image, FailedLoadsLeaveAnEmptyImage) {
    CxImage image(u"/no/such/skin.png", CXIMAGE_FORMAT_PNG);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHeight(), 0u);
    Canvas canvas(4, 4);
    EXPECT_EQ(image.Draw(canvas.dc, 0, 0), 0);
    EXPECT_EQ(canvas.CountColor(kWhite), 16);
    EXPECT_EQ(CxImage::GetTypeIdFromName(u".JPG"), static_cast<DWORD>(CXIMAGE_FORMAT_JPG));
    EXPECT_EQ(CxImage::GetTypeIdFromName(u"png"), static_cast<DWORD>(CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(CxImage::GetTypeIdFromName(u"xyz"), static_cast<DWORD>(CXIMAGE_FORMAT_UNKNOWN));
}
