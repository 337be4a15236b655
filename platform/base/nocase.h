// Case-insensitive comparison of UTF-16 names, as the terminal's file system
// and registry compare them: simple one-to-one upper-casing of Latin, Greek
// and Cyrillic letters; every other character compares as itself.
#pragma once

#include <string>
#include <string_view>

char16_t UpperCaseChar(char16_t ch);
std::u16string UpperCase(std::u16string_view text);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);
