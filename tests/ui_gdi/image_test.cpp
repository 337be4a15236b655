// Image decoding: BMP of every depth, PNG colour types, JPEG, and hostile
// or truncated files.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/imagefile.h"
#include "tests/ui_gdi/canvas.h"

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

// A BMP file with a 40-byte header (plus masks for BI_BITFIELDS), the
// palette given, and `rows` top row first whatever the storage order.
std::vector<uint8_t> MakeBmp(int width, int bits, bool topDown, const std::vector<uint32_t>& palette,
                             const std::vector<std::vector<uint8_t>>& rows, const std::vector<uint32_t>& masks = {}) {
    int height = static_cast<int>(rows.size());
    size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    size_t offset = 14 + 40 + masks.size() * 4 + palette.size() * 4;
    std::vector<uint8_t> file(offset + stride * height);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, static_cast<uint32_t>(offset));
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<uint32_t>(width));
    Put32(file, 22, static_cast<uint32_t>(topDown ? -height : height));
    Put16(file, 26, 1);
    Put16(file, 28, static_cast<uint32_t>(bits));
    Put32(file, 30, masks.empty() ? BI_RGB : BI_BITFIELDS);
    Put32(file, 46, static_cast<uint32_t>(palette.size()));
    size_t at = 54;
    for (uint32_t m : masks) {
        Put32(file, at, m);
        at += 4;
    }
    for (uint32_t c : palette) {
        Put32(file, at, c);  // 0x00RRGGBB is B, G, R, 0 in the file
        at += 4;
    }
    for (int y = 0; y < height; ++y) {
        int stored = topDown ? y : height - 1 - y;
        std::memcpy(file.data() + offset + stride * stored, rows[y].data(), rows[y].size());
    }
    return file;
}

Pixel Decoded(const std::vector<uint8_t>& file, int x, int y) {
    Surface out;
    EXPECT_TRUE(DecodeBmp(file, out));
    return out.IsEmpty() ? 0 : out.At(x, y);
}

// A PNG written by libpng itself, for colour types our writer never makes.
std::vector<uint8_t> EncodeWithLibpng(png_image& image, const void* pixels, const void* colormap) {
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, colormap))
        return {};
    std::vector<uint8_t> encoded(size);
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, pixels, 0, colormap))
        return {};
    return encoded;
}

std::string TempPath(const std::string& name) { return testing::TempDir() + "/ui_gdi_" + name; }

}  // namespace

