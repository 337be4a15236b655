// Whether every text on the screen is seen whole: each visible window is
// painted afresh and every text run it draws (labels, edits, buttons, list
// rows, boxes) is measured letter by letter against the window's box, its
// clip and the windows above it.
//
// Texts that cannot fit because the page's own given geometry is too small
// for them are listed in text_fit.cpp with the reason, and not reported.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/types.h"

struct TextMisfit {
    HWND window = nullptr;  // the window whose painting drew the text
    std::u16string text;
    RECT letters{0, 0, 0, 0};  // screen coordinates: the bounds of its letters
    std::string problem;       // what hides part of it
};

// A window that draws its own text over its own frame (a skinned message
// box) gives that text an area inside itself; a line of it drawn out of
// the area runs over the frame or the buttons although the window shows it.
struct GivenTextArea {
    RECT area{0, 0, 0, 0};  // client coordinates
    std::u16string text;    // the whole text: a run drawn of a piece of it belongs to it
};
using TextAreaFinder = std::function<std::optional<GivenTextArea>(HWND)>;
// From now on the checks ask `finder` about each window they paint.
void FindTextAreasWith(TextAreaFinder finder);

// Paints every visible window of `top`'s tree (nullptr: every top-level
// window), parents first, and returns the texts not shown whole. The screen
// keeps what it showed. Call it when the user interface is idle.
std::vector<TextMisfit> FindTextMisfits(HWND top = nullptr);

// The same, and also the texts whose letters do not stand out from what
// lies under them (a quarter of a letter's strokes or more on colours of
// about its own lightness). Pages draw some texts faint on purpose (a box
// not in use, the page behind a message), so widgets ask for this.
std::vector<TextMisfit> FindHardToReadTexts(HWND top);

// One line per misfit, for test failures.
std::string Describe(const std::vector<TextMisfit>& misfits);
