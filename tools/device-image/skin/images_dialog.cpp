// Dialog\: page backgrounds, the on-screen keyboard, select boxes, buttons,
// progress bar, message box and the enrolment pictures.
#include <cmath>
#include <string>
#include <utility>

#include "tools/device-image/skin/catalogue.h"
#include "tools/device-image/skin/pictograms.h"
#include "tools/device-image/skin/style.h"

namespace skin {
namespace {

const std::string kDialog = "Dialog\\";

// Caps and centre slices of one rounded face: the face is drawn `faceWidth`
// wide starting at x, so a slice is the part that falls inside the image.
using FacePainter = std::function<void(Canvas&, float x, float faceWidth)>;
SkinImage Slice(const std::string& name, int w, int h, float x, float faceWidth, FacePainter face) {
    return {kDialog + name, false, w, h, [=](Canvas& c) { face(c, x, faceWidth); }};
}

void ButtonFace(Canvas& c, float x, float w) {
    const float h = static_cast<float>(c.Height());
    // Mid-tone, so that the dark caption and the light caption of a focused button both read.
    GlossyFace(c, RoundRect(x + 0.5f, 0.5f, w - 1, h - 1, 7), 0, h, Rgb(0x5C93D6), Rgb(0x1B4C8C));
    c.Fill(Outline(RoundRect(x + 0.5f, 0.5f, w - 1, h - 1, 7), 1), Rgb(0x1B4F8C, 0.9f));
}

void TrackFace(Canvas& c, float x, float w) {
    const float h = static_cast<float>(c.Height());
    c.Fill(RoundRect(x + 0.5f, 0.5f, w - 1, h - 1, h / 2 - 0.5f), Vertical(0, h, Rgb(0x0B2E55), Rgb(0x1E4F86)));
    c.Fill(Outline(RoundRect(x + 0.5f, 0.5f, w - 1, h - 1, h / 2 - 0.5f), 1), Rgb(0x06203D));
}

void FillFace(Canvas& c, float x, float w) {
    const float h = static_cast<float>(c.Height());
    GlossyFace(c, RoundRect(x, 0, w, h, h / 2), 0, h, Rgb(0x6FE0FF), Rgb(0x148FD6));
}

// The select box: a mid-tone field between two round arrow buttons, so that
// its dark text and the light text of a focused box both read.
void SelectField(Canvas& c, float x, float w, bool focused) {
    const float h = static_cast<float>(c.Height());
    c.Fill(RoundRect(x, 0.5f, w, h - 1, 4), Vertical(0, h, Rgb(0x8DB8E8), focused ? Rgb(0x3F78BE) : Rgb(0x4A80C2)));
    c.Fill(RoundRect(x, 0, w, 1, 0), Rgb(0x5E8FC4));
    c.Fill(RoundRect(x, h - 1, w, 1, 0), Rgb(0x5E8FC4));
}

void ArrowButton(Canvas& c, bool right, int state) {  // 0 normal, 1 pressed, 2 highlighted
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    const Shape face = RoundRect(0.5f, 0.5f, w - 1, h - 1, 5);
    const Color top = state == 1 ? Rgb(0x1E5AA0) : state == 2 ? Rgb(0x7CCBFF) : Rgb(0x5AA8F0);
    const Color bottom = state == 1 ? Rgb(0x3B7ECC) : state == 2 ? Rgb(0x1F7BD0) : Rgb(0x1E5AA0);
    GlossyFace(c, face, 0, h, top, bottom);
    const float cx = w / 2 + (right ? 1.f : -1.f), cy = h / 2;
    const float d = right ? 1.f : -1.f;
    c.Fill(Polygon({{cx + d * 3.5f, cy}, {cx - d * 2.5f, cy - 5}, {cx - d * 2.5f, cy + 5}}), Rgb(0xFFFFFF));
}

void KeyCellHighlight(Canvas& c, bool pressed) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Fill(RoundRect(1, 1, w - 2, h - 2, 6), Rgb(pressed ? 0x0B5FB0 : 0x3FA9FF, pressed ? 0.55f : 0.35f));
    c.Fill(Outline(RoundRect(1.5f, 1.5f, w - 3, h - 3, 5.5f), 2), Rgb(pressed ? 0xFFD36E : 0x1E88E5));
}

// The keyboard picture: 7 columns of 46 pixels, 5 rows 29 pixels apart.
void Keyboard(Canvas& c, bool upper) {
    static const char* const kKeys[5][7] = {
        {"a", "b", "c", "d", "e", "Shift", nullptr}, {"f", "g", "h", "i", "j", "space", ","},
        {"k", "l", "m", "n", "o", ".", "?"},           {"p", "q", "r", "s", "t", "/", ":"},
        {"u", "v", "w", "x", "y", "z", "-"},
    };
    c.FillAll(Vertical(0, 145, Rgb(0x1A4A80), Rgb(0x0B2A4C)));
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 7; ++col) {
            const char* key = kKeys[row][col];
            if (!key) continue;
            const float x = col * 46.f, y = row * 29.f + 2;
            const float w = (row == 0 && col == 5) ? 90.f : 46.f;
            const Shape face = RoundRect(x + 2, y + 1, w - 4, 25, 5);
            c.Shadow(face, 0, 1, 2, Rgb(0x000000, 0.5f));
            const bool special = std::string(key).size() > 1;
            GlossyFace(c, face, y, y + 27, special ? Rgb(0xC9E2FB) : Rgb(0xFFFFFF), special ? Rgb(0x8DB8E6) : Rgb(0xD5E5F5));
            std::string label = key;
            if (upper && label.size() == 1 && label[0] >= 'a' && label[0] <= 'z') label[0] = static_cast<char>(label[0] - 32);
            if (label == "Shift") label = upper ? "SHIFT" : "Shift";
            c.TextCentred(special ? SansFont() : SansBoldFont(), special ? 11.f : 14.f, label, x, y + 1, w, 25,
                          Solid(NavyText()));
        }
    }
}

