#include "tools/device-image/skin/canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <stdexcept>

#include "platform/ui/imagefile.h"
#include "tools/device-image/xml_text.h"

namespace skin {

Color Rgb(uint32_t rrggbb, float alpha) {
    return {((rrggbb >> 16) & 0xFF) / 255.f, ((rrggbb >> 8) & 0xFF) / 255.f, (rrggbb & 0xFF) / 255.f, alpha};
}

Color FromColorref(uint32_t colorref, float alpha) {
    return {(colorref & 0xFF) / 255.f, ((colorref >> 8) & 0xFF) / 255.f, ((colorref >> 16) & 0xFF) / 255.f, alpha};
}

Color Mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color WithAlpha(Color c, float alpha) {
    c.a = alpha;
    return c;
}

Paint Solid(Color c) {
    return [c](float, float) { return c; };
}

Paint Linear(float x0, float y0, float x1, float y1, std::vector<std::pair<float, Color>> stops) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    return [=](float x, float y) {
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.f, 1.f);
        if (t <= stops.front().first) return stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].first) {
                const float span = stops[i].first - stops[i - 1].first;
                return Mix(stops[i - 1].second, stops[i].second, span > 0 ? (t - stops[i - 1].first) / span : 1);
            }
        }
        return stops.back().second;
    };
}

Paint Vertical(float y0, float y1, Color top, Color bottom) {
    return Linear(0, y0, 0, y1, {{0.f, top}, {1.f, bottom}});
}

Paint Radial(float cx, float cy, float radius, Color inner, Color outer) {
    return [=](float x, float y) {
        return Mix(inner, outer, std::clamp(std::hypot(x - cx, y - cy) / radius, 0.f, 1.f));
    };
}

Shape Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape RoundRect(float x, float y, float w, float h, float r) {
    const float cx = x + w / 2, cy = y + h / 2;
    const float hx = w / 2 - r, hy = h / 2 - r;
    return [=](float px, float py) {
        const float qx = std::abs(px - cx) - hx, qy = std::abs(py - cy) - hy;
        return std::hypot(std::max(qx, 0.f), std::max(qy, 0.f)) + std::min(std::max(qx, qy), 0.f) - r;
    };
}

Shape Segment(float x0, float y0, float x1, float y1, float halfWidth) {
    return [=](float x, float y) {
        const float dx = x1 - x0, dy = y1 - y0;
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / std::max(dx * dx + dy * dy, 1e-6f), 0.f, 1.f);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - halfWidth;
    };
}

Shape Polygon(std::vector<std::pair<float, float>> pts) {
    return [pts](float x, float y) {
        float best = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            const float dx = xj - xi, dy = yj - yi;
            const float t = std::clamp(((x - xi) * dx + (y - yi) * dy) / std::max(dx * dx + dy * dy, 1e-6f), 0.f, 1.f);
            best = std::min(best, std::hypot(x - (xi + t * dx), y - (yi + t * dy)));
            if (((yi > y) != (yj > y)) && (x < (xj - xi) * (y - yi) / (yj - yi) + xi)) inside = !inside;
        }
        return inside ? -best : best;
    };
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
    // Scaled circle distance: exact enough for the small radii ratios used here.
    const float k = std::min(rx, ry);
    return [=](float x, float y) { return (std::hypot((x - cx) / rx, (y - cy) / ry) - 1) * k; };
}

Shape Union(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape Subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Shape Intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Shape Outline(Shape s, float width) {
    return [=](float x, float y) { return std::abs(s(x, y)) - width / 2; };
}

Shape Offset(Shape s, float dx, float dy) {
    return [=](float x, float y) { return s(x - dx, y - dy); };
}

Shape Arc(float cx, float cy, float r, float halfWidth, float fromDeg, float toDeg) {
    const float a0 = fromDeg * std::numbers::pi_v<float> / 180, a1 = toDeg * std::numbers::pi_v<float> / 180;
    const float ex0 = cx + r * std::cos(a0), ey0 = cy - r * std::sin(a0);
    const float ex1 = cx + r * std::cos(a1), ey1 = cy - r * std::sin(a1);
    return [=](float x, float y) {
        float a = std::atan2(-(y - cy), x - cx);
        while (a < a0) a += 2 * std::numbers::pi_v<float>;
        if (a <= a1) return std::abs(std::hypot(x - cx, y - cy) - r) - halfWidth;
        return std::min(std::hypot(x - ex0, y - ey0), std::hypot(x - ex1, y - ey1)) - halfWidth;
    };
}

Canvas::Canvas(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::Blend(int x, int y, Color c, float coverage) {
    Color& d = pixels_[static_cast<size_t>(y) * width_ + x];
    const float sa = c.a * coverage;
    if (sa <= 0) return;
    const float outA = sa + d.a * (1 - sa);
    if (outA <= 0) return;
    d.r = (c.r * sa + d.r * d.a * (1 - sa)) / outA;
    d.g = (c.g * sa + d.g * d.a * (1 - sa)) / outA;
    d.b = (c.b * sa + d.b * d.a * (1 - sa)) / outA;
    d.a = outA;
}

void Canvas::Fill(const Shape& shape, const Paint& paint) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float coverage = std::clamp(0.5f - shape(px, py), 0.f, 1.f);
            if (coverage > 0) Blend(x, y, paint(px, py), coverage);
        }
    }
}

