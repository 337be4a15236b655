// Pixel checks of a widget test page against a picture built the way the
// widget should have drawn it.
#pragma once

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/afxwin.h"
#include "platform/ui/surface.h"

// Paints the page background under `area` into a memory DC, lets `paint`
// add to it (in the area's own coordinates) and compares the result with
// the screen under `area`, pixel for pixel.
::testing::AssertionResult ScreenShows(const CRect& area, const std::function<void(CDC&)>& paint);

// The whole screen as it stands, row after row.
std::vector<Pixel> CopyOfScreen();

// The screen's pixels under `area`, row by row, without their alpha.
std::vector<Pixel> ScreenPixels(const CRect& area);
