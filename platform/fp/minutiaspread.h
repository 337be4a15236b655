// How far apart a press's minutiae lie from one another: a view of the
// finger that does not depend on where its core was found, so that it
// still finds a press whose core was placed a few pixels off, which the
// flow around the core then no longer matches.
//
// The minutiae nearest the core are taken pair by pair, and each pair's
// distance counted into bins of kSpreadBinPixels, shared between the two
// bins whose centres lie nearest (a distance on a bin's edge counts half
// in each), so that a distance that moves a little moves the counts a
// little. The counts are 4 bits each, two bins to a byte, the even bin in
// the low half.
#pragma once

#include <cstdint>

constexpr int kSpreadMinutiae = 12;
constexpr int kSpreadBins = 64;
constexpr int kSpreadBinPixels = 3;
constexpr int kSpreadBytes = kSpreadBins / 2;

// The spread of the minutiae of template bytes IsTemplate accepts.
void MinutiaSpread(const uint8_t* templateBytes, uint8_t spread[kSpreadBytes]);
