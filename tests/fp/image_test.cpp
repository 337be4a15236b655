#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "platform/fp/greyimage.h"
#include "platform/fp/synthfinger.h"

namespace {

TEST(SyntheticFingers, ASeedAndPressAlwaysGiveTheSameImageAndPressesDiffer) {
    const GreyImage a = SynthesizeFinger(12, 3, 256, 296);
    EXPECT_EQ(a.width, 256);
    EXPECT_EQ(a.height, 296);
    EXPECT_EQ(a.pixels, SynthesizeFinger(12, 3, 256, 296).pixels);
    EXPECT_NE(a.pixels, SynthesizeFinger(12, 4, 256, 296).pixels);
    EXPECT_NE(a.pixels, SynthesizeFinger(13, 3, 256, 296).pixels);
}

TEST(GreyBmp, RoundTripsAndRefusesWhatIsNoImage) {
    const auto folder = std::filesystem::temp_directory_path() / ("quillon-bmp-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "odd.bmp").string();
    const GreyImage odd = SynthesizeFinger(5, 0, 101, 77);  // rows need padding
    ASSERT_TRUE(WriteGreyBmp(path, odd));
    GreyImage back;
    ASSERT_TRUE(ReadGreyBmp(path, &back));
    EXPECT_EQ(back.width, 101);
    EXPECT_EQ(back.height, 77);
    EXPECT_EQ(back.pixels, odd.pixels);

    const std::string junk = (folder / "junk.bmp").string();
    FILE* file = std::fopen(junk.c_str(), "wb");
    std::fputs("BM not really", file);
    std::fclose(file);
    EXPECT_FALSE(ReadGreyBmp(junk, &back));
    EXPECT_FALSE(ReadGreyBmp((folder / "missing.bmp").string(), &back));
    // What a script may name: devices without end, a folder.
    EXPECT_FALSE(ReadGreyBmp("/dev/zero", &back));
    EXPECT_FALSE(ReadGreyBmp("/dev/urandom", &back));
    EXPECT_FALSE(ReadGreyBmp(folder.string(), &back));
    std::filesystem::remove_all(folder);
}

// The sensor reads its image at every look: one far larger than its frame
// is refused.
TEST(GreyBmp, ImagesBeyondAFewSensorFramesAreRefused) {
    const auto folder = std::filesystem::temp_directory_path() / ("quillon-big-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "finger.bmp").string();
    GreyImage back;
    for (const auto& [width, height, taken] : {std::tuple{kMaxGreyImageSide, 3, true},
                                               std::tuple{3, kMaxGreyImageSide, true},
                                               std::tuple{kMaxGreyImageSide + 1, 3, false},
                                               std::tuple{3, kMaxGreyImageSide + 1, false}}) {
        ASSERT_TRUE(WriteGreyBmp(path, GreyImage(width, height, 128)));
        EXPECT_EQ(ReadGreyBmp(path, &back), taken) << width << " x " << height;
    }
    std::filesystem::remove_all(folder);
}

TEST(GreyBmp, FittingCentresCropsAndPadsWithWhite) {
    GreyImage small(2, 2, 0);
    const GreyImage padded = FitToFrame(small, 4, 4);
    EXPECT_EQ(padded.At(0, 0), 255);
    EXPECT_EQ(padded.At(1, 1), 0);
    EXPECT_EQ(padded.At(2, 2), 0);
    EXPECT_EQ(padded.At(3, 3), 255);
    GreyImage big(4, 4, 9);
    big.At(1, 1) = 1;
    const GreyImage cropped = FitToFrame(big, 2, 2);
    EXPECT_EQ(cropped.At(0, 0), 1);
}

}  // namespace
