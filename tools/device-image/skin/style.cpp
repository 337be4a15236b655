#include "tools/device-image/skin/style.h"

#include <cmath>
#include <numbers>

namespace skin {

Color NavyText() { return FromColorref(0x492906); }
Color LightText() { return FromColorref(0xDFDFDF); }
Color ListRow() { return FromColorref(0xE6D9AB); }
Color Panel() { return FromColorref(0xFFC99C); }
Color Deep() { return Rgb(0x0C3560); }
Color Mid() { return Rgb(0x2C6CB0); }
Color Sky() { return Rgb(0x6FB4F4); }
Color Petal() { return Rgb(0xF7B8CF); }
Color Leaf() { return Rgb(0x6BB58A); }

void GlossyFace(Canvas& c, const Shape& shape, float top, float bottom, Color upper, Color lower) {
    c.Fill(shape, Vertical(top, bottom, upper, lower));
    const float mid = top + (bottom - top) * 0.5f;
    c.Fill(Intersect(shape, [mid](float, float y) { return y - mid; }),
           Vertical(top, mid, Rgb(0xFFFFFF, 0.38f), Rgb(0xFFFFFF, 0.06f)));
}

void Blossom(Canvas& c, float cx, float cy, float radius, Color petal, Color heart) {
    for (int i = 0; i < 5; ++i) {
        const float a = i * 2 * std::numbers::pi_v<float> / 5 - std::numbers::pi_v<float> / 2;
        const float tipX = cx + std::cos(a) * radius * 0.62f, tipY = cy + std::sin(a) * radius * 0.62f;
        c.Fill(Segment(cx + std::cos(a) * radius * 0.2f, cy + std::sin(a) * radius * 0.2f, tipX, tipY, radius * 0.36f),
               Radial(cx, cy, radius, Mix(petal, Rgb(0xFFFFFF, petal.a), 0.5f), petal));
    }
    c.Fill(Circle(cx, cy, radius * 0.22f), heart);
}

void Sprig(Canvas& c, float x, float y, float s, float alpha) {
    const Color stem = WithAlpha(Rgb(0xFFFFFF), alpha);
    // The stem: a gentle curve as a chain of short segments.
    float px = x, py = y;
    for (int i = 1; i <= 16; ++i) {
        const float t = i / 16.f;
        const float nx = x - 60 * s * t, ny = y - 90 * s * t + 25 * s * t * t;
        c.Fill(Segment(px, py, nx, ny, 1.4f * s), stem);
        if (i % 4 == 2) {
            const float side = (i % 8 == 2) ? 1.f : -1.f;
            c.Fill(Segment(nx, ny, nx + side * 14 * s, ny - 6 * s, 3.2f * s), WithAlpha(Rgb(0xFFFFFF), alpha * 0.8f));
        }
        px = nx;
        py = ny;
    }
    Blossom(c, px, py, 16 * s, WithAlpha(Rgb(0xFFFFFF), alpha), WithAlpha(Rgb(0xFFFFFF), alpha));
    Blossom(c, x - 34 * s, y - 40 * s, 11 * s, WithAlpha(Rgb(0xFFFFFF), alpha * 0.9f), WithAlpha(Rgb(0xFFFFFF), alpha));
}

void LanguageBadge(Canvas& c, bool chinese) {
    const Color top = chinese ? Rgb(0xE0524F) : Rgb(0x4A86D8), bottom = chinese ? Rgb(0xB02A2A) : Rgb(0x1F4E9A);
    c.Fill(RoundRect(0.5f, 0.5f, 23, 15, 4), Vertical(0, 16, top, bottom));
    c.Fill(Outline(RoundRect(0.5f, 0.5f, 23, 15, 4), 1), Rgb(0xFFFFFF, 0.7f));
    if (chinese) c.TextCentred(CjkFont(), 10, "中", 0, 0, 24, 16, Solid(Rgb(0xFFFFFF)));
    else c.TextCentred(SansBoldFont(), 9, "EN", 0, 0, 24, 16, Solid(Rgb(0xFFFFFF)));
}

void PageBackground(Canvas& c) {
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.FillAll(Vertical(0, h, Mix(Panel(), Rgb(0xFFFFFF), 0.55f), Mix(Panel(), Rgb(0xFFFFFF), 0.15f)));
    // A faint sprig in the corner gives the skin its name without getting in the way of text.
    Sprig(c, w - 8, h - 6, 1.1f, 0.35f);
}

}  // namespace skin
