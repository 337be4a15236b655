// Case-insensitive comparison of UTF-16 names, as the terminal's file system
// and registry compare them (the case mapping of towupper, wstr.h).
#pragma once

#include <string>
#include <string_view>

std::u16string UpperCase(std::u16string_view text);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);
