// Conversion of file bytes in a named encoding to and from UTF-16 text.
// UTF-8, UTF-16 and UTF-32 go through the class's own coders (invalid
// input becomes '?'); every other encoding through the platform's code pages.
#pragma once

#include <string>

#include "platform/base/CString.h"

class TextConverter {
public:
    static constexpr UINT kUtf16 = 1200;
    static constexpr UINT kUtf8 = 65001;
    static constexpr UINT kUtf32 = 65005;  // this system's own number

    // The code page of an encoding name; 0 (the system code page) when the
    // name is empty or unknown.
    static UINT CodePageOf(const CString& name);

    explicit TextConverter(const CString& encoding) : m_codePage(CodePageOf(encoding)) {}
    std::u16string ToWide(const std::string& bytes) const;
    // Sets CharsLost() when a character had no equivalent.
    std::string FromWide(const std::u16string& text);
    bool CharsLost() const { return m_lost; }

private:
    UINT m_codePage;
    bool m_lost = false;
};
