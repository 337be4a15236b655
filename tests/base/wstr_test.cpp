#include "platform/base/wstr.h"

#include <gtest/gtest.h>

#include <string>

TEST(WideString, CopyAndConcatenateLikeTheCLibrary) {
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    wcsncpy(buffer, u"ab", 5);
    EXPECT_EQ(std::u16string(buffer, 6), std::u16string(u"ab\0\0\0#", 6));  // padded with NULs
    wcsncpy(buffer, u"abcdef", 3);
    EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"abc\0", 4));  // not terminated by wcsncpy itself
    lstrcpyn(buffer, u"abcdef", 4);
    EXPECT_EQ(std::u16string(buffer), u"abc");  // lstrcpyn always terminates
    wcscpy(buffer, u"ab");
    wcscat(buffer, u"cd");
    wcsncat(buffer, u"efgh", 2);
    EXPECT_EQ(std::u16string(buffer), u"abcdef");
    EXPECT_EQ(wcslen(buffer), 6u);
    EXPECT_EQ(lstrlen(nullptr), 0);
    EXPECT_EQ(wcsnlen(buffer, 3), 3u);
}

TEST(WideString, SearchAndSpans) {
    const char16_t* s = u"a/b/c";
    EXPECT_EQ(wcschr(s, u'/'), s + 1);
    EXPECT_EQ(wcsrchr(s, u'/'), s + 3);
    EXPECT_EQ(wcschr(s, u'\0'), s + 5);
    EXPECT_EQ(wcschr(s, u'x'), nullptr);
    EXPECT_EQ(wcsstr(s, u"b/c"), s + 2);
    EXPECT_EQ(wcsstr(s, u""), s);
    EXPECT_EQ(wcsstr(s, u"c/"), nullptr);
    EXPECT_EQ(wcsspn(u"112x", u"12"), 3u);
    EXPECT_EQ(wcscspn(u"abc:d", u":;"), 3u);
}

TEST(WideString, ComparisonSignsAndCaseFolding) {
    EXPECT_LT(wcscmp(u"abc", u"abd"), 0);
    EXPECT_GT(wcscmp(u"abc", u"ab"), 0);
    EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 3), 0);
    EXPECT_GT(wcscmp(u"\xFFFF", u"a"), 0);  // units compare unsigned
    EXPECT_EQ(_wcsicmp(u"Ab\u00C9", u"aB\u00E9"), 0);
    EXPECT_EQ(_wcsnicmp(u"HELLOx", u"helloY", 5), 0);
    EXPECT_LT(lstrcmpi(u"[", u"a"), 0);  // '[' sorts before letters once they are folded to lower case
    EXPECT_EQ(lstrcmp(nullptr, u""), 0);
    char16_t text[] = u"MiXeD ĳ Ω";
    EXPECT_EQ(std::u16string(_wcsupr(text)), u"MIXED Ĳ Ω");
    EXPECT_EQ(std::u16string(_wcslwr(text)), u"mixed ĳ ω");
}

TEST(WideString, CaseMappingIsAPairingOfLetters) {
    for (char32_t c = 0; c < 0x10000; ++c) {
        const char16_t ch = static_cast<char16_t>(c);
        const char16_t upper = towupper(ch);
        if (upper != ch) {
            // Every small letter with a capital maps back, except final sigma.
            if (ch != u'ς') {
                EXPECT_EQ(towlower(upper), ch) << std::hex << static_cast<int>(c);
            }
            EXPECT_EQ(towupper(upper), upper);
        }
    }
    EXPECT_EQ(towupper(u'z'), u'Z');
    EXPECT_EQ(towupper(u'ÿ'), u'Ÿ');
    EXPECT_EQ(towlower(u'×'), u'×');
    EXPECT_EQ(towupper(u'中'), u'中');
    EXPECT_EQ(towupper(u'ł'), u'Ł');
    EXPECT_EQ(towupper(u'ω'), u'Ω');
    EXPECT_EQ(towupper(u'ж'), u'Ж');
    EXPECT_EQ(towupper(u'ё'), u'Ё');
}
