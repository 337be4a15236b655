#include "data/CodePageField.h"

#include <cstring>
#include <string>
#include <string_view>

#include "platform/base/utf.h"

namespace {

// The bytes of `text` in the code page, without a terminating zero.
std::string CodePageBytes(std::u16string_view text, TextToCodePage convert) {
    const std::u16string whole(text);
    std::string bytes(whole.size() * 4 + 4, '\0');
    convert(whole.c_str(), bytes.data(), static_cast<int>(bytes.size()));
    bytes.resize(std::strlen(bytes.c_str()));
    return bytes;
}

}  // namespace

void FitTextToField(LPCWSTR text, char* field, int room, TextToCodePage convert) {
    std::memset(field, 0, static_cast<size_t>(room));
    const std::u16string_view whole = text ? std::u16string_view(text) : std::u16string_view();
    // Each character takes a byte at least and two UTF-16 units at most, so
    // no longer start can fit.
    size_t units = WholeCharacterUnits(whole, 2 * static_cast<size_t>(room) + 1);
    while (units > 0) {
        const std::string bytes = CodePageBytes(whole.substr(0, units), convert);
        if (bytes.size() <= static_cast<size_t>(room)) {
            std::memcpy(field, bytes.data(), bytes.size());
            return;
        }
        units = WholeCharacterUnits(whole, units - 1);
    }
}
