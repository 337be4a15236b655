#include "core/TextConverter.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/UnicodeConvert.h"
#include "platform/base/codepage.h"

namespace {

constexpr int kBuckets = 150;
constexpr int kMaxNameLength = 100;

// Charset names and aliases of the code pages the platform converts.
constexpr std::pair<const char*, UINT> kCharsets[] = {
    {"utf-8", 65001}, {"utf8", 65001}, {"unicode-1-1-utf-8", 65001}, {"unicode-2-0-utf-8", 65001},
    {"utf-16", 1200}, {"utf-16le", 1200}, {"unicode", 1200}, {"ucs-2", 1200}, {"iso-10646-ucs-2", 1200},
    {"unicodefffe", 1201}, {"utf-16be", 1201},
    {"gbk", 936}, {"gb2312", 936}, {"cp936", 936}, {"ms936", 936}, {"windows-936", 936}, {"x-gbk", 936},
    {"csgb2312", 936}, {"chinese", 936}, {"gb_2312-80", 936}, {"iso-ir-58", 936},
    {"big5", 950}, {"cp950", 950}, {"csbig5", 950}, {"x-x-big5", 950}, {"big5-hkscs", 950},
    {"shift_jis", 932}, {"sjis", 932}, {"x-sjis", 932}, {"ms_kanji", 932}, {"csshiftjis", 932},
    {"ks_c_5601-1987", 949}, {"euc-kr", 949}, {"korean", 949}, {"cp949", 949},
    {"windows-874", 874}, {"tis-620", 874},
    {"windows-1250", 1250}, {"x-cp1250", 1250}, {"windows-1251", 1251}, {"x-cp1251", 1251},
    {"windows-1252", 1252}, {"x-ansi", 1252}, {"cp1252", 1252}, {"windows-1253", 1253},
    {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256}, {"windows-1257", 1257},
    {"windows-1258", 1258},
    {"iso-8859-1", 28591}, {"latin1", 28591}, {"l1", 28591}, {"iso_8859-1", 28591}, {"cp819", 28591},
    {"iso-8859-2", 28592}, {"latin2", 28592}, {"iso-8859-5", 28595}, {"cyrillic", 28595},
    {"iso-8859-7", 28597}, {"greek", 28597}, {"iso-8859-9", 28599}, {"latin5", 28599},
    {"koi8-r", 20866}, {"koi8-u", 21866}, {"us-ascii", 20127}, {"ascii", 20127}, {"us", 20127},
};

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

template <class Text>
int BucketOf(const Text& name) {
    int sum = 0;
    for (auto c : name)
        sum += static_cast<char16_t>(c);
    return sum % kBuckets;
}

// Entries: two digits of name length, five digits of code page, the name.
const std::array<std::string, kBuckets>& CharsetBuckets() {
    static const std::array<std::string, kBuckets> buckets = [] {
        std::array<std::string, kBuckets> built;
        for (const auto& [name, codePage] : kCharsets) {
            const std::string text = name;
            const std::string length = std::to_string(text.size());
            const std::string number = std::to_string(codePage);
            built[BucketOf(text)] +=
                std::string(2 - length.size(), '0') + length + std::string(5 - number.size(), '0') + number + text;
        }
        return built;
    }();
    return buckets;
}

std::u16string Utf8ToWideLenient(const std::string& bytes) {
    std::u16string out(bytes.size(), u'\0');
    const UTF8* source = reinterpret_cast<const UTF8*>(bytes.data());
    const UTF8* end = source + bytes.size();
    UTF16* target = out.data();
    UTF16* targetEnd = out.data() + out.size();
    while (source < end) {
        if (ConvertUtf8ToUtf16(source, end, target, targetEnd, lenientConversion) == conversionOK)
            break;
        *target++ = u'?';
        ++source;
    }
    out.resize(static_cast<size_t>(target - out.data()));
    return out;
}

std::string WideToUtf8Lenient(const std::u16string& text) {
    std::string out(text.size() * 3, '\0');
    const UTF16* source = text.data();
    const UTF16* end = source + text.size();
    UTF8* target = reinterpret_cast<UTF8*>(out.data());
    UTF8* targetEnd = target + out.size();
    while (source < end) {
        if (ConvertUtf16ToUtf8(source, end, target, targetEnd, strictConversion) == conversionOK)
            break;
        *target++ = '?';
        ++source;
    }
    out.resize(static_cast<size_t>(reinterpret_cast<char*>(target) - out.data()));
    return out;
}

std::u16string Utf32ToWide(const std::string& bytes) {
    std::u16string out;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        UTF32 value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            out += u'?';
        } else if (value > 0xFFFF) {
            value -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (value >> 10));
            out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
        } else {
            out += static_cast<char16_t>(value);
        }
    }
    return out;
}

std::string WideToUtf32(const std::u16string& text) {
    std::string out;
    const UTF16* source = text.data();
    const UTF16* end = source + text.size();
    while (source < end) {
        UTF32 value;
        UTF32* target = &value;
        if (ConvertUtf16ToUtf32(source, end, target, target + 1, strictConversion) != conversionOK &&
            target == &value) {
            value = u'?';
            ++source;
        }
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

}  // namespace

UINT TextConverter::CodePageOf(const CString& name) {
    if (name.Left(6).CompareNoCase(u"UTF-32") == 0)
        return kUtf32;
    if (name.IsEmpty() || name.GetLength() >= kMaxNameLength)
        return 0;
    std::u16string lowered = name.str();
    for (char16_t& c : lowered)
        c = LowerAscii(c);
    const std::string& bucket = CharsetBuckets()[BucketOf(lowered)];
    for (size_t at = 0; at + 7 <= bucket.size();) {
        const size_t length = static_cast<size_t>(std::stoi(bucket.substr(at, 2)));
        const std::string entry = bucket.substr(at + 7, length);
        if (entry.size() == lowered.size() && std::equal(entry.begin(), entry.end(), lowered.begin()))
            return static_cast<UINT>(std::stoul(bucket.substr(at + 2, 5)));
        at += 7 + length;
    }
    return 0;
}

std::u16string TextConverter::ToWide(const std::string& bytes) const {
    switch (m_codePage) {
    case kUtf8:
        return Utf8ToWideLenient(bytes);
    case kUtf16:
        return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    case kUtf32:
        return Utf32ToWide(bytes);
    default:
        break;
    }
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(m_codePage, 0, bytes.data(), length, nullptr, 0);
    std::u16string out(static_cast<size_t>(needed > 0 ? needed : 0), u'\0');
    const int written = needed > 0 ? MultiByteToWideChar(m_codePage, 0, bytes.data(), length, out.data(), needed) : 0;
    out.resize(static_cast<size_t>(written > 0 ? written : 0));
    return out;
}

std::string TextConverter::FromWide(const std::u16string& text) {
    switch (m_codePage) {
    case kUtf8:
        return WideToUtf8Lenient(text);
    case kUtf16:
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    case kUtf32:
        return WideToUtf32(text);
    default:
        break;
    }
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(m_codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    BOOL usedDefault = FALSE;
    const int written = needed > 0 ? WideCharToMultiByte(m_codePage, 0, text.data(), length, out.data(), needed,
                                                         nullptr, &usedDefault)
                                   : 0;
    out.resize(static_cast<size_t>(written > 0 ? written : 0));
    m_lost = m_lost || usedDefault;
    return out;
}
