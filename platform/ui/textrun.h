// Single lines of text on a DC: measuring and drawing with the DC's font,
// text colour and background mode. ExtTextOut and DrawText build on these;
// callers hold FontLock().
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ui/dc.h"
#include "platform/ui/font.h"

// The selected font's face (the stock font when none was selected).
FontFace& SelectedFace(DeviceContext& dc);

// Calls f(codePoint, unitIndex, unitCount) for each character of UTF-16
// text; a lone surrogate counts as U+FFFD.
template <class F>
void ForEachCodePoint(std::u16string_view text, F&& f) {
    for (size_t i = 0; i < text.size();) {
        char32_t c = text[i];
        size_t units = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        f(c, i, units);
        i += units;
    }
}

int TextWidth(FontFace& face, std::u16string_view text);

// The rows the face's letters take, from the top of the tallest to the
// bottom of the deepest (Latin and Chinese), relative to the cell's top.
struct LetterRows {
    int top = 0;
    int bottom = 0;
};
LetterRows LetterRowsOf(FontFace& face);

struct TextRunOptions {
    std::optional<RECT> clip;     // DC coordinates; drawing stays inside
    bool fillCell = false;        // paint the text cell in the background colour first
    int underline = -1;           // UTF-16 index of a character to underline
    const INT* advances = nullptr;  // per UTF-16 unit, instead of the font's
    bool shortened = false;       // the text lost its end to an ellipsis to fit
};

// Draws `text` with its cell's top-left corner at (x, top).
void DrawTextRun(DeviceContext& dc, FontFace& face, int x, int top, std::u16string_view text,
                 const TextRunOptions& options);

// A text run as drawn: where its letters lie and where the call let them
// land. Checks that every text fits its box watch the runs through this.
struct DrawnTextRun {
    DeviceContext* dc = nullptr;
    std::u16string_view text;
    // Surface coordinates: each letter's inked pixels (faint
    // anti-aliasing at a glyph's rim is left out: losing it cuts nothing).
    std::vector<RECT> letters;
    RECT limit{0, 0, 0, 0};  // surface coordinates: the call's clip or the surface
    RECT cell{0, 0, 0, 0};   // surface coordinates: the line's cells, from the first to past the last
    Pixel color = 0;         // the text colour
    // Per letter: what lay under its inked pixels (on the surface, inside
    // the limit) before the letter was drawn over it.
    std::vector<std::vector<Pixel>> underInk;
    bool shortened = false;  // an ellipsis stands for the rest of the text
};
using TextRunObserver = std::function<void(const DrawnTextRun&)>;
// One observer at a time, called on the drawing thread; an empty one stops.
void SetTextRunObserver(TextRunObserver observer);
