#include "platform/base/codepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include "platform/base/lasterror.h"
#include "platform/base/modules.h"
#include "platform/base/utf.h"

namespace {

constexpr UINT kSystemCodePage = 936;
constexpr const char* kUtf16Host = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

UINT ResolveCodePage(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
        return kSystemCodePage;
    default:
        return codePage;
    }
}

// The host converter's name for a code page; strict GBK for 936.
std::string IconvName(UINT codePage) {
    if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
    if (codePage == 20127) return "ASCII";
    if (codePage == 20866) return "KOI8-R";
    if (codePage == 21866) return "KOI8-U";
    return "CP" + std::to_string(codePage);
}

// One converter per code page and direction per thread: an iconv descriptor
// carries state and must not be shared between threads.
class ConverterCache {
public:
    ~ConverterCache() {
        for (auto& entry : m_converters)
            if (entry.second != reinterpret_cast<iconv_t>(-1)) iconv_close(entry.second);
    }
    std::optional<iconv_t> Get(UINT codePage, bool toWide) {
        const auto key = std::make_pair(codePage, toWide);
        auto it = m_converters.find(key);
        if (it == m_converters.end()) {
            const std::string name = IconvName(codePage);
            iconv_t cd = toWide ? iconv_open(kUtf16Host, name.c_str()) : iconv_open(name.c_str(), kUtf16Host);
            it = m_converters.emplace(key, cd).first;
        }
        if (it->second == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        return it->second;
    }

private:
    std::map<std::pair<UINT, bool>, iconv_t> m_converters;
};

thread_local ConverterCache t_converters;

// The character-set library a language file may ask for by name: its
// iconv_open, iconv and iconv_close are the system's, which know every
// character set the code pages here do, and more.
const bool g_iconvModule = [] {
    RegisterBuiltinModule(u"libiconv_arm4i.dll", {{"iconv_open", AsFarProc(&iconv_open)},
                                                  {"iconv", AsFarProc(&iconv)},
                                                  {"iconv_close", AsFarProc(&iconv_close)}});
    return true;
}();

// Runs iconv over the whole input; at each sequence it cannot convert (the
// error EILSEQ, or EINVAL for one the input ends inside), the handler
// appends a replacement to `out` and returns how many input bytes to skip.
template <class OnInvalid>
void RunIconv(iconv_t cd, const char* input, size_t inputBytes, std::string& out, OnInvalid onInvalid) {
    char* in = const_cast<char*>(input);
    size_t inLeft = inputBytes;
    while (inLeft > 0) {
        char chunk[1024];
        char* o = chunk;
        size_t oLeft = sizeof chunk;
        const size_t result = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(chunk, static_cast<size_t>(o - chunk));
        if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
        const int error = errno;
        const size_t skip = std::min(inLeft, onInvalid(in, inLeft, error, out));
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

// The bytes one '?' stands for. A GBK lead byte whose pair is no character
// takes its trail byte with it, unless that byte is a character of its own
// (below 0x80), where reading starts again: one bad pair is one '?' and
// never makes the next pair out of its second half.
size_t InvalidSequenceLength(UINT codePage, const char* at, size_t left) {
    const auto lead = static_cast<unsigned char>(at[0]);
    const bool gbkLead = codePage == kSystemCodePage && lead >= 0x81 && lead <= 0xFE;
    return gbkLead && left >= 2 && static_cast<unsigned char>(at[1]) >= 0x80 ? 2 : 1;
}

struct Decoded {
    std::u16string text;
    bool invalid = false;
    // The bytes at the end that begin a character the input ends inside.
    size_t incompleteTail = 0;
};

struct Encoded {
    std::string bytes;
    bool usedDefault = false;
};

std::optional<Decoded> Decode(UINT codePage, std::string_view bytes) {
    codePage = ResolveCodePage(codePage);
    Decoded result;
    if (codePage == CP_UTF8) {
        result.text = Utf8ToUtf16(bytes);
        result.invalid = Utf16ToUtf8(result.text) != bytes;
        result.incompleteTail = Utf8IncompleteTail(bytes);
        return result;
    }
    const auto cd = t_converters.Get(codePage, true);
    if (!cd) return std::nullopt;
    std::string raw;
    RunIconv(*cd, bytes.data(), bytes.size(), raw, [&](const char* at, size_t left, int error, std::string& out) {
        const char16_t question = u'?';
        out.append(reinterpret_cast<const char*>(&question), sizeof question);
        result.invalid = true;
        if (error == EINVAL) result.incompleteTail = left;
        return InvalidSequenceLength(codePage, at, left);
    });
    result.text.resize(raw.size() / sizeof(char16_t));
    std::memcpy(result.text.data(), raw.data(), result.text.size() * sizeof(char16_t));
    return result;
}

bool IsSurrogatePairAt(const char* bytes, size_t left) {
    if (left < 2 * sizeof(char16_t)) return false;
    char16_t units[2];
    std::memcpy(units, bytes, sizeof units);
    return units[0] >= 0xD800 && units[0] < 0xDC00 && units[1] >= 0xDC00 && units[1] < 0xE000;
}

std::optional<Encoded> Encode(UINT codePage, std::u16string_view text, std::string_view defaultChar) {
    codePage = ResolveCodePage(codePage);
    Encoded result;
    if (codePage == CP_UTF8) {
        result.bytes = Utf16ToUtf8(text);
        result.usedDefault = Utf8ToUtf16(result.bytes) != text;
        return result;
    }
    const auto cd = t_converters.Get(codePage, false);
    if (!cd) return std::nullopt;
    RunIconv(*cd, reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t), result.bytes,
             [&](const char* at, size_t left, int, std::string& out) {
                 out.append(defaultChar);
                 result.usedDefault = true;
                 return IsSurrogatePairAt(at, left) ? 2 * sizeof(char16_t) : sizeof(char16_t);
             });
    return result;
}

// Copies a converted text to the caller's buffer with the Win32 rules for
// size queries and short buffers.
template <class C>
int Deliver(const std::basic_string<C>& text, C* buffer, int capacity) {
    const int needed = static_cast<int>(text.size());
    if (capacity == 0) return needed;
    if (needed > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.data(), text.size() * sizeof(C));
    return needed;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

size_t InputLength(const char* text, int length) {
    return length < 0 ? std::strlen(text) + 1 : static_cast<size_t>(length);
}

size_t InputLength(const char16_t* text, int length) {
    return length < 0 ? std::char_traits<char16_t>::length(text) + 1 : static_cast<size_t>(length);
}

}  // namespace

UINT GetACP() { return kSystemCodePage; }

UINT GetOEMCP() { return kSystemCodePage; }

BOOL IsValidCodePage(UINT codePage) {
    if (codePage == CP_UTF8) return TRUE;
    return t_converters.Get(codePage, true) ? TRUE : FALSE;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength) {
    if (!multiByte || multiByteLength == 0 || wideLength < 0 || (wideLength > 0 && !wide))
        return Fail(ERROR_INVALID_PARAMETER);
    const auto decoded = Decode(codePage, std::string_view(multiByte, InputLength(multiByte, multiByteLength)));
    if (!decoded) return Fail(ERROR_INVALID_PARAMETER);
    if (decoded->invalid && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    return Deliver(decoded->text, wide, wideLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (!wide || wideLength == 0 || multiByteLength < 0 || (multiByteLength > 0 && !multiByte))
        return Fail(ERROR_INVALID_PARAMETER);
    if (ResolveCodePage(codePage) == CP_UTF8 && (defaultChar || usedDefaultChar)) return Fail(ERROR_INVALID_PARAMETER);
    // The default character is one character of the code page: up to two bytes.
    const std::string_view fallback = defaultChar ? std::string_view(defaultChar, strnlen(defaultChar, 2)) : "?";
    const auto encoded = Encode(codePage, std::u16string_view(wide, InputLength(wide, wideLength)), fallback);
    if (!encoded) return Fail(ERROR_INVALID_PARAMETER);
    if (encoded->usedDefault && (flags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    if (usedDefaultChar) *usedDefaultChar = encoded->usedDefault ? TRUE : FALSE;
    return Deliver(encoded->bytes, multiByte, multiByteLength);
}

std::u16string DecodeCodePage(UINT codePage, std::string_view bytes) {
    auto decoded = Decode(codePage, bytes);
    return decoded ? std::move(decoded->text) : std::u16string();
}

size_t IncompleteTailBytes(UINT codePage, std::string_view bytes) {
    const auto decoded = Decode(codePage, bytes);
    return decoded ? decoded->incompleteTail : 0;
}

std::string EncodeCodePage(UINT codePage, std::u16string_view text, bool* usedDefault) {
    auto encoded = Encode(codePage, text, "?");
    if (usedDefault) *usedDefault = encoded && encoded->usedDefault;
    return encoded ? std::move(encoded->bytes) : std::string();
}
