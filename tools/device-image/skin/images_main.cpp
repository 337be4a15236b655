// The splash pictures and the main screen's images in the skin folder itself.
#include <string>

#include "tools/device-image/skin/catalogue.h"
#include "tools/device-image/skin/pictograms.h"
#include "tools/device-image/skin/style.h"

namespace skin {
namespace {

void DeepBackground(Canvas& c) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.FillAll(Vertical(0, h, Rgb(0x0A2A4E), Rgb(0x1F5FA0)));
    c.Fill(Circle(w * 0.85f, -h * 0.3f, h * 0.9f), Radial(w * 0.85f, -h * 0.3f, h * 0.9f, Rgb(0x8FD0FF, 0.28f), Rgb(0x8FD0FF, 0)));
    Sprig(c, w - 10, h - 4, 1.2f, 0.16f);
    Sprig(c, 70, h + 30, 0.9f, 0.10f);
}

// Status icons: lit (state 1) or dimmed (state 2).
SkinImage StatusIcon(const std::string& path, Pictogram pictogram, bool lit) {
    return {path, false, 20, 20, [pictogram, lit](Canvas& c) {
                if (lit) c.Fill(Circle(10, 10, 10), Radial(10, 10, 10, Rgb(0x7FD4FF, 0.55f), Rgb(0x7FD4FF, 0)));
                DrawPictogram(c, pictogram, 1, 1, 18, lit ? Rgb(0xFFFFFF) : Rgb(0x9AA8B8, 0.75f));
            }};
}

// The entry field of the main screen; the typed text is drawn over its right part.
void InputPanel(Canvas& c, Pictogram pictogram) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Shadow(RoundRect(2, 2, w - 4, h - 5, 8), 0, 1.5f, 4, Rgb(0x000000, 0.45f));
    GlossyFace(c, RoundRect(2, 2, w - 4, h - 5, 8), 2, h - 3, Rgb(0xF4F9FF), Rgb(0xC9E0F8));
    c.Fill(Outline(RoundRect(2.5f, 2.5f, w - 5, h - 6, 8), 1), Rgb(0x2C6CB0, 0.8f));
    c.Fill(RoundRect(6, 6, h - 13, h - 13, 6), Vertical(6, h - 7, Sky(), Mid()));
    DrawPictogram(c, pictogram, 8, 8, h - 17, Rgb(0xFFFFFF));
}

}  // namespace

void AddSplashImages(std::vector<SkinImage>& out) {
    // The splash: the marker sweeps from x 87 to 239 on the track at y 201.
    out.push_back({"loading.bmp", true, 320, 240, [](Canvas& c) {
                       DeepBackground(c);
                       Blossom(c, 160, 84, 58, Rgb(0xFFFFFF, 0.10f), Rgb(0xFFFFFF, 0.12f));
                       c.Fill(Circle(160, 84, 36), Radial(160, 84, 36, Rgb(0x3E8EDB), Rgb(0x1D5597)));
                       c.Fill(Outline(Circle(160, 84, 36), 2), Rgb(0xFFFFFF, 0.65f));
                       DrawPictogram(c, Pictogram::Fingerprint, 136, 60, 48, Rgb(0xFFFFFF));
                       c.TextCentred(SansBoldFont(), 26, "VELTO", 0, 128, 320, 30, Solid(Rgb(0xFFFFFF)));
                       c.TextCentred(SansFont(), 12, "Time Attendance  ·  Access Control", 0, 158, 320, 16,
                                     Solid(Rgb(0xCFE6FF)));
                       c.Fill(RoundRect(83, 199, 176, 14, 7), Rgb(0x061C36, 0.75f));
                       c.Fill(Outline(RoundRect(83.5f, 199.5f, 175, 13, 6.5f), 1), Rgb(0x8FC8FF, 0.55f));
                       c.TextCentred(SansFont(), 10, "Starting…", 0, 220, 320, 14, Solid(Rgb(0xA9CBEF)));
                   }});
    out.push_back({"loading.png", true, 16, 10, [](Canvas& c) {
                       c.Fill(RoundRect(0, 0, 16, 10, 5), Radial(8, 5, 9, Rgb(0xFFFFFF), Rgb(0x5CC2FF)));
                   }});
}

