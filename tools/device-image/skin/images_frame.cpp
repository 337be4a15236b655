// FPFrame\ (the fingerprint and photo frame of the main screen) and
// messagebox\ (the image-built message box).
#include <string>

#include "tools/device-image/skin/catalogue.h"
#include "tools/device-image/skin/pictograms.h"
#include "tools/device-image/skin/style.h"

namespace skin {
namespace {

const std::string kFrame = "FPFrame\\";
const std::string kBox = "messagebox\\";

// What the frame shows while it waits for a finger, a card or a typed ID:
// pictures only, so that they serve every language.
void FramePicture(Canvas& c, Pictogram pictogram) {
    c.Fill(RoundRect(0, 0, 100, 120, 8), Vertical(0, 120, Rgb(0xEAF4FF), Rgb(0xB7D6F5)));
    c.Fill(Circle(50, 60, 38), Radial(50, 55, 40, Rgb(0x5DB2FF), Rgb(0x1B5CA8)));
    c.Fill(Outline(Circle(50, 60, 38), 2), Rgb(0xFFFFFF, 0.8f));
    DrawPictogram(c, pictogram, 22, 32, 56, Rgb(0xFFFFFF));
}

void PhotoFrame(Canvas& c, Color rim) {
    const Shape outer = RoundRect(1, 1, 106, 126, 10), inner = RoundRect(5, 5, 98, 118, 6);
    c.Shadow(outer, 0, 2, 5, Rgb(0x000000, 0.5f));
    c.Fill(Subtract(outer, inner), Vertical(0, 128, Mix(rim, Rgb(0xFFFFFF), 0.45f), rim));
    c.Fill(Outline(inner, 1), Rgb(0x000000, 0.35f));
}

void Verdict(Canvas& c, bool ok) {
    const Color top = ok ? Rgb(0x6FE08A) : Rgb(0xFF7C7C), bottom = ok ? Rgb(0x17934A) : Rgb(0xC4202E);
    c.Shadow(Circle(24, 24, 21), 0, 2, 4, Rgb(0x000000, 0.45f));
    GlossyFace(c, Circle(24, 24, 21), 3, 45, top, bottom);
    c.Fill(Outline(Circle(24, 24, 21), 2), Rgb(0xFFFFFF, 0.9f));
    if (ok) {
        c.Fill(Union(Segment(14, 25, 21, 32, 3), Segment(21, 32, 34, 17, 3)), Rgb(0xFFFFFF));
    } else {
        c.Fill(Union(Segment(16, 16, 32, 32, 3), Segment(32, 16, 16, 32, 3)), Rgb(0xFFFFFF));
    }
}

// The message box frame: 299 pixels wide (266 of text plus the margins).
void BoxSection(Canvas& c, float top, float fullHeight) {
    const Shape frame = RoundRect(0.5f, top + 0.5f, 298, fullHeight - 1, 12);
    c.Fill(frame, Vertical(top, top + fullHeight, Rgb(0x1B4F88), Rgb(0x0A2A4E)));
    c.Fill(Outline(RoundRect(1.5f, top + 1.5f, 296, fullHeight - 3, 11), 2), Rgb(0x7FC0FF, 0.8f));
}

}  // namespace

void AddFrameImages(std::vector<SkinImage>& out) {
    out.push_back({kFrame + "default_Finger.png", false, 100, 120, [](Canvas& c) { FramePicture(c, Pictogram::Fingerprint); }});
    out.push_back({kFrame + "default_Card.png", false, 100, 120, [](Canvas& c) { FramePicture(c, Pictogram::Card); }});
    out.push_back({kFrame + "default_ID.png", false, 100, 120, [](Canvas& c) { FramePicture(c, Pictogram::Keypad); }});
    out.push_back({kFrame + "Photo_no.png", false, 100, 120, [](Canvas& c) {
                       c.Fill(RoundRect(0, 0, 100, 120, 8), Vertical(0, 120, Rgb(0xDCE7F2), Rgb(0xAFC4DA)));
                       DrawPictogram(c, Pictogram::Users, 14, 22, 72, Rgb(0xFFFFFF, 0.9f));
                   }});
    out.push_back({kFrame + "ICONBK.PNG", false, 108, 128, [](Canvas& c) {
                       c.Fill(RoundRect(1, 1, 106, 126, 10), Rgb(0x061C36, 0.45f));
                   }});
    out.push_back({kFrame + "PhotoFrame.png", false, 108, 128, [](Canvas& c) { PhotoFrame(c, Rgb(0x2C6CB0)); }});
    out.push_back({kFrame + "PhotoFrame1.png", false, 108, 128, [](Canvas& c) { PhotoFrame(c, Rgb(0xE59A1C)); }});
    out.push_back({kFrame + "OK.png", false, 48, 48, [](Canvas& c) { Verdict(c, true); }});
    out.push_back({kFrame + "error.png", false, 48, 48, [](Canvas& c) { Verdict(c, false); }});
}

void AddMessageBoxImages(std::vector<SkinImage>& out) {
    out.push_back({kBox + "MessageBoxBK.png", false, 320, 240, [](Canvas& c) {
                       c.FillAll(Radial(160, 120, 200, Rgb(0x000000, 0.35f), Rgb(0x000000, 0.6f)));
                   }});
    out.push_back({kBox + "top.png", false, 299, 40, [](Canvas& c) {
                       BoxSection(c, 0, 80);
                       c.Fill(RoundRect(2, 2, 295, 20, 10), Vertical(2, 22, Rgb(0xFFFFFF, 0.18f), Rgb(0xFFFFFF, 0.02f)));
                       Blossom(c, 20, 20, 11, WithAlpha(Petal(), 0.8f), Rgb(0xFFD36E));
                   }});
    out.push_back({kBox + "Middle.png", false, 299, 5, [](Canvas& c) { BoxSection(c, -40, 80); }});
    out.push_back({kBox + "botton.png", false, 299, 65, [](Canvas& c) {
                       BoxSection(c, -40, 105);
                       c.Fill(RoundRect(14, 4, 271, 1, 0), Rgb(0x7FC0FF, 0.3f));
                   }});
}

}  // namespace skin
