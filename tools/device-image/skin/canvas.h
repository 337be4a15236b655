// A small anti-aliased painter for the skin generator: shapes are signed
// distance functions (negative inside), paints give a colour per point, and
// every fill is composited "over" what is there. Pixels are straight RGBA.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/surface.h"

namespace skin {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};
// From 0xRRGGBB; a COLORREF (0x00BBGGRR) goes through FromColorref.
Color Rgb(uint32_t rrggbb, float alpha = 1);
Color FromColorref(uint32_t colorref, float alpha = 1);
Color Mix(Color a, Color b, float t);
Color WithAlpha(Color c, float alpha);

using Shape = std::function<float(float x, float y)>;
using Paint = std::function<Color(float x, float y)>;

Paint Solid(Color c);
// Colour stops along the line from (x0, y0) to (x1, y1).
Paint Linear(float x0, float y0, float x1, float y1, std::vector<std::pair<float, Color>> stops);
Paint Vertical(float y0, float y1, Color top, Color bottom);
Paint Radial(float cx, float cy, float radius, Color inner, Color outer);

Shape Circle(float cx, float cy, float r);
Shape RoundRect(float x, float y, float w, float h, float r);
Shape Segment(float x0, float y0, float x1, float y1, float halfWidth);
Shape Polygon(std::vector<std::pair<float, float>> points);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Outline(Shape s, float width);  // a band of that width centred on the edge
Shape Offset(Shape s, float dx, float dy);
// An arc of a ring: angles in degrees, 0 = right, counter-clockwise, on screen (y down).
Shape Arc(float cx, float cy, float r, float halfWidth, float fromDeg, float toDeg);

class Canvas {
public:
    Canvas(int width, int height, Color fill = {0, 0, 0, 0});
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(const Shape& shape, const Paint& paint);
    void Fill(const Shape& shape, Color c) { Fill(shape, Solid(c)); }
    void FillAll(const Paint& paint);
    // A soft shadow: the shape blurred by `radius`, moved by (dx, dy).
    void Shadow(const Shape& shape, float dx, float dy, float radius, Color c);
    // Another canvas at (x, y), each pixel repeated `scale` times in both directions.
    void Draw(const Canvas& other, int x, int y, int scale = 1);

    // Text in a TrueType face; (x, baseline) is the pen start. Returns the advance.
    float Text(const std::string& fontFile, float pixelSize, const std::string& utf8, float x, float baseline,
               const Paint& paint);
    float TextWidth(const std::string& fontFile, float pixelSize, const std::string& utf8);
    // Text centred in the box (x, y, w, h), optically on the cap height.
    void TextCentred(const std::string& fontFile, float pixelSize, const std::string& utf8, float x, float y,
                     float w, float h, const Paint& paint);

    Color At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // 0xAARRGGBB, the platform's pixel format.
    Surface ToSurface() const;
    void SavePng(const std::string& path) const;
    // 24-bit BMP; transparent pixels are composited over black.
    void SaveBmp(const std::string& path) const;

private:
    void Blend(int x, int y, Color c, float coverage);
    int width_;
    int height_;
    std::vector<Color> pixels_;
};

// Shared font files of the generator.
std::string SansFont();
std::string SansBoldFont();
std::string CjkFont();

}  // namespace skin