void Canvas::FillAll(const Paint& paint) {
    Fill([](float, float) { return -1.f; }, paint);
}

void Canvas::Shadow(const Shape& shape, float dx, float dy, float radius, Color c) {
    Fill([=](float x, float y) { return shape(x - dx, y - dy) - radius / 2; },
         [=](float x, float y) {
             const float d = shape(x - dx, y - dy);
             const float t = std::clamp(0.5f - d / radius, 0.f, 1.f);
             return WithAlpha(c, c.a * t * t);
         });
}

void Canvas::Draw(const Canvas& other, int ox, int oy, int scale) {
    for (int y = 0; y < other.height_ * scale; ++y)
        for (int x = 0; x < other.width_ * scale; ++x)
            if (x + ox >= 0 && y + oy >= 0 && x + ox < width_ && y + oy < height_)
                Blend(x + ox, y + oy, other.At(x / scale, y / scale), 1);
}

namespace {

struct FreeType {
    FT_Library library = nullptr;
    std::map<std::string, FT_Face> faces;
    FreeType() {
        if (FT_Init_FreeType(&library)) throw std::runtime_error("FreeType does not start");
    }
    ~FreeType() {
        for (auto& [path, face] : faces) FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    FT_Face Face(const std::string& path, float pixelSize) {
        FT_Face& face = faces[path];
        if (!face && FT_New_Face(library, path.c_str(), 0, &face)) throw std::runtime_error("cannot open font " + path);
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(pixelSize)));
        return face;
    }
};

FreeType& Fonts() {
    static FreeType fonts;
    return fonts;
}

std::vector<char32_t> CodePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        out.push_back(cp);
        i += 1 + extra;
    }
    return out;
}

}  // namespace

float Canvas::Text(const std::string& fontFile, float pixelSize, const std::string& utf8, float x, float baseline,
                   const Paint& paint) {
    FT_Face face = Fonts().Face(fontFile, pixelSize);
    float pen = x;
    for (char32_t cp : CodePoints(utf8)) {
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot g = face->glyph;
        const int left = static_cast<int>(std::lround(pen)) + g->bitmap_left;
        const int top = static_cast<int>(std::lround(baseline)) - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int px = left + static_cast<int>(col), py = top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= width_ || py >= height_) continue;
                const float coverage = g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.f;
                if (coverage > 0) Blend(px, py, paint(px + 0.5f, py + 0.5f), coverage);
            }
        }
        pen += g->advance.x / 64.f;
    }
    return pen - x;
}

float Canvas::TextWidth(const std::string& fontFile, float pixelSize, const std::string& utf8) {
    FT_Face face = Fonts().Face(fontFile, pixelSize);
    float width = 0;
    for (char32_t cp : CodePoints(utf8))
        if (!FT_Load_Char(face, cp, FT_LOAD_DEFAULT)) width += face->glyph->advance.x / 64.f;
    return width;
}

void Canvas::TextCentred(const std::string& fontFile, float pixelSize, const std::string& utf8, float x, float y,
                         float w, float h, const Paint& paint) {
    const float width = TextWidth(fontFile, pixelSize, utf8);
    FT_Face face = Fonts().Face(fontFile, pixelSize);
    float capHeight = pixelSize * 0.72f;
    if (!FT_Load_Char(face, U'H', FT_LOAD_DEFAULT)) capHeight = face->glyph->metrics.horiBearingY / 64.f;
    Text(fontFile, pixelSize, utf8, std::round(x + (w - width) / 2), std::round(y + (h + capHeight) / 2), paint);
}

namespace {

uint8_t Byte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255));
}

}  // namespace

Surface Canvas::ToSurface() const {
    Surface surface(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Color c = At(x, y);
            surface.At(x, y) = (static_cast<Pixel>(Byte(c.a)) << 24) | (static_cast<Pixel>(Byte(c.r)) << 16) |
                               (static_cast<Pixel>(Byte(c.g)) << 8) | Byte(c.b);
        }
    }
    return surface;
}

void Canvas::SavePng(const std::string& path) const {
    factory::EnsureParentFolder(path);
    if (!WritePng(ToSurface(), path, true)) throw std::runtime_error("cannot write " + path);
}

void Canvas::SaveBmp(const std::string& path) const {
    const int stride = (width_ * 3 + 3) & ~3;
    const uint32_t dataSize = static_cast<uint32_t>(stride * height_);
    std::string out = "BM";
    auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(54 + dataSize, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<uint32_t>(width_), 4);
    put(static_cast<uint32_t>(height_), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(dataSize, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = height_ - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width_; ++x) {
            const Color c = At(x, y);
            row += static_cast<char>(Byte(c.b * c.a));
            row += static_cast<char>(Byte(c.g * c.a));
            row += static_cast<char>(Byte(c.r * c.a));
        }
        row.resize(static_cast<size_t>(stride), '\0');
        out += row;
    }
    factory::WriteTextFile(path, out);
}

std::string SansFont() {
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

std::string SansBoldFont() {
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}

std::string CjkFont() {
    return "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
}

}  // namespace skin
