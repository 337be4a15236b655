// The skin: every image draws something, the sizes the widgets rely on hold,
// and a contact sheet of the whole skin is written for review.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tools/device-image/skin/catalogue.h"

namespace {

using skin::Canvas;
using skin::Catalogue;
using skin::SkinImage;

const SkinImage& Find(const std::string& path) {
    for (const SkinImage& image : Catalogue())
        if (image.path == path) return image;
    throw std::runtime_error("no skin image " + path);
}

// Visible pixels and distinct colours (with their opacity): a blank or single-colour image is a placeholder.
struct Ink {
    int visible = 0;
    size_t colours = 0;
};
Ink InkOf(const Canvas& c) {
    Ink ink;
    std::set<uint32_t> colours;
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            const skin::Color p = c.At(x, y);
            if (p.a < 0.05f) continue;
            ++ink.visible;
            colours.insert((static_cast<uint32_t>(p.a * 15) << 15) | (static_cast<uint32_t>(p.r * 31) << 10) |
                           (static_cast<uint32_t>(p.g * 31) << 5) | static_cast<uint32_t>(p.b * 31));
        }
    }
    ink.colours = colours.size();
    return ink;
}

TEST(Skin, EveryImageIsDrawnAndNamedOnce) {
    std::set<std::string> seen;
    for (const SkinImage& image : Catalogue()) {
        EXPECT_TRUE(seen.insert(image.path).second) << image.path << " listed twice";
        const Ink ink = InkOf(skin::Render(image));
        EXPECT_GT(ink.visible, image.width * image.height / 20) << image.path << " is nearly empty";
        // Slices of a face and small marks may be flat; anything else must show shading.
        if (image.width * image.height >= 400) {
            EXPECT_GE(ink.colours, 3u) << image.path << " is a flat placeholder";
        }
    }
}

TEST(Skin, SizesTheWidgetsDependOn) {
    // Full-screen pictures, the keyboard grid (7 x 46 wide, 5 rows 29 apart)
    // and its cells, the message-box frame built from 5-pixel slices.
    for (const char* full : {"loading.bmp", "BackGround.bmp", "Dialog\\DialogBG.bmp", "messagebox\\MessageBoxBK.png"}) {
        EXPECT_EQ(Find(full).width, 320) << full;
        EXPECT_EQ(Find(full).height, 240) << full;
    }
    EXPECT_EQ(Find("Dialog\\SmallInput.png").height, 145);
    EXPECT_EQ(Find("Dialog\\BigInput.png").height, 145);
    EXPECT_EQ(Find("Dialog\\abc_1.png").width, 46);
    EXPECT_EQ(Find("Dialog\\abc_1.png").height, 27);
    EXPECT_EQ(Find("messagebox\\Middle.png").height, 5);
    EXPECT_EQ(Find("messagebox\\top.png").width, Find("messagebox\\botton.png").width);
    EXPECT_EQ(Find("Dialog\\Finger_r.png").width, 10);
    EXPECT_EQ(Find("Dialog\\EnrollFP_l.png").width, 15);
    // The splash marker sweeps x 87..239 at y 201 and must stay on the 320 x 240 picture.
    EXPECT_LE(239 + Find("loading.png").width, 320);
    EXPECT_LE(201 + Find("loading.png").height, 240);
}

TEST(Skin, SplashMarkerSitsOnItsTrack) {
    // The track behind the marker is darker than the background above it.
    const Canvas splash = skin::Render(Find("loading.bmp"));
    const skin::Color track = splash.At(160, 206), above = splash.At(160, 192);
    EXPECT_LT(track.r + track.g + track.b, above.r + above.g + above.b);
}

TEST(Skin, ContactSheetRenders) {
    const Canvas sheet = skin::ContactSheet();
    sheet.SavePng(QUILLON_CONTACT_SHEET);
    EXPECT_GT(sheet.Height(), 240);
    EXPECT_GT(InkOf(sheet).colours, 200u);
}

}  // namespace
