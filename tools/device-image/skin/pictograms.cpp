#include "tools/device-image/skin/pictograms.h"

#include <cmath>
#include <string>

namespace skin {
namespace {

// Pictograms are designed on a 48-unit grid and scaled into the box.
class Pen {
public:
    Pen(Canvas& canvas, float x, float y, float size, Color ink) : c_(canvas), x_(x), y_(y), k_(size / 48), ink_(ink) {}
    float X(float u) const { return x_ + u * k_; }
    float Y(float v) const { return y_ + v * k_; }
    float K(float u) const { return u * k_; }

    void Line(float x0, float y0, float x1, float y1, float w = 3.2f) { c_.Fill(Segment(X(x0), Y(y0), X(x1), Y(y1), K(w) / 2), ink_); }
    void Ring(float cx, float cy, float r, float w = 3.2f) { c_.Fill(Outline(Circle(X(cx), Y(cy), K(r)), K(w)), ink_); }
    void Dot(float cx, float cy, float r) { c_.Fill(Circle(X(cx), Y(cy), K(r)), ink_); }
    void Box(float x, float y, float w, float h, float r, float lw = 3.2f) {
        c_.Fill(Outline(RoundRect(X(x), Y(y), K(w), K(h), K(r)), K(lw)), ink_);
    }
    void Solid(float x, float y, float w, float h, float r) { c_.Fill(RoundRect(X(x), Y(y), K(w), K(h), K(r)), ink_); }
    void ArcLine(float cx, float cy, float r, float from, float to, float w = 3.2f) {
        c_.Fill(Arc(X(cx), Y(cy), K(r), K(w) / 2, from, to), ink_);
    }
    void Poly(std::vector<std::pair<float, float>> pts) {
        for (auto& [px, py] : pts) {
            px = X(px);
            py = Y(py);
        }
        c_.Fill(Polygon(pts), ink_);
    }
    void PolyOutline(std::vector<std::pair<float, float>> pts, float w = 3.2f) {
        for (auto& [px, py] : pts) {
            px = X(px);
            py = Y(py);
        }
        c_.Fill(Outline(Polygon(pts), K(w)), ink_);
    }
    void Text(const std::string& text, float cx, float cy, float size) {
        c_.TextCentred(SansBoldFont(), K(size), text, X(cx) - K(24), Y(cy) - K(12), K(48), K(24), Solid(ink_));
    }
    void Ellipse(float cx, float cy, float rx, float ry) { c_.Fill(skin::Ellipse(X(cx), Y(cy), K(rx), K(ry)), ink_); }
    void LowerEllipseArc(float cx, float cy, float rx, float ry, float w = 3.2f) {
        const float edge = Y(cy);
        c_.Fill(Intersect(Outline(skin::Ellipse(X(cx), Y(cy), K(rx), K(ry)), K(w)), [edge](float, float y) { return edge - y; }),
                ink_);
    }

private:
    static Paint Solid(Color c) { return skin::Solid(c); }
    Canvas& c_;
    float x_, y_, k_;
    Color ink_;
};

void Fingerprint(Pen& p, float cx, float cy, float s) {
    // Nested loops around the core, as ridges run on a fingertip; a few are
    // broken the way real ridges are.
    struct Loop {
        float r, leftDrop, rightDrop, from, to;
    };
    const Loop loops[] = {{2.5f, 6, 4, 0, 180},   {7, 12, 9, 0, 180},  {11.5f, 14, 5, 0, 150},
                          {11.5f, 0, 0, 162, 180}, {16, 9, 12, 0, 180}, {20.5f, 0, 0, 25, 155}};
    const float w = 2.7f;
    for (const Loop& l : loops) {
        p.ArcLine(cx, cy - 2 * s, l.r * s, l.from, l.to, w);
        if (l.leftDrop > 0) p.Line(cx - l.r * s, cy - 2 * s, cx - l.r * s, cy + (l.leftDrop - 2) * s, w);
        if (l.rightDrop > 0) p.Line(cx + l.r * s, cy - 2 * s, cx + l.r * s, cy + (l.rightDrop - 2) * s, w);
    }
}

void Person(Pen& p, float cx, float top, float s) {
    p.Dot(cx, top + 7 * s, 6.5f * s);
    p.Poly({{cx - 12 * s, top + 30 * s}, {cx - 11 * s, top + 21 * s}, {cx - 6 * s, top + 16 * s},
            {cx + 6 * s, top + 16 * s}, {cx + 11 * s, top + 21 * s}, {cx + 12 * s, top + 30 * s}});
}

void Cylinder(Pen& p, float cx, float top, float rx, float h) {
    const float ry = rx * 0.38f;
    p.Ellipse(cx, top, rx, ry);
    p.Line(cx - rx, top, cx - rx, top + h, 3);
    p.Line(cx + rx, top, cx + rx, top + h, 3);
    p.LowerEllipseArc(cx, top + h / 2, rx, ry, 3);
    p.LowerEllipseArc(cx, top + h, rx, ry, 3);
}

void Arrow(Pen& p, float x0, float y0, float x1, float y1) {
    p.Line(x0, y0, x1, y1, 3.4f);
    const float dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    const float ux = dx / len, uy = dy / len;
    p.Poly({{x1 + ux * 4, y1 + uy * 4}, {x1 - ux * 6 - uy * 6, y1 - uy * 6 + ux * 6}, {x1 - ux * 6 + uy * 6, y1 - uy * 6 - ux * 6}});
}

void Gear(Pen& p, float cx, float cy, float r) {
    for (int i = 0; i < 8; ++i) {
        const float a = i * 3.14159f / 4;
        p.Line(cx + std::cos(a) * r * 0.7f, cy + std::sin(a) * r * 0.7f, cx + std::cos(a) * r * 1.12f,
               cy + std::sin(a) * r * 1.12f, r * 0.42f);
    }
    p.Ring(cx, cy, r * 0.78f, r * 0.42f);
}

void ClockFace(Pen& p, float cx, float cy, float r) {
    p.Ring(cx, cy, r, 3);
    p.Line(cx, cy, cx, cy - r * 0.6f, 3);
    p.Line(cx, cy, cx + r * 0.45f, cy + r * 0.2f, 3);
}

void Tray(Pen& p) {
    p.Line(8, 30, 8, 40, 3.2f);
    p.Line(8, 40, 40, 40, 3.2f);
    p.Line(40, 30, 40, 40, 3.2f);
}

void Document(Pen& p) {
    p.Box(10, 5, 24, 32, 3);
    p.Line(15, 14, 29, 14, 2.6f);
    p.Line(15, 21, 29, 21, 2.6f);
    p.Line(15, 28, 24, 28, 2.6f);
}

}  // namespace

void DrawPictogram(Canvas& canvas, Pictogram pictogram, float x, float y, float size, Color ink) {
    Pen p(canvas, x, y, size, ink);
    switch (pictogram) {
        case Pictogram::Fingerprint: Fingerprint(p, 24, 25, 1); break;
        case Pictogram::FingerprintPlus:
            Fingerprint(p, 21, 22, 0.9f);
            p.Line(36, 30, 36, 44, 3.4f);
            p.Line(29, 37, 43, 37, 3.4f);
            break;
        case Pictogram::Users:
            Person(p, 30, 8, 0.85f);
            Person(p, 18, 12, 1.0f);
            break;
        case Pictogram::UserPlus:
            Person(p, 19, 8, 1.05f);
            p.Line(38, 14, 38, 30, 3.6f);
            p.Line(30, 22, 46, 22, 3.6f);
            break;
        case Pictogram::UserMinus:
            Person(p, 19, 8, 1.05f);
            p.Line(30, 22, 46, 22, 3.6f);
            break;
        case Pictogram::UserSearch:
            Person(p, 17, 6, 0.95f);
            p.Ring(33, 29, 7, 3.2f);
            p.Line(38, 34, 44, 40, 3.6f);
            break;
        case Pictogram::UserEdit:
            Person(p, 17, 6, 0.95f);
            p.Line(30, 40, 43, 27, 4);
            break;
        case Pictogram::Database: Cylinder(p, 24, 11, 14, 24); break;
        case Pictogram::DatabaseUp:
            Cylinder(p, 19, 13, 12, 22);
            Arrow(p, 38, 40, 38, 18);
            break;
        case Pictogram::DatabaseRestore:
            Cylinder(p, 19, 13, 12, 22);
            p.ArcLine(37, 28, 8, 270, 500, 3);
            p.Poly({{37, 15}, {43, 20}, {36, 24}});
            break;
        case Pictogram::Import:
            Tray(p);
            Arrow(p, 24, 6, 24, 30);
            break;
        case Pictogram::Export:
            Tray(p);
            Arrow(p, 24, 32, 24, 8);
            break;
        case Pictogram::UserExport:
            Person(p, 17, 8, 1.0f);
            Arrow(p, 30, 30, 44, 16);
            break;
        case Pictogram::RecordExport:
            Document(p);
            Arrow(p, 30, 34, 44, 20);
            break;
        case Pictogram::RecordSearch:
            Document(p);
            p.Ring(33, 31, 7, 3.2f);
            p.Line(38, 36, 44, 42, 3.6f);
            break;
        case Pictogram::Update:
            p.ArcLine(24, 24, 14, 30, 170, 3.4f);
            p.ArcLine(24, 24, 14, 210, 350, 3.4f);
            p.Poly({{38, 10}, {39, 22}, {28, 18}});
            p.Poly({{10, 38}, {9, 26}, {20, 30}});
            break;
        case Pictogram::StatusKeys:
            p.Box(6, 10, 36, 28, 6);
            p.Text("F1", 24, 24, 17);
            break;
        case Pictogram::TimeCard:
            p.Box(5, 4, 24, 32, 3);
            p.Line(10, 12, 24, 12, 2.6f);
            p.Line(10, 19, 19, 19, 2.6f);
            ClockFace(p, 33, 32, 10);
            break;
        case Pictogram::AutoStatus:
            ClockFace(p, 20, 26, 13);
            p.Text("F", 38, 14, 14);
            break;
        case Pictogram::Bell:
            p.Poly({{12, 34}, {15, 28}, {15, 18}, {20, 11}, {28, 11}, {33, 18}, {33, 28}, {36, 34}});
            p.Dot(24, 9, 3);
            p.Dot(24, 38, 4);
            break;
        case Pictogram::Message:
            p.Box(6, 8, 36, 24, 6);
            p.Poly({{14, 31}, {24, 31}, {13, 41}});
            p.Line(13, 17, 35, 17, 2.6f);
            p.Line(13, 23, 29, 23, 2.6f);
            break;
        case Pictogram::Gear: Gear(p, 24, 24, 13); break;
        case Pictogram::Device:
            p.Box(8, 4, 32, 40, 5);
            p.Solid(13, 9, 22, 15, 2);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) p.Dot(16 + c * 8, 29 + r * 5.5f, 1.9f);
            break;
        case Pictogram::Network:
            p.Box(17, 5, 14, 10, 2);
            p.Box(5, 32, 14, 10, 2);
            p.Box(29, 32, 14, 10, 2);
            p.Line(24, 15, 24, 24, 3);
            p.Line(12, 24, 36, 24, 3);
            p.Line(12, 24, 12, 32, 3);
            p.Line(36, 24, 36, 32, 3);
            break;
        case Pictogram::Display:
            p.Box(5, 7, 38, 26, 3);
            p.Line(24, 33, 24, 40, 3);
            p.Line(15, 41, 33, 41, 3.4f);
            p.Dot(24, 20, 5);
            break;
        case Pictogram::RecordSettings:
            Document(p);
            Gear(p, 35, 34, 7);
            break;
        case Pictogram::Calendar:
            p.Box(6, 9, 36, 32, 4);
            p.Solid(6, 9, 36, 9, 3);
            p.Line(15, 5, 15, 12, 3.4f);
            p.Line(33, 5, 33, 12, 3.4f);
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 4; ++c) p.Solid(11 + c * 7.5f, 23 + r * 8, 4.5f, 4.5f, 1);
            break;
        case Pictogram::Info:
            p.Ring(24, 24, 18, 3.4f);
            p.Dot(24, 14, 3);
            p.Line(24, 21, 24, 34, 4.2f);
            break;
        case Pictogram::FingerGear:
            Fingerprint(p, 20, 20, 0.85f);
            Gear(p, 36, 35, 7);
            break;
        case Pictogram::Camera:
            p.Box(5, 14, 38, 26, 5);
            p.Solid(16, 9, 14, 7, 2);
            p.Ring(24, 27, 8, 3.2f);
            p.Dot(36, 20, 2);
            break;
        case Pictogram::VerifyMode:
            p.PolyOutline({{24, 5}, {40, 11}, {38, 28}, {24, 43}, {10, 28}, {8, 11}});
            p.Line(16, 24, 22, 30, 3.6f);
            p.Line(22, 30, 33, 17, 3.6f);
            break;
        case Pictogram::Door:
            p.Box(12, 5, 24, 38, 2);
            p.Dot(30, 25, 2.4f);
            break;
        case Pictogram::DoorOpen:
            p.Box(12, 5, 24, 38, 2);
            p.Poly({{12, 5}, {27, 10}, {27, 46}, {12, 43}});
            break;
        case Pictogram::Clock: ClockFace(p, 24, 24, 17); break;
        case Pictogram::GroupClock:
            Person(p, 16, 8, 0.9f);
            ClockFace(p, 34, 30, 9);
            break;
        case Pictogram::Shield:
            p.Poly({{24, 4}, {41, 10}, {39, 28}, {24, 44}, {9, 28}, {7, 10}});
            break;
        case Pictogram::Wifi:
            p.Dot(24, 38, 3.5f);
            p.ArcLine(24, 38, 10, 50, 130, 3.6f);
            p.ArcLine(24, 38, 18, 50, 130, 3.6f);
            p.ArcLine(24, 38, 26, 52, 128, 3.6f);
            break;
        case Pictogram::Serial232: p.Text("232", 24, 24, 17); break;
        case Pictogram::Serial485: p.Text("485", 24, 24, 17); break;
        case Pictogram::Card:
            // A proximity card with its chip and the radio arcs of the reader.
            p.Box(4, 14, 30, 22, 3);
            p.Solid(9, 20, 8, 6, 1.5f);
            p.ArcLine(32, 16, 7, -40, 40, 2.8f);
            p.ArcLine(32, 16, 13, -35, 35, 2.8f);
            break;
        case Pictogram::Keypad:
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 3; ++c) p.Solid(9 + c * 11, 5 + r * 10, 8, 7, 2);
            break;
    }
}

}  // namespace skin
