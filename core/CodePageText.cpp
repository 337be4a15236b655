#include "core/CodePageText.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/MachineConfig.h"
#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf.h"

IconvOpenProc g_pfnIconvOpen = nullptr;
IconvProc g_pfnIconv = nullptr;
IconvCloseProc g_pfnIconvClose = nullptr;

namespace {

constexpr UINT kSystemCodePage = 936;

// The code page of the setting, when the platform converts narrow text with
// it; else `none` (the setting 0, or a code page such as 1200, UTF-16, that
// is no narrow text, or one the platform does not have): a setting the
// terminal cannot use never turns every name into an empty text.
UINT SettingCodePage(UINT none) {
    const UINT codePage = static_cast<UINT>(g_MachineConfig.CodePage);
    if (codePage == 0) return none;
    if (IsValidCodePage(codePage)) return codePage;
    static std::atomic<UINT> told{0};
    if (told.exchange(codePage) != codePage)
        std::fprintf(stderr, "code page %u is none the terminal converts: code page %u is used\n", codePage,
                     kSystemCodePage);
    return none;
}

// The converter of the language's character set; none while the library is
// not loaded or does not know the name.
class CCharsetConverter {
public:
    CCharsetConverter(const char* to, const char* from) {
        if (g_pfnIconvOpen && g_pfnIconv && g_pfnIconvClose) m_cd = g_pfnIconvOpen(to, from);
    }
    ~CCharsetConverter() {
        if (IsOpen()) g_pfnIconvClose(m_cd);
    }
    CCharsetConverter(const CCharsetConverter&) = delete;
    CCharsetConverter& operator=(const CCharsetConverter&) = delete;

    bool IsOpen() const { return m_cd != nullptr && m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input into at most `room` bytes. What the set
    // cannot convert becomes `replacement` (of `replacementSize` bytes), one
    // for each `skip` input bytes: a name keeps the rest of its characters.
    // False when something was replaced. `incompleteTail`, when given (and
    // 0), becomes the count of bytes at the end that begin a character whose
    // rest is missing.
    bool Convert(const char* input, size_t inputBytes, char* output, size_t room, const char* replacement,
                 size_t replacementSize, size_t skip, size_t* incompleteTail = nullptr) {
        char* in = const_cast<char*>(input);
        size_t inLeft = inputBytes;
        char* out = output;
        size_t outLeft = room;
        bool exact = true;
        while (inLeft > 0) {
            if (g_pfnIconv(m_cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
            if (errno != EILSEQ && errno != EINVAL) break;  // the room is full
            // The first such place holds them all: what is read after it
            // is part of them.
            if (errno == EINVAL && incompleteTail) *incompleteTail = std::max(*incompleteTail, inLeft);
            exact = false;
            if (outLeft < replacementSize) break;
            std::memcpy(out, replacement, replacementSize);
            out += replacementSize;
            outLeft -= replacementSize;
            const size_t step = std::min(skip, inLeft);
            in += step;
            inLeft -= step;
        }
        return exact;
    }

private:
    iconv_t m_cd = nullptr;
};

std::string CharsetName() { return Utf16ToUtf8(CString(g_MachineConfig.IconvCharset).str()); }

}  // namespace

int MultiByteToText(const char* text, LPWSTR buffer, int size, bool* exact) {
    if (exact) *exact = true;
    if (!CString(g_MachineConfig.IconvCharset).IsEmpty()) {
        CCharsetConverter converter("UCS-2LE", CharsetName().c_str());
        if (converter.IsOpen()) {
            std::memset(buffer, 0, static_cast<size_t>(size) * sizeof(WCHAR));
            const char16_t question = u'?';
            const bool converted =
                converter.Convert(text, std::strlen(text), reinterpret_cast<char*>(buffer),
                                  static_cast<size_t>(size) * sizeof(WCHAR) - sizeof(WCHAR),
                                  reinterpret_cast<const char*>(&question), sizeof question, 1);
            if (exact) *exact = converted;
            return 1;
        }
    }
    const UINT codePage = SettingCodePage(kSystemCodePage);
    if (exact) {
        const int strict = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, -1, buffer, size);
        if (strict > 0 || GetLastError() != ERROR_NO_UNICODE_TRANSLATION) return strict;
        *exact = false;
    }
    return MultiByteToWideChar(codePage, 0, text, -1, buffer, size);
}

int TextToMultiByte(LPCWSTR text, char* buffer, int size) {
    if (!CString(g_MachineConfig.IconvCharset).IsEmpty()) {
        CCharsetConverter converter(CharsetName().c_str(), "UCS-2LE");
        if (converter.IsOpen()) {
            // One UTF-16 unit at a time: a character outside the set, or half
            // of a pair, is one '?'.
            converter.Convert(reinterpret_cast<const char*>(text),
                              std::char_traits<char16_t>::length(text) * sizeof(WCHAR), buffer,
                              static_cast<size_t>(size), "?", 1, sizeof(WCHAR));
            return 1;
        }
    }
    return WideCharToMultiByte(SettingCodePage(CP_ACP), 0, text, -1, buffer, size, nullptr, nullptr);
}

int CutCharacterBytes(const char* text, int bytes) {
    const size_t length = static_cast<size_t>(std::max(bytes, 0));
    if (!CString(g_MachineConfig.IconvCharset).IsEmpty()) {
        CCharsetConverter converter("UCS-2LE", CharsetName().c_str());
        if (converter.IsOpen()) {
            // Each byte read gives at most one UTF-16 unit.
            std::vector<char16_t> scratch(length + 1);
            const char16_t question = u'?';
            size_t tail = 0;
            converter.Convert(text, length, reinterpret_cast<char*>(scratch.data()), scratch.size() * sizeof(WCHAR),
                              reinterpret_cast<const char*>(&question), sizeof question, 1, &tail);
            return static_cast<int>(tail);
        }
    }
    return static_cast<int>(IncompleteTailBytes(SettingCodePage(kSystemCodePage), std::string_view(text, length)));
}
