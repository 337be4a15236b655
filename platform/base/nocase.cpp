#include "platform/base/nocase.h"

#include "platform/base/wstr.h"

std::u16string UpperCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& ch : out) ch = towupper(ch);
    return out;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (towupper(a[i]) != towupper(b[i])) return false;
    return true;
}
