// Conversions between the application's UTF-16 text and the host's UTF-8
// (file names, environment, log output). Invalid sequences become U+FFFD.
#pragma once

#include <string>
#include <string_view>

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
// The bytes at the end of `text` that begin a sequence whose rest is
// missing (a text cut inside its last character); 0 when it ends on a whole
// character or on bytes no continuation could make one.
size_t Utf8IncompleteTail(std::string_view text);

// The length of the longest start of `text` of at most `units` UTF-16 units
// that ends on a whole character: never between the two halves of a
// surrogate pair.
size_t WholeCharacterUnits(std::u16string_view text, size_t units);
