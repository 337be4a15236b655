// The digital clock of the main screen: CLOCK\IPHONE\ in the skin folder.
#include <string>

#include "tools/device-image/skin/catalogue.h"
#include "tools/device-image/skin/style.h"

namespace skin {
namespace {

const std::string kFolder = "CLOCK\\IPHONE\\";

// A glyph centred in its image, light on a soft shadow so it reads on any background.
SkinImage Glyph(const std::string& name, const std::string& text, int w, int h, float size, Color top, Color bottom) {
    return {kFolder + name, false, w, h, [=](Canvas& c) {
                const float fw = static_cast<float>(w), fh = static_cast<float>(h);
                c.TextCentred(SansBoldFont(), size, text, 0.8f, 1.2f, fw, fh, Solid(Rgb(0x000000, 0.45f)));
                c.TextCentred(SansBoldFont(), size, text, 0, 0, fw, fh, Vertical(0, fh, top, bottom));
            }};
}

}  // namespace

void AddClockImages(std::vector<SkinImage>& out) {
    const Color white = Rgb(0xFFFFFF), frost = Rgb(0xCDE6FF), ice = Rgb(0xBFE3FF), steel = Rgb(0x8DBBEA);
    for (int d = 0; d <= 9; ++d) out.push_back(Glyph(std::to_string(d) + ".png", std::to_string(d), 26, 40, 38, white, frost));
    out.push_back(Glyph("C.png", ":", 10, 40, 34, white, frost));
    out.push_back({kFolder + "Clock.png", false, 180, 56, [](Canvas& c) {
                       c.Fill(RoundRect(1, 1, 178, 54, 12), Vertical(0, 56, Rgb(0x061C36, 0.55f), Rgb(0x061C36, 0.35f)));
                       c.Fill(Outline(RoundRect(1.5f, 1.5f, 177, 53, 11.5f), 1), Rgb(0x9CD2FF, 0.45f));
                       c.Fill(RoundRect(6, 27.5f, 168, 1, 0), Rgb(0x000000, 0.25f));
                   }});
    out.push_back(Glyph("S.PNG", ":", 6, 16, 14, ice, steel));
    for (int d = 0; d <= 9; ++d)
        out.push_back(Glyph("S_" + std::to_string(d) + ".PNG", std::to_string(d), 11, 16, 15, ice, steel));
    const auto meridiem = [](const std::string& text) {
        return [text](Canvas& c) {
            c.Fill(RoundRect(0.5f, 0.5f, 25, 13, 6.5f), Vertical(0, 14, Rgb(0x58B7FF), Rgb(0x1D5FA8)));
            c.TextCentred(SansBoldFont(), 9, text, 0, 0, 26, 14, Solid(Rgb(0xFFFFFF)));
        };
    };
    out.push_back({kFolder + "T_AM.png", false, 26, 14, meridiem("AM")});
    out.push_back({kFolder + "T_PM.png", false, 26, 14, meridiem("PM")});
    for (int d = 0; d <= 9; ++d)
        out.push_back(Glyph("w" + std::to_string(d) + ".png", std::to_string(d), 9, 14, 12, frost, steel));
    out.push_back(Glyph("wC.png", "-", 6, 14, 12, frost, steel));
}

}  // namespace skin
