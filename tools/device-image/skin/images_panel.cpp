// The control panel: its menu icons (ControlPanel\ICON\, named after the
// menu node), the selection frames, its logo and the image buttons.
#include <string>

#include "tools/device-image/skin/catalogue.h"
#include "tools/device-image/skin/pictograms.h"
#include "tools/device-image/skin/style.h"

namespace skin {
namespace {

const std::string kIcons = "ControlPanel\\ICON\\";

// One hue per branch of the menu, so that a page's icon tells where it lives.
struct Hue {
    Color light, dark;
};
const Hue kEnrol{Rgb(0x35D0C0), Rgb(0x0E7F86)};
const Hue kUsers{Rgb(0x5FB0FF), Rgb(0x1B5CB8)};
const Hue kData{Rgb(0xA98BFF), Rgb(0x5A3DB5)};
const Hue kAttendance{Rgb(0xFFB44D), Rgb(0xD0640E)};
const Hue kSystem{Rgb(0x6FD67A), Rgb(0x23894A)};
const Hue kAdvanced{Rgb(0xFF7C8A), Rgb(0xB82C4A)};

void Tile(Canvas& c, float x, float y, float size, Hue hue, Pictogram pictogram) {
    const float r = size * 0.26f;
    c.Shadow(RoundRect(x, y, size, size, r), 0, 2, 5, Rgb(0x0A2040, 0.45f));
    GlossyFace(c, RoundRect(x, y, size, size, r), y, y + size, hue.light, hue.dark);
    c.Fill(Outline(RoundRect(x + 0.5f, y + 0.5f, size - 1, size - 1, r), 1), Rgb(0xFFFFFF, 0.35f));
    const float inset = size * 0.17f;
    DrawPictogram(c, pictogram, x + inset, y + inset, size - 2 * inset, Rgb(0xFFFFFF));
}

// A menu entry: 72 x 64, the tile on top, the lower 20 pixels left for the caption.
SkinImage MenuIcon(const std::string& name, Hue hue, Pictogram pictogram) {
    return {kIcons + name, false, 72, 64, [hue, pictogram](Canvas& c) { Tile(c, 15, 2, 42, hue, pictogram); }};
}

// A page button: 56 x 52, the lower 17 pixels left for the caption.
SkinImage PageButton(const std::string& name, Hue hue, Pictogram pictogram) {
    return {kIcons + name, false, 56, 52, [hue, pictogram](Canvas& c) { Tile(c, 12, 2, 32, hue, pictogram); }};
}

void SelectionFrame(Canvas& c) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Fill(RoundRect(0, 0, w, h, 10), Vertical(0, h, Rgb(0xFFFFFF, 0.75f), Rgb(0xD8EEFF, 0.55f)));
    c.Fill(Outline(RoundRect(1, 1, w - 2, h - 2, 9), 2), Rgb(0x1E88E5));
}

void ImageButton(Canvas& c, bool down) {
    const Shape face = RoundRect(2, 2, 84, 32, 9);
    c.Shadow(face, 0, down ? 0.5f : 2, 4, Rgb(0x000000, 0.5f));
    if (down) c.Fill(face, Vertical(2, 34, Rgb(0x154C88), Rgb(0x2F73BF)));
    else GlossyFace(c, face, 2, 34, Rgb(0x5AA8F0), Rgb(0x1E5AA0));
    c.Fill(Outline(RoundRect(2.5f, 2.5f, 83, 31, 8.5f), 1), Rgb(0xFFFFFF, down ? 0.25f : 0.5f));
}

}  // namespace

