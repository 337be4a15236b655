// Numbers typed into the settings fields. A field holds text; its value is
// the number the text begins with (blanks and a sign allowed, no digits
// read as 0), and the text itself is what the settings file keeps.
#pragma once

#include "platform/base/CString.h"

// The value of a typed text, and whether it may be stored under `bound`:
// refused when the text is empty, when its number does not fit the 32-bit
// signed setting (so "4294967296" is never taken for 0 or for another
// number), or when the number, taken as unsigned, is above `bound` (so a
// negative number is refused too).
bool ReadTypedNumber(const CString& text, UINT bound, LONG* value);

// A typed number that passed: when it differs from the setting `stored`,
// the text goes into the settings document under `key` as it was typed,
// saved with the page's last write; the page takes the number once that
// write is done.
void WriteTypedNumber(const char16_t* key, const CString& text, LONG value, int stored);
