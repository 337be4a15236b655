#include "platform/base/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/lasterror.h"

namespace {

std::string ToMultiByte(UINT codePage, const std::u16string& text, BOOL* usedDefault) {
    const int size = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, usedDefault);
    std::string out(static_cast<size_t>(size), '\0');
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                                  nullptr, usedDefault),
              size);
    return out;
}

std::u16string ToWide(UINT codePage, const std::string& bytes) {
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(size), u'\0');
    EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size), size);
    return out;
}

}  // namespace

TEST(CodePage, SystemCodePageIsGbk) {
    EXPECT_EQ(GetACP(), 936u);
    const std::u16string text = u"考勤机 Time Attendance 总公司 €";
    BOOL lost = TRUE;
    const std::string gbk = ToMultiByte(CP_ACP, text, &lost);
    EXPECT_FALSE(lost);
    EXPECT_EQ(gbk.substr(0, 6), "\xBF\xBC\xC7\xDA\xBB\xFA");
    EXPECT_EQ(ToWide(CP_ACP, gbk), text);
    EXPECT_EQ(ToWide(936, gbk), text);
}

TEST(CodePage, CharactersOutsideGbkBecomeTheDefaultCharacter) {
    // An emoji and a CJK Extension B ideograph only exist in GB18030's four-byte form.
    BOOL lost = FALSE;
    EXPECT_EQ(ToMultiByte(936, u"a\U0001F600b\U00020000c", &lost), "a?b?c");
    EXPECT_TRUE(lost);
    const std::u16string korean = u"한";
    char out[8] = {};
    const char star[] = "*";
    EXPECT_EQ(WideCharToMultiByte(936, 0, korean.c_str(), -1, out, sizeof out, star, &lost), 2);
    EXPECT_STREQ(out, "*");
    EXPECT_TRUE(lost);
    // A lone surrogate is not text either.
    const std::u16string broken(1, u'\xD83D');
    EXPECT_EQ(ToMultiByte(936, broken + u"x", &lost), "?x");
    EXPECT_TRUE(lost);
}

TEST(CodePage, GbkNeverAcceptsFourByteSequences) {
    // 0x81 0x30 0x81 0x30 is U+0080 in GB18030; in GBK it is invalid.
    const std::string gb18030 = "\x81\x30\x81\x30";
    const std::u16string wide = ToWide(936, gb18030);
    EXPECT_EQ(wide.find(u'\x0080'), std::u16string::npos);
    EXPECT_NE(wide.find(u'?'), std::u16string::npos);
    SetLastError(0);
    char16_t buffer[8];
    EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gb18030.data(), 4, buffer, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

// A pair that is no GBK character is one '?': reading starts again after
// it, or at its second byte when that byte is a character of its own.
TEST(CodePage, AnInvalidGbkPairIsOneReplacementAndReadingStartsAfterIt) {
    EXPECT_EQ(ToWide(936, "\xA3\xA0\xA3\xA0\xA3\xA0"), u"???") << "not ?\u7250\u7250?";
    EXPECT_EQ(ToWide(936, "\xA3\xA0\xD6\xD0"), u"?\u4E2D");
    EXPECT_EQ(ToWide(936, "\xA3" "A\xD6\xD0"), u"?A\u4E2D") << "an ASCII trail byte is read as itself";
    EXPECT_EQ(ToWide(936, "x\xD6"), u"x?") << "a lead byte at the end";
    EXPECT_EQ(ToWide(936, "\xFF\xD6\xD0"), u"?\u4E2D") << "no lead byte: one byte";
}

TEST(CodePage, Big5Windows1252AndUtf8) {
    BOOL lost = TRUE;
    const std::u16string traditional = u"繁體中文";
    const std::string big5 = ToMultiByte(950, traditional, &lost);
    EXPECT_FALSE(lost);
    EXPECT_EQ(big5.substr(0, 2), "\xC1\x63");  // 繁
    EXPECT_EQ(ToWide(950, big5), traditional);

    const std::u16string latin = u"Café – 5 €";
    const std::string cp1252 = ToMultiByte(1252, latin, &lost);
    EXPECT_FALSE(lost);
    EXPECT_EQ(cp1252, "Caf\xE9 \x96 5 \x80");
    EXPECT_EQ(ToWide(1252, cp1252), latin);
    EXPECT_EQ(ToMultiByte(1252, u"中", &lost), "?");
    EXPECT_TRUE(lost);

    const std::u16string astral = u"日本 \U0001F600";
    const std::string utf8 = ToMultiByte(CP_UTF8, astral, nullptr);
    EXPECT_EQ(utf8, "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(ToWide(CP_UTF8, utf8), astral);
    // The platform refuses a default character for UTF-8.
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, nullptr, &lost), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePage, SizeQueriesTerminatorsAndShortBuffers) {
    // -1: the terminator is converted and counted.
    EXPECT_EQ(MultiByteToWideChar(936, 0, "\xD6\xD0z", -1, nullptr, 0), 3);
    EXPECT_EQ(WideCharToMultiByte(936, 0, u"中z", -1, nullptr, 0, nullptr, nullptr), 4);
    char16_t wide[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(936, 0, "\xD6\xD0z", -1, wide, 3), 3);
    EXPECT_EQ(std::u16string(wide), u"中z");
    SetLastError(0);
    char small[2];
    EXPECT_EQ(WideCharToMultiByte(936, 0, u"中z", -1, small, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    // Bad arguments and unknown code pages.
    EXPECT_EQ(MultiByteToWideChar(936, 0, "abc", 0, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(4242, 0, "abc", 3, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(IsValidCodePage(4242));
    EXPECT_TRUE(IsValidCodePage(950));
}

TEST(CodePage, LongTextsCrossTheConverterChunks) {
    std::u16string text;
    for (int i = 0; i < 3000; ++i) text += (i % 3) ? u"汉" : u"\U0001F600";
    const std::string gbk = EncodeCodePage(936, text);
    EXPECT_EQ(gbk.size(), 1000u * 1 + 2000u * 2);  // "?" for each emoji, two bytes per 汉
    EXPECT_EQ(DecodeCodePage(936, gbk).size(), 3000u);
}
