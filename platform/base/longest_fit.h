// The longest start of a text that fits a room, when the width of a start
// grows with its length: found in as many measures as the length has bits,
// so that a text thousands of characters long costs a handful of measures.
#pragma once

#include <cstddef>

// The largest n in [0, count] for which `fits(n)` holds; `fits(0)` is taken
// to hold and is never asked.
template <class Fits>
size_t LongestFit(size_t count, Fits fits) {
    size_t longest = 0;
    for (size_t low = 1, high = count; low <= high;) {
        const size_t middle = low + (high - low) / 2;
        if (fits(middle)) {
            longest = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return longest;
}