void AddControlPanelImages(std::vector<SkinImage>& out) {
    out.push_back(MenuIcon("11.PNG", kEnrol, Pictogram::Fingerprint));
    out.push_back(MenuIcon("12.PNG", kUsers, Pictogram::Users));
    out.push_back(MenuIcon("13.PNG", kData, Pictogram::Database));
    out.push_back(MenuIcon("14.PNG", kAttendance, Pictogram::TimeCard));
    out.push_back(MenuIcon("15.PNG", kSystem, Pictogram::Gear));
    out.push_back(MenuIcon("16.PNG", kAdvanced, Pictogram::Shield));
    out.push_back(MenuIcon("121.PNG", kUsers, Pictogram::UserPlus));
    out.push_back(MenuIcon("122.PNG", kUsers, Pictogram::UserEdit));
    out.push_back(MenuIcon("123.PNG", kUsers, Pictogram::UserMinus));
    out.push_back(MenuIcon("124.PNG", kUsers, Pictogram::UserSearch));
    out.push_back(MenuIcon("131.PNG", kData, Pictogram::RecordSearch));
    out.push_back(MenuIcon("132.PNG", kData, Pictogram::Import));
    out.push_back(MenuIcon("133.PNG", kData, Pictogram::Export));
    out.push_back(MenuIcon("1331.PNG", kData, Pictogram::UserExport));
    out.push_back(MenuIcon("1332.PNG", kData, Pictogram::RecordExport));
    out.push_back(MenuIcon("134.PNG", kData, Pictogram::DatabaseUp));
    out.push_back(MenuIcon("135.png", kData, Pictogram::DatabaseRestore));
    out.push_back(MenuIcon("136.png", kData, Pictogram::Update));
    out.push_back(MenuIcon("141.PNG", kAttendance, Pictogram::StatusKeys));
    out.push_back(MenuIcon("142.PNG", kAttendance, Pictogram::AutoStatus));
    out.push_back(MenuIcon("143.png", kAttendance, Pictogram::Bell));
    out.push_back(MenuIcon("144.PNG", kAttendance, Pictogram::Message));
    out.push_back(MenuIcon("151.PNG", kSystem, Pictogram::Device));
    out.push_back(MenuIcon("152.PNG", kSystem, Pictogram::Network));
    out.push_back(MenuIcon("153.PNG", kSystem, Pictogram::Display));
    out.push_back(MenuIcon("154.PNG", kSystem, Pictogram::RecordSettings));
    out.push_back(MenuIcon("155.PNG", kSystem, Pictogram::Calendar));
    out.push_back(MenuIcon("156.PNG", kSystem, Pictogram::Info));
    out.push_back(MenuIcon("161.PNG", kAdvanced, Pictogram::FingerGear));
    out.push_back(MenuIcon("162.PNG", kAdvanced, Pictogram::Camera));
    out.push_back(MenuIcon("163.PNG", kAdvanced, Pictogram::VerifyMode));
    out.push_back(MenuIcon("164.PNG", kAdvanced, Pictogram::Door));
    out.push_back(MenuIcon("165.PNG", kAdvanced, Pictogram::Clock));
    out.push_back(MenuIcon("166.PNG", kAdvanced, Pictogram::GroupClock));
    out.push_back({kIcons + "bg.png", false, 70, 62, SelectionFrame});
    out.push_back({kIcons + "sbg.png", false, 54, 50, SelectionFrame});
    out.push_back(PageButton("Identify.png", kUsers, Pictogram::VerifyMode));
    out.push_back(PageButton("Identify mode.png", kAdvanced, Pictogram::VerifyMode));
    out.push_back(PageButton("picture.png", kUsers, Pictogram::Camera));
    out.push_back(PageButton("Enroll.png", kEnrol, Pictogram::FingerprintPlus));
    out.push_back(PageButton("Enroll FP.png", kEnrol, Pictogram::Fingerprint));
    out.push_back({"ControlPanel\\LOGO.PNG", false, 96, 22, [](Canvas& c) {
                       DrawPictogram(c, Pictogram::Gear, 1, 1, 20, Rgb(0xFFFFFF));
                       c.Text(SansBoldFont(), 14, "VELTO", 26, 16, Solid(Rgb(0xFFFFFF)));
                   }});
    out.push_back({"ControlPanel\\buttonU.png", false, 88, 36, [](Canvas& c) { ImageButton(c, false); }});
    out.push_back({"ControlPanel\\buttonD.png", false, 88, 36, [](Canvas& c) { ImageButton(c, true); }});
}

}  // namespace skin
