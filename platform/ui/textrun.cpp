#include "platform/ui/textrun.h"

#include <algorithm>

#include "platform/ui/gdiobject.h"
#include "platform/ui/raster.h"
#include "platform/ui/rect.h"

namespace {

RECT Intersection(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

void DrawGlyph(DeviceContext& dc, const Glyph& glyph, int x, int y, const RECT& limit, Pixel color) {
    RECT box = ToSurface(dc, RECT{x, y, x + glyph.width, y + glyph.height});
    ForEachClipped(dc, Intersection(box, limit), [&](const RECT& piece) {
        for (int sy = piece.top; sy < piece.bottom; ++sy) {
            const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(sy - box.top) * glyph.width;
            Pixel* row = dc.surface->Row(sy);
            for (int sx = piece.left; sx < piece.right; ++sx)
                BlendPixel(row[sx], color, coverage[sx - box.left]);
        }
    });
}

TextRunObserver& Observer() {
    static TextRunObserver observer;
    return observer;
}

// A pixel counts as ink from a quarter coverage on: the fainter rim of
// anti-aliasing may touch a neighbour without anything being lost.
constexpr uint8_t kInkCoverage = 64;

// The glyph's well-inked pixels relative to its bitmap; empty when none.
RECT InkBox(const Glyph& glyph) {
    RECT box{glyph.width, glyph.height, 0, 0};
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            if (glyph.coverage[static_cast<size_t>(y) * glyph.width + x] < kInkCoverage) continue;
            box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return box.right > box.left ? box : RECT{0, 0, 0, 0};
}

// What lies under the glyph's well-inked pixels before it is drawn there.
std::vector<Pixel> PixelsUnderInk(const DeviceContext& dc, const Glyph& glyph, int x, int y, const RECT& limit) {
    std::vector<Pixel> under;
    const RECT box = ToSurface(dc, RECT{x, y, x + glyph.width, y + glyph.height});
    const RECT shown = Intersection(Intersection(box, limit), dc.surface->Bounds());
    for (int sy = shown.top; sy < shown.bottom; ++sy)
        for (int sx = shown.left; sx < shown.right; ++sx)
            if (glyph.coverage[static_cast<size_t>(sy - box.top) * glyph.width + (sx - box.left)] >= kInkCoverage)
                under.push_back(dc.surface->Row(sy)[sx]);
    return under;
}

}  // namespace

void SetTextRunObserver(TextRunObserver observer) { Observer() = std::move(observer); }

FontFace& SelectedFace(DeviceContext& dc) {
    auto* font = reinterpret_cast<FontObject*>(dc.state.font);
    if (!font->face)
        font->face = ResolveFont(font->font);
    return *font->face;
}

int TextWidth(FontFace& face, std::u16string_view text) {
    int width = 0;
    ForEachCodePoint(text, [&](char32_t c, size_t, size_t) { width += face.Advance(c); });
    return width;
}

LetterRows LetterRowsOf(FontFace& face) {
    LetterRows rows{face.Height(), 0};
    for (char32_t c : std::u32string_view(U"Hbdfhklt\u56FDgjpqy")) {
        const Glyph& glyph = face.GlyphOf(c);
        if (glyph.coverage.empty()) continue;
        const int top = face.Ascent() - glyph.top;
        rows.top = std::min(rows.top, top);
        rows.bottom = std::max(rows.bottom, top + glyph.height);
    }
    return rows.bottom > rows.top ? rows : LetterRows{0, face.Height()};
}

void DrawTextRun(DeviceContext& dc, FontFace& face, int x, int top, std::u16string_view text,
                 const TextRunOptions& options) {
    if (dc.surface == nullptr)
        return;
    RECT limit = options.clip ? ToSurface(dc, *options.clip) : dc.surface->Bounds();
    Pixel color = PixelFromColorRef(dc.state.textColor);
    if (options.fillCell) {
        int width = 0;
        ForEachCodePoint(text, [&](char32_t c, size_t i, size_t) {
            width += options.advances != nullptr ? options.advances[i] : face.Advance(c);
        });
        RECT cell = ToSurface(dc, RECT{x, top, x + width, top + face.Height()});
        Pixel background = PixelFromColorRef(dc.state.bkColor);
        ForEachClipped(dc, Intersection(cell, limit), [&](const RECT& piece) {
            for (int y = piece.top; y < piece.bottom; ++y)
                std::fill(dc.surface->Row(y) + piece.left, dc.surface->Row(y) + piece.right, background);
        });
    }
    int baseline = top + face.Ascent();
    int penX = x;
    DrawnTextRun drawn;
    ForEachCodePoint(text, [&](char32_t c, size_t i, size_t) {
        const Glyph& glyph = face.GlyphOf(c);
        if (!glyph.coverage.empty()) {
            RECT ink = Observer() ? InkBox(glyph) : RECT{0, 0, 0, 0};
            if (ink.right > ink.left)
                drawn.underInk.push_back(PixelsUnderInk(dc, glyph, penX + glyph.left, baseline - glyph.top, limit));
            DrawGlyph(dc, glyph, penX + glyph.left, baseline - glyph.top, limit, color);
            if (ink.right > ink.left) {
                OffsetRect(&ink, penX + glyph.left, baseline - glyph.top);
                drawn.letters.push_back(ToSurface(dc, ink));
            }
        }
        int advance = options.advances != nullptr ? options.advances[i] : glyph.advance;
        if (static_cast<int>(i) == options.underline) {
            int y = baseline + std::max(1, face.Descent() / 2);
            RECT line = ToSurface(dc, RECT{penX, y, penX + glyph.advance, y + 1});
            ForEachClipped(dc, Intersection(line, limit), [&](const RECT& piece) {
                std::fill(dc.surface->Row(piece.top) + piece.left, dc.surface->Row(piece.top) + piece.right, color);
            });
        }
        penX += advance;
    });
    if (Observer()) {
        drawn.dc = &dc;
        drawn.text = text;
        drawn.limit = limit;
        drawn.color = color;
        drawn.cell = ToSurface(dc, RECT{x, top, penX, top + face.Height()});
        drawn.shortened = options.shortened;
        Observer()(drawn);
    }
}