void AddMainScreenImages(std::vector<SkinImage>& out) {
    out.push_back({"BackGround.bmp", false, 320, 240, DeepBackground});
    out.push_back(StatusIcon("232_1.png", Pictogram::Serial232, true));
    out.push_back(StatusIcon("232_2.png", Pictogram::Serial232, false));
    out.push_back(StatusIcon("485_1.png", Pictogram::Serial485, true));
    out.push_back(StatusIcon("485_2.png", Pictogram::Serial485, false));
    out.push_back(StatusIcon("tcpip_1.png", Pictogram::Network, true));
    out.push_back(StatusIcon("tcpip_2.png", Pictogram::Network, false));
    out.push_back(StatusIcon("wifi_1.png", Pictogram::Wifi, true));
    out.push_back(StatusIcon("wifi_2.png", Pictogram::Wifi, false));
    out.push_back(StatusIcon("door_1.png", Pictogram::Door, true));
    out.push_back(StatusIcon("door_2.png", Pictogram::DoorOpen, true));
    out.push_back(StatusIcon("USER.PNG", Pictogram::Users, true));
    out.push_back(StatusIcon("FP.PNG", Pictogram::Fingerprint, true));
    out.push_back(StatusIcon("Information.png", Pictogram::Info, true));
    out.push_back({"Finger.png", false, 56, 56, [](Canvas& c) {
                       c.Fill(Circle(28, 28, 27), Radial(28, 24, 30, Rgb(0x58B7FF), Rgb(0x1B5FA8)));
                       c.Fill(Outline(Circle(28, 28, 26.5f), 1.5f), Rgb(0xFFFFFF, 0.8f));
                       DrawPictogram(c, Pictogram::Fingerprint, 10, 9, 36, Rgb(0xFFFFFF));
                   }});
    out.push_back({"ICONBK.PNG", false, 56, 56, [](Canvas& c) {
                       c.Shadow(RoundRect(3, 3, 50, 50, 12), 0, 2, 5, Rgb(0x000000, 0.5f));
                       GlossyFace(c, RoundRect(3, 3, 50, 50, 12), 3, 53, Rgb(0x5DA9F2), Rgb(0x1C5698));
                   }});
    out.push_back({"input.png", false, 220, 36, [](Canvas& c) { InputPanel(c, Pictogram::Keypad); }});
    out.push_back({"Input_user1.png", false, 220, 36, [](Canvas& c) { InputPanel(c, Pictogram::Users); }});
    out.push_back({"Input_user2.png", false, 220, 36, [](Canvas& c) { InputPanel(c, Pictogram::Shield); }});
    out.push_back({"Input_user3.png", false, 220, 36, [](Canvas& c) { InputPanel(c, Pictogram::Card); }});
    out.push_back({"l_cn.png", false, 24, 16, [](Canvas& c) { LanguageBadge(c, true); }});
    out.push_back({"l_en.png", false, 24, 16, [](Canvas& c) { LanguageBadge(c, false); }});
    out.push_back({"logo.png", false, 96, 22, [](Canvas& c) {
                       Blossom(c, 11, 11, 11, Petal(), Rgb(0xFFD36E));
                       c.Text(SansBoldFont(), 15, "VELTO", 25, 17, Vertical(4, 18, Rgb(0xFFFFFF), Rgb(0xD7ECFF)));
                   }});
    out.push_back({"msg.png", false, 300, 40, [](Canvas& c) {
                       c.Fill(RoundRect(1, 1, 298, 38, 9), Rgb(0x061C36, 0.62f));
                       c.Fill(Outline(RoundRect(1.5f, 1.5f, 297, 37, 8.5f), 1), Rgb(0x8FC8FF, 0.5f));
                       DrawPictogram(c, Pictogram::Message, 8, 8, 24, Rgb(0xFFD36E));
                   }});
    out.push_back({"reged.png", false, 140, 56, [](Canvas& c) {
                       c.Fill(RoundRect(1, 1, 138, 54, 10), Rgb(0x061C36, 0.55f));
                       c.Fill(Outline(RoundRect(1.5f, 1.5f, 137, 53, 9.5f), 1), Rgb(0x8FC8FF, 0.45f));
                       DrawPictogram(c, Pictogram::Users, 8, 6, 20, Rgb(0xBFE3FF));
                       DrawPictogram(c, Pictogram::Fingerprint, 8, 30, 20, Rgb(0xBFE3FF));
                   }});
    out.push_back({"TaskPlate.png", false, 320, 22, [](Canvas& c) {
                       c.FillAll(Vertical(0, 22, Rgb(0x1A4F88), Rgb(0x082544)));
                       c.Fill(RoundRect(0, 0, 320, 1, 0), Rgb(0x9CD2FF, 0.6f));
                   }});
    out.push_back({"Top_bg.png", false, 320, 24, [](Canvas& c) {
                       c.FillAll(Vertical(0, 24, Rgb(0x2D6FB5), Rgb(0x0D3663)));
                       c.Fill(RoundRect(0, 0, 320, 12, 0), Vertical(0, 12, Rgb(0xFFFFFF, 0.22f), Rgb(0xFFFFFF, 0.04f)));
                       c.Fill(RoundRect(0, 23, 320, 1, 0), Rgb(0x041B33));
                   }});
    // The title plate: two caps and a centre piece stretched to the title's width.
    const auto plate = [](float x, float w) {
        return [x, w](Canvas& c) {
            const Shape s = RoundRect(x, 0, w, 18, 9);
            c.Fill(s, Vertical(0, 18, Rgb(0x0A2B4F), Rgb(0x174A80)));
            c.Fill(Intersect(Outline(RoundRect(x + 0.5f, 0.5f, w - 1, 17, 8.5f), 1), [](float, float y) { return y - 9; }),
                   Rgb(0x7FC0FF, 0.5f));
        };
    };
    out.push_back({"Top_info_bg_l.png", false, 10, 18, plate(0, 40)});
    out.push_back({"Top_info_bg_c.png", false, 4, 18, plate(-20, 44)});
    out.push_back({"Top_info_bg_r.png", false, 10, 18, plate(-30, 40)});
}

}  // namespace skin