// Two hands, palms down, with the fingertips where the enrolment page puts its
// finger indicators (finger 0 = right thumb ... 4 = right little finger,
// 5 = left thumb ... 9 = left little finger).
void Hands(Canvas& c) {
    struct Tip {
        float x, y;
    };
    const Tip right[5] = {{88, 58}, {112, 16}, {126, 10}, {142, 16}, {155, 29}};
    const Tip left[5] = {{73, 58}, {51, 16}, {36, 10}, {21, 16}, {8, 29}};
    const Color skinTone = Rgb(0xFFFFFF, 0.92f), edge = Rgb(0x2C6CB0);
    const auto hand = [&](const Tip* tips, float palmX) {
        const float palmY = 64;
        Shape shape = Ellipse(palmX, palmY, 25, 22);
        for (int f = 0; f < 5; ++f) {
            const float baseX = palmX + (tips[f].x - palmX) * 0.35f, baseY = palmY - 8 + (f == 0 ? 10.f : 0.f);
            shape = Union(shape, Segment(baseX, baseY, tips[f].x, tips[f].y, f == 0 ? 7.f : 6.f));
        }
        c.Shadow(shape, 1, 2, 4, Rgb(0x0A2040, 0.35f));
        c.Fill(shape, Vertical(0, 90, skinTone, Rgb(0xD8E9FA, 0.92f)));
        c.Fill(Outline(shape, 1.4f), edge);
    };
    hand(right, 124);
    hand(left, 37);
}

void SensorWindow(Canvas& c, bool withFinger) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    if (!withFinger) {
        c.Shadow(RoundRect(3, 3, w - 6, h - 6, 12), 0, 2, 5, Rgb(0x000000, 0.45f));
        c.Fill(RoundRect(3, 3, w - 6, h - 6, 12), Vertical(0, h, Rgb(0x3D4B5C), Rgb(0x141C26)));
        c.Fill(RoundRect(10, 12, w - 20, h - 24, 8), Vertical(12, h - 12, Rgb(0x1C6FB8, 0.9f), Rgb(0x0A3360, 0.9f)));
        c.Fill(Outline(RoundRect(10.5f, 12.5f, w - 21, h - 25, 7.5f), 1), Rgb(0x8FD0FF, 0.7f));
        return;
    }
    // The overlay is drawn 15, 18 in from the sensor picture's corner: from
    // there this finger sits centred on the glass.
    DrawPictogram(c, Pictogram::Fingerprint, 0, 3, 34, Rgb(0x9FE0FF));
}

