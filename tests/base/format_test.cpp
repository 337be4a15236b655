#include "platform/base/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "platform/base/CString.h"

namespace {

template <class... A>
std::u16string Wide(const char16_t* format, const A&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatWide(format, list, sizeof...(A));
}

template <class... A>
std::string Narrow(const char* format, const A&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatNarrow(format, list, sizeof...(A));
}

// The host C library agrees with the platform on the portable conversions.
template <class... A>
std::string Host(const char* format, A... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

}  // namespace

TEST(Format, IntegersTakeTheWidthOfTheirLengthModifier) {
    const int64_t big = 5000000000LL;  // above 2^32
    EXPECT_EQ(Wide(u"%I64d", big), u"5000000000");
    EXPECT_EQ(Wide(u"%I64d", -big), u"-5000000000");
    EXPECT_EQ(Wide(u"%lld|%I64u", big, static_cast<uint64_t>(-1)), u"5000000000|18446744073709551615");
    // Without a 64-bit modifier the value is cut to 32 bits, as the platform's C library reads it.
    EXPECT_EQ(Wide(u"%d", big), u"705032704");
    EXPECT_EQ(Wide(u"%d", static_cast<int64_t>(INT_MAX) + 1), u"-2147483648");
    EXPECT_EQ(Wide(u"%ld", 3000000000LL), u"-1294967296");
    EXPECT_EQ(Wide(u"%u", -1), u"4294967295");
    EXPECT_EQ(Wide(u"%hd|%hu", 70000, -1), u"4464|65535");
    EXPECT_EQ(Wide(u"%I32d", big), u"705032704");
}

TEST(Format, FlagsWidthAndPrecisionMatchTheCLibrary) {
    const char* formats[] = {"%02u", "%08X", "%04d", "%-6d|", "%+d", "% d", "%#x", "%#o", "%.5d", "%8.3d",
                             "%-08d|", "%x", "%o", "%.0d", "%5.0d|", "%+05d", "%#X"};
    const int values[] = {0, 7, -7, 255, 123456, -2147483647 - 1};
    for (const char* format : formats) {
        for (int v : values) {
            const std::string expected = Host(format, v);
            const std::u16string wideFormat(format, format + std::char_traits<char>::length(format));
            EXPECT_EQ(Narrow(format, v), expected) << format << " " << v;
            EXPECT_EQ(Wide(wideFormat.c_str(), v), std::u16string(expected.begin(), expected.end()))
                << format << " " << v;
        }
    }
}

TEST(Format, StarTakesWidthAndPrecisionFromTheArguments) {
    EXPECT_EQ(Wide(u"[%*d]", 5, 42), u"[   42]");
    EXPECT_EQ(Wide(u"[%*d]", -5, 42), u"[42   ]");
    EXPECT_EQ(Wide(u"[%.*s]", 2, u"abcdef"), u"[ab]");
    EXPECT_EQ(Wide(u"[%-*.*f]", 8, 2, 3.14159), u"[3.14    ]");
}

TEST(Format, FloatingPoint) {
    EXPECT_EQ(Wide(u" %.3lf ", 1.23456), u" 1.235 ");
    EXPECT_EQ(Wide(u"%f", 2), u"2.000000");  // an integer given for a float is converted
    for (const char* format : {"%e", "%E", "%g", "%G", "%10.4f", "%-10.2e|", "%+.1f"}) {
        EXPECT_EQ(Narrow(format, -1234.5678), Host(format, -1234.5678)) << format;
    }
}

TEST(Format, TextsFollowTheWideAndNarrowRules) {
    const CString name(u"考勤");
    EXPECT_EQ(Wide(u"%s=%d", name, 5), u"考勤=5");
    EXPECT_EQ(Wide(u"<%5s|%-5s>", u"ab", u"cd"), u"<   ab|cd   >");
    EXPECT_EQ(Wide(u"%.2s", u"abc"), u"ab");
    // Narrow text in a wide format is read in the system code page (GBK).
    EXPECT_EQ(Wide(u"%S|%hs", "\xBF\xBC\xC7\xDA", "abc"), u"考勤|abc");
    EXPECT_EQ(Narrow("%s|%S|%ls", "abc", u"考勤", u"x"), "abc|\xBF\xBC\xC7\xDA|x");
    EXPECT_EQ(Wide(u"%c%c%C", u'考', 'A', 'b'), u"考Ab");
    EXPECT_EQ(Narrow("%c%C", 'z', u'勤'), "z\xC7\xDA");
    EXPECT_EQ(Narrow("[%s|%s]", std::string("std"), std::u16string(u"wide")), "[std|wide]");
    // A precision never leaves half of a surrogate pair.
    EXPECT_EQ(Wide(u"%.1s", u"\U0001F600"), u"");
}

TEST(Format, NullTextsPrintNull) {
    const char16_t* none = nullptr;
    const char* noneNarrow = nullptr;
    EXPECT_EQ(Wide(u"[%s]", none), u"[(null)]");
    EXPECT_EQ(Wide(u"[%S]", noneNarrow), u"[(null)]");
    EXPECT_EQ(Narrow("[%s]", noneNarrow), "[(null)]");
    EXPECT_EQ(Wide(u"[%s]", nullptr), u"[(null)]");
}

TEST(Format, MismatchedAndMissingArgumentsNeverCrash) {
    // A text given for a number prints as the text, a number given for a text as the number.
    EXPECT_EQ(Wide(u"%d|%s|%s|%s", u"12ab", 42, -3LL, 2.5), u"12ab|42|-3|2.5");
    EXPECT_EQ(Wide(u"%s", 7u), u"7");
    // Missing arguments print nothing for their conversion.
    EXPECT_EQ(Wide(u"a%db%sc%*d"), u"abc");
    EXPECT_EQ(Wide(u"%d-%d", 1), u"1-");
    // %n stores nothing; unknown conversions and a lone % at the end are copied as they stand.
    int target = 99;
    EXPECT_EQ(Wide(u"ab%ncd", &target), u"abcd");
    EXPECT_EQ(target, 99);
    EXPECT_EQ(Wide(u"%y%d%", 1), u"%y1%");
    EXPECT_EQ(Wide(u"100%%"), u"100%");
    // Absurd widths are bounded.
    EXPECT_LE(Wide(u"%999999999d", 1).size(), 4096u);
}

TEST(Format, PointersPrintAllTheirHexDigits) {
    const void* p = reinterpret_cast<const void*>(static_cast<uintptr_t>(0xABCDEF));
    const std::u16string text = Wide(u"%p", p);
    EXPECT_EQ(text.size(), sizeof(void*) * 2);
    EXPECT_EQ(text.substr(text.size() - 6), u"ABCDEF");
}

TEST(Format, BoundedOutputIsCutAndTerminated) {
    char16_t buffer[8];
    EXPECT_EQ(swprintf(buffer, 8, u"%d-%s", 12, u"abc"), 6);
    EXPECT_EQ(std::u16string(buffer), u"12-abc");
    EXPECT_EQ(swprintf(buffer, 8, u"%s", u"0123456789"), -1);
    EXPECT_EQ(std::u16string(buffer), u"0123456");
    EXPECT_EQ(swprintf(buffer, 1, u"%s", u"x"), -1);
    EXPECT_EQ(buffer[0], u'\0');
    char narrow[4];
    EXPECT_EQ(_snprintf(narrow, sizeof narrow, "%08X", 0xBEEFu), -1);
    EXPECT_EQ(std::string(narrow), "000");
    EXPECT_EQ(_snprintf(narrow, sizeof narrow, "%u", 7u), 1);
    EXPECT_EQ(std::string(narrow), "7");
}

TEST(Format, CStringFormatAndAppend) {
    CString s;
    s.Format(u"%04d-%02d-%02d %02d:%02d:%02d", 2024, 3, 9, 7, 5, 0);
    EXPECT_EQ(s, u"2024-03-09 07:05:00");
    s.AppendFormat(u" (%s)", CString(u"ok"));
    EXPECT_EQ(s, u"2024-03-09 07:05:00 (ok)");
    s.Format(u"%s", s);  // formatting a string into itself reads the old text
    EXPECT_EQ(s, u"2024-03-09 07:05:00 (ok)");
}

// Texts from language files end up as formats, so any format must be safe
// with any arguments, and the bounded form must agree with the unbounded one.
TEST(Format, ArbitraryFormatsAreSafeAndBoundedConsistently) {
    const std::u16string alphabet = u"%%%%-+ #0123456789.*hlI64Lwzdiuxoc Ccsp nSeEfgGX中\U0001F600";
    const char16_t* text = u"txt";
    const char* narrow = "nar";
    const FormatArg args[] = {FormatArg(-5), FormatArg(3000000000u), FormatArg(1.5), FormatArg(text),
                              FormatArg(narrow), FormatArg(nullptr), FormatArg(int64_t{-1} << 40)};
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 3000; ++round) {
        std::u16string format;
        const size_t length = next() % 12;
        for (size_t i = 0; i < length; ++i) format += alphabet[next() % alphabet.size()];
        const size_t count = next() % 8;
        const std::u16string full = FormatWide(format.c_str(), args, count);
        char16_t buffer[16];
        const size_t capacity = 1 + next() % 15;
        const int written = FormatWideInto(buffer, capacity, format.c_str(), args, count);
        const size_t kept = std::min(full.size(), capacity - 1);
        EXPECT_EQ(buffer[kept], u'\0') << round;
        const std::u16string bounded(buffer, kept);  // %c of 0 may put a NUL inside
        if (full.size() < capacity) {
            EXPECT_EQ(written, static_cast<int>(full.size())) << round;
            EXPECT_EQ(bounded, full) << round;
        } else {
            EXPECT_EQ(written, -1) << round;
            EXPECT_EQ(bounded, full.substr(0, capacity - 1)) << round;
        }
    }
}