TEST(Bmp, PalettedDepths) {
    std::vector<uint32_t> two{0x000000, 0xFF0000};
    auto mono = MakeBmp(9, 1, false, two, {{0x80, 0x80}, {0x00, 0x00}});
    EXPECT_EQ(Decoded(mono, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Decoded(mono, 1, 0), 0xFF000000u);
    EXPECT_EQ(Decoded(mono, 8, 0), 0xFFFF0000u);
    EXPECT_EQ(Decoded(mono, 0, 1), 0xFF000000u);

    std::vector<uint32_t> sixteen(16, 0x000000);
    sixteen[3] = 0x00FF00;
    sixteen[12] = 0x0000FF;
    auto nibbles = MakeBmp(3, 4, true, sixteen, {{0x3C, 0x30}});
    EXPECT_EQ(Decoded(nibbles, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(Decoded(nibbles, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(Decoded(nibbles, 2, 0), 0xFF00FF00u);

    std::vector<uint32_t> grey(256);
    for (uint32_t i = 0; i < 256; ++i)
        grey[i] = i * 0x010101u;
    auto bytes = MakeBmp(2, 8, false, grey, {{10, 20}, {30, 40}});
    EXPECT_EQ(Decoded(bytes, 1, 0), 0xFF141414u);
    EXPECT_EQ(Decoded(bytes, 0, 1), 0xFF1E1E1Eu);
    // An index past the colour table is black, not a read out of bounds.
    auto shortTable = MakeBmp(1, 8, false, {0xFFFFFF}, {{200}});
    EXPECT_EQ(Decoded(shortTable, 0, 0), 0xFF000000u);
}

TEST(Bmp, DirectColourDepthsAndOrder) {
    auto rgb555 = MakeBmp(1, 16, false, {}, {{0x00, 0x7C}});  // red 31
    EXPECT_EQ(Decoded(rgb555, 0, 0), 0xFFFF0000u);
    auto rgb565 = MakeBmp(1, 16, false, {}, {{0xE0, 0x07}}, {0xF800, 0x07E0, 0x001F});  // green 63
    EXPECT_EQ(Decoded(rgb565, 0, 0), 0xFF00FF00u);
    auto bgr = MakeBmp(2, 24, false, {}, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    EXPECT_EQ(Decoded(bgr, 0, 0), 0xFF030201u);
    EXPECT_EQ(Decoded(bgr, 1, 1), 0xFF0C0B0Au);
    auto topDown = MakeBmp(2, 24, true, {}, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    EXPECT_EQ(Decoded(topDown, 0, 0), 0xFF030201u);
    EXPECT_EQ(Decoded(topDown, 1, 1), 0xFF0C0B0Au);
    auto bgrx = MakeBmp(1, 32, false, {}, {{0x10, 0x20, 0x30, 0x00}});
    EXPECT_EQ(Decoded(bgrx, 0, 0), 0xFF302010u);  // plain 32 bits are opaque
    auto bgra = MakeBmp(1, 32, false, {}, {{0x10, 0x20, 0x30, 0x80}},
                        {0x00FF0000, 0x0000FF00, 0x000000FF});
    EXPECT_EQ(Decoded(bgra, 0, 0), 0xFF302010u);
}

TEST(Bmp, TruncatedAndHostileFilesFail) {
    auto good = MakeBmp(4, 24, false, {}, {std::vector<uint8_t>(12, 0x55), std::vector<uint8_t>(12, 0x66)});
    Surface out;
    for (size_t cut : {size_t{0}, size_t{2}, size_t{20}, good.size() - 1}) {
        std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(DecodeBmp(truncated, out)) << cut;
    }
    auto huge = good;
    Put32(huge, 18, 0x40000000);  // a billion pixels wide
    EXPECT_FALSE(DecodeBmp(huge, out));
    auto negativeWidth = good;
    Put32(negativeWidth, 18, static_cast<uint32_t>(-4));
    EXPECT_FALSE(DecodeBmp(negativeWidth, out));
    auto badOffset = good;
    Put32(badOffset, 10, 0xFFFFFFF0u);
    EXPECT_FALSE(DecodeBmp(badOffset, out));
    auto badDepth = good;
    Put16(badDepth, 28, 7);
    EXPECT_FALSE(DecodeBmp(badDepth, out));
    auto hugeTable = MakeBmp(1, 8, false, {0}, {{0}});
    Put32(hugeTable, 46, 0x7FFFFFFF);
    EXPECT_FALSE(DecodeBmp(hugeTable, out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(Png, AlphaRoundTripAndColourTypes) {
    Surface image(3, 2);
    image.At(0, 0) = 0x80FF0000;
    image.At(1, 0) = 0xFF00FF00;
    image.At(2, 1) = 0x00000000;
    std::string path = TempPath("alpha.png");
    ASSERT_TRUE(WritePng(image, path, true));
    std::vector<uint8_t> data;
    ASSERT_TRUE(ReadHostFile(path, data));
    Surface back;
    ASSERT_TRUE(DecodePng(data, back));
    EXPECT_EQ(back.At(0, 0), 0x80FF0000u);
    EXPECT_EQ(back.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(back.At(2, 1) >> 24, 0u);

    // Grey with alpha, and a palette with transparency, written by libpng.
    png_image grey{};
    grey.version = PNG_IMAGE_VERSION;
    grey.width = 2;
    grey.height = 1;
    grey.format = PNG_FORMAT_GA;
    const uint8_t ga[] = {0x40, 0xFF, 0xC0, 0x00};
    std::vector<uint8_t> encoded = EncodeWithLibpng(grey, ga, nullptr);
    ASSERT_TRUE(DecodePng(encoded, back));
    EXPECT_EQ(back.At(0, 0), 0xFF404040u);
    EXPECT_EQ(back.At(1, 0) >> 24, 0u);

    png_image paletted{};
    paletted.version = PNG_IMAGE_VERSION;
    paletted.width = 2;
    paletted.height = 1;
    paletted.format = PNG_FORMAT_RGBA_COLORMAP;
    paletted.colormap_entries = 2;
    const uint8_t colormap[] = {0, 0, 255, 255, 255, 255, 0, 0};
    const uint8_t indexes[] = {0, 1};
    encoded = EncodeWithLibpng(paletted, indexes, colormap);
    ASSERT_TRUE(DecodePng(encoded, back));
    EXPECT_EQ(back.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(back.At(1, 0) >> 24, 0u);

    encoded.resize(encoded.size() / 2);
    EXPECT_FALSE(DecodePng(encoded, back));
    EXPECT_FALSE(DecodePng(std::vector<uint8_t>(100, 0x89), back));
}

TEST(Jpeg, RoundTripAndBrokenFiles) {
    Surface image(16, 8);
    image.Fill(0xFF3080C0);
    std::string path = TempPath("photo.jpg");
    ASSERT_TRUE(WriteJpeg(image, path, 95));
    std::vector<uint8_t> data;
    ASSERT_TRUE(ReadHostFile(path, data));
    EXPECT_EQ(SniffImageFormat(data), ImageFormat::Jpeg);
    Surface back;
    ASSERT_TRUE(DecodeJpeg(data, back));
    ASSERT_EQ(back.Width(), 16);
    Pixel p = back.At(5, 5);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 0x30, 4);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 0x80, 4);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0xC0, 4);
    std::vector<uint8_t> header(data.begin(), data.begin() + 20);
    EXPECT_FALSE(DecodeJpeg(header, back));
    EXPECT_FALSE(DecodeJpeg({0xFF, 0xD8, 0xFF, 0x00, 0x00}, back));
    EXPECT_FALSE(DecodeImage(std::vector<uint8_t>(64, 0), ImageFormat::Unknown, back));
}

namespace {

// The CRC of a PNG chunk (its type and data).
uint32_t ChunkCrc(const uint8_t* bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBig16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}
void PutBig32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    PutBig16(b, at, v >> 16);
    PutBig16(b, at + 2, v);
}

std::vector<uint8_t> Encoded(const Surface& image, bool jpeg) {
    const std::string path = TempPath(jpeg ? "bound.jpg" : "bound.png");
    EXPECT_TRUE(jpeg ? WriteJpeg(image, path, 80) : WritePng(image, path, false));
    std::vector<uint8_t> data;
    EXPECT_TRUE(ReadHostFile(path, data));
    return data;
}

// The file of a small image whose header declares `width` x `height`: what
// an image bomb is, a few hundred bytes promising gigabytes of pixels.
std::vector<uint8_t> Declaring(ImageFormat format, uint32_t width, uint32_t height) {
    std::vector<uint8_t> data = Encoded(Surface(8, 8), format == ImageFormat::Jpeg);
    if (format == ImageFormat::Png) {
        // The first chunk, IHDR: length, type, width, height, ..., CRC.
        PutBig32(data, 16, width);
        PutBig32(data, 20, height);
        PutBig32(data, 29, ChunkCrc(data.data() + 12, 17));
        return data;
    }
    for (size_t at = 2; at + 9 < data.size(); ++at) {
        if (data[at] == 0xFF && data[at + 1] == 0xC0) {  // start of frame: length, precision, height, width
            PutBig16(data, at + 5, height);
            PutBig16(data, at + 7, width);
            break;
        }
    }
    return data;
}

}  // namespace

TEST(ImageBound, EveryFormatTakesUpToFourScreenWidthsAndRefusesMoreFromItsHeader) {
    for (const auto& [width, height] : {std::pair{kMaxImageFileSide, 2}, std::pair{2, kMaxImageFileSide},
                                        std::pair{kMaxImageFileSide + 1, 2}, std::pair{2, kMaxImageFileSide + 1}}) {
        const bool taken = width <= kMaxImageFileSide && height <= kMaxImageFileSide;
        const std::vector<uint8_t> row(static_cast<size_t>(width) * 3, 0x40);
        const std::vector<std::vector<uint8_t>> files = {
            MakeBmp(width, 24, false, {}, std::vector<std::vector<uint8_t>>(static_cast<size_t>(height), row)),
            Encoded(Surface(width, height), false), Encoded(Surface(width, height), true)};
        for (const std::vector<uint8_t>& file : files) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + ", format " +
                         std::to_string(static_cast<int>(SniffImageFormat(file))));
            ImageSize declared;
            ASSERT_TRUE(ReadImageSize(file, ImageFormat::Unknown, declared));
            EXPECT_EQ(declared.width, width);
            EXPECT_EQ(declared.height, height);
            Surface decoded;
            EXPECT_EQ(DecodeImage(file, ImageFormat::Unknown, decoded), taken);
            EXPECT_EQ(decoded.Width(), taken ? width : 0);
        }
    }
}

TEST(ImageBound, ABombIsRefusedFromItsHeaderWithoutTakingItsPixels) {
    const std::vector<uint8_t> png = Declaring(ImageFormat::Png, 16000, 16000);
    const std::vector<uint8_t> jpeg = Declaring(ImageFormat::Jpeg, 7989, 7450);
    ImageSize declared;
    ASSERT_TRUE(PngSize(png, declared));
    EXPECT_EQ(declared.width, 16000);
    ASSERT_TRUE(JpegSize(jpeg, declared));
    EXPECT_EQ(declared.width, 7989);
    EXPECT_EQ(declared.height, 7450);
    Surface decoded;
    EXPECT_FALSE(DecodePng(png, decoded));
    EXPECT_FALSE(DecodeJpeg(jpeg, decoded));
    EXPECT_TRUE(decoded.IsEmpty());
}