void FingerMark(Canvas& c, Color light, Color dark, Color edge) {
    c.Fill(Circle(5, 5, 4.5f), Radial(4, 4, 5, light, dark));
    c.Fill(Outline(Circle(5, 5, 4.5f), 1), edge);
}

void Arrow15(Canvas& c, bool right) {
    c.Fill(Circle(7.5f, 7.5f, 7), Vertical(0, 15, Rgb(0x5AA8F0), Rgb(0x1E5AA0)));
    const float d = right ? 1.f : -1.f;
    c.Fill(Polygon({{7.5f + d * 3.5f, 7.5f}, {7.5f - d * 2.5f, 3.5f}, {7.5f - d * 2.5f, 11.5f}}), Rgb(0xFFFFFF));
}

}  // namespace

void AddDialogImages(std::vector<SkinImage>& out) {
    out.push_back({kDialog + "DialogBG.bmp", false, 320, 240, PageBackground});
    out.push_back({kDialog + "SmallInput.png", false, 320, 145, [](Canvas& c) { Keyboard(c, false); }});
    out.push_back({kDialog + "BigInput.png", false, 320, 145, [](Canvas& c) { Keyboard(c, true); }});
    out.push_back({kDialog + "abc_1.png", false, 46, 27, [](Canvas& c) { KeyCellHighlight(c, false); }});
    out.push_back({kDialog + "abc_2.png", false, 46, 27, [](Canvas& c) { KeyCellHighlight(c, true); }});
    out.push_back({kDialog + "Shift_1.png", false, 90, 27, [](Canvas& c) { KeyCellHighlight(c, false); }});
    out.push_back({kDialog + "Shift_2.png", false, 90, 27, [](Canvas& c) { KeyCellHighlight(c, true); }});
    out.push_back({kDialog + "Shift_1_cl.png", false, 14, 14, [](Canvas& c) {
                       c.Fill(Circle(8, 7, 6), Radial(8, 7, 6, Rgb(0x9BFF9B, 0.8f), Rgb(0x9BFF9B, 0)));
                       c.Fill(Circle(8, 7, 3), Radial(7, 6, 3, Rgb(0xFFFFFF), Rgb(0x2EC94F)));
                   }});
    out.push_back(Slice("button_left.png", 8, 23, 0, 40, ButtonFace));
    out.push_back(Slice("button_center.png", 8, 23, -16, 40, ButtonFace));
    out.push_back(Slice("button_right.png", 8, 23, -32, 40, ButtonFace));
    out.push_back(Slice("PogressBar_bg.png", 190, 22, 0, 190, TrackFace));
    out.push_back(Slice("PogressBar_left.png", 6, 20, 0, 20, FillFace));
    out.push_back(Slice("PogressBar_center.png", 4, 20, -8, 20, FillFace));
    out.push_back(Slice("PogressBar_right.png", 6, 20, -14, 20, FillFace));
    out.push_back({kDialog + "select_bg.png", false, 8, 21, [](Canvas& c) { SelectField(c, -2, 12, false); }});
    out.push_back({kDialog + "select_gb.png", false, 8, 21, [](Canvas& c) { SelectField(c, -2, 12, true); }});
    out.push_back({kDialog + "input_l.png", false, 16, 21, [](Canvas& c) { ArrowButton(c, false, 0); }});
    out.push_back({kDialog + "input_r.png", false, 16, 21, [](Canvas& c) { ArrowButton(c, true, 0); }});
    out.push_back({kDialog + "input_dl.png", false, 16, 21, [](Canvas& c) { ArrowButton(c, false, 1); }});
    out.push_back({kDialog + "input_dr.png", false, 16, 21, [](Canvas& c) { ArrowButton(c, true, 1); }});
    out.push_back({kDialog + "input_l_h.png", false, 16, 21, [](Canvas& c) { ArrowButton(c, false, 2); }});
    out.push_back({kDialog + "input_r_h.png", false, 16, 21, [](Canvas& c) { ArrowButton(c, true, 2); }});
    out.push_back({kDialog + "messages.png", false, 210, 104, [](Canvas& c) {
                       c.Fill(RoundRect(0, 0, 210, 104, 12), Vertical(0, 104, Rgb(0x1B4F88), Rgb(0x0A2A4E)));
                       c.Fill(RoundRect(0, 0, 210, 40, 12), Vertical(0, 40, Rgb(0xFFFFFF, 0.14f), Rgb(0xFFFFFF, 0)));
                       c.Fill(Outline(RoundRect(1, 1, 208, 102, 11), 2), Rgb(0x7FC0FF, 0.8f));
                       c.Fill(RoundRect(12, 72, 186, 1, 0), Rgb(0x7FC0FF, 0.35f));
                       Blossom(c, 196, 90, 9, WithAlpha(Petal(), 0.55f), Rgb(0xFFD36E, 0.7f));
                   }});
    out.push_back({kDialog + "SearchInfo.png", false, 210, 162, [](Canvas& c) {
                       c.Shadow(RoundRect(2, 2, 206, 158, 12), 0, 2, 5, Rgb(0x000000, 0.5f));
                       c.Fill(RoundRect(2, 2, 206, 158, 12), Vertical(0, 162, Rgb(0xF2F8FF), Rgb(0xBBD9F7)));
                       c.Fill(Outline(RoundRect(2.5f, 2.5f, 205, 157, 11.5f), 1), Rgb(0x2C6CB0));
                       c.Fill(RoundRect(121, 5, 76, 67, 6), Rgb(0xFFFFFF));
                       c.Fill(Outline(RoundRect(121.5f, 5.5f, 75, 66, 5.5f), 1), Rgb(0x7FA8D4));
                       DrawPictogram(c, Pictogram::Users, 140, 20, 38, Rgb(0xC6D8EC));
                   }});
    out.push_back({kDialog + "CE_finger.png", false, 30, 20, [](Canvas& c) {
                       c.Fill(RoundRect(0.5f, 0.5f, 29, 19, 5), Vertical(0, 20, Rgb(0x35D0C0), Rgb(0x0E7F86)));
                       DrawPictogram(c, Pictogram::Fingerprint, 7, 2, 16, Rgb(0xFFFFFF));
                   }});
    out.push_back({kDialog + "finger-reg.png", false, 164, 90, Hands});
    // Finger indicators: amber for the finger being chosen, red for an enrolled one.
    out.push_back({kDialog + "Finger_r.png", false, 10, 10,
                   [](Canvas& c) { FingerMark(c, Rgb(0xFFE9A8), Rgb(0xF29A0C), Rgb(0x8A4A00)); }});
    out.push_back({kDialog + "Finger_red.png", false, 10, 10,
                   [](Canvas& c) { FingerMark(c, Rgb(0xFF9C9C), Rgb(0xD3202A), Rgb(0x6E0B10)); }});
    out.push_back({kDialog + "finger_bg.png", false, 64, 76, [](Canvas& c) { SensorWindow(c, false); }});
    out.push_back({kDialog + "Finger.png", false, 64, 76, [](Canvas& c) { SensorWindow(c, true); }});
    out.push_back({kDialog + "EnrollFP_l.png", false, 15, 15, [](Canvas& c) { Arrow15(c, false); }});
    out.push_back({kDialog + "EnrollFP_r.png", false, 15, 15, [](Canvas& c) { Arrow15(c, true); }});
    out.push_back({kDialog + "l_cn.png", false, 24, 16, [](Canvas& c) { LanguageBadge(c, true); }});
    out.push_back({kDialog + "l_en.png", false, 24, 16, [](Canvas& c) { LanguageBadge(c, false); }});
}

}  // namespace skin
