#include "platform/base/nocase.h"

char16_t UpperCaseChar(char16_t ch) {
    if (ch < 0x80) return (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - 0x20) : ch;
    // Latin-1: à..þ except the division sign; ÿ pairs with Ÿ.
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return static_cast<char16_t>(ch - 0x20);
    if (ch == 0xFF) return 0x178;
    // Latin Extended-A pairs lower case on the odd code point, except the
    // stretch 0x139..0x148 and 0x179..0x17E where they are shifted by one.
    if ((ch >= 0x139 && ch <= 0x148) || (ch >= 0x179 && ch <= 0x17E))
        return (ch % 2 == 0) ? static_cast<char16_t>(ch - 1) : ch;
    if (ch >= 0x100 && ch <= 0x177 && ch != 0x130 && ch != 0x131 && ch != 0x138 &&
        ch != 0x149)
        return (ch % 2 == 1) ? static_cast<char16_t>(ch - 1) : ch;
    // Greek and Cyrillic.
    if (ch >= 0x3B1 && ch <= 0x3CB && ch != 0x3C2) return static_cast<char16_t>(ch - 0x20);
    if (ch >= 0x430 && ch <= 0x44F) return static_cast<char16_t>(ch - 0x20);
    if (ch >= 0x450 && ch <= 0x45F) return static_cast<char16_t>(ch - 0x50);
    // Full-width Latin letters.
    if (ch >= 0xFF41 && ch <= 0xFF5A) return static_cast<char16_t>(ch - 0x20);
    return ch;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& ch : out) ch = UpperCaseChar(ch);
    return out;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperCaseChar(a[i]) != UpperCaseChar(b[i])) return false;
    return true;
}
