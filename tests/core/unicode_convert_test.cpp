// The Unicode converters at their edges.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/UnicodeConvert.h"

namespace {

bool Legal(std::initializer_list<UTF8> bytes) {
    const std::vector<UTF8> sequence(bytes);
    return IsLegalUtf8Sequence(sequence.data(), sequence.data() + sequence.size());
}

}  // namespace

TEST(UnicodeConvert, Utf8Legality) {
    EXPECT_FALSE(Legal({0xC0, 0x80}));        // overlong zero
    EXPECT_FALSE(Legal({0xED, 0xA0, 0x80}));  // encoded surrogate
    EXPECT_FALSE(Legal({0xED, 0x7F, 0x80}));
    EXPECT_FALSE(Legal({0xF4, 0x90, 0x80, 0x80}));  // above 10FFFF
    EXPECT_FALSE(Legal({0xF8, 0x88, 0x80, 0x80, 0x80}));
    EXPECT_FALSE(Legal({0xE4, 0xB8}));  // runs past the end
    EXPECT_FALSE(Legal({0x80}));
    EXPECT_TRUE(Legal({0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_TRUE(Legal({0x7F}));
}

TEST(UnicodeConvert, TextConversionsAndTheirFailures) {
    EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80"), CString(u"\xD83D\xDE00"));
    EXPECT_EQ(WideToUtf8(CString(u"\xD83D\xDE00")), "\xF0\x9F\x98\x80");
    EXPECT_EQ(WideToUtf8(CString(u"a\u00e4\u4e2d")), "a\xC3\xA4\xE4\xB8\xAD");
    EXPECT_EQ(Utf8ToWide(""), CString());
    EXPECT_EQ(WideToUtf8(CString()), "");
    for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xE4\xB8", "\x80", "\xFC\x84\x80\x80\x80\x80"}) {
        try {
            Utf8ToWide(bad);
            ADD_FAILURE() << "no exception";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "La falla!");
        }
    }
    EXPECT_THROW(WideToUtf8(CString(u"\xDC00")), std::exception);
    EXPECT_THROW(WideToUtf8(CString(u"a\xD800")), std::exception);
}

TEST(UnicodeConvert, LenientModeWritesLoneSurrogates) {
    const UTF16 input[] = {0xDC00};
    const UTF16* source = input;
    UTF8 output[8] = {};
    UTF8* target = output;
    EXPECT_EQ(ConvertUtf16ToUtf8(source, input + 1, target, output + 8, lenientConversion), conversionOK);
    EXPECT_EQ(target - output, 3);
    EXPECT_EQ(output[0], 0xED);
    EXPECT_EQ(output[1], 0xB0);
    EXPECT_EQ(output[2], 0x80);

    source = input;
    target = output;
    EXPECT_EQ(ConvertUtf16ToUtf8(source, input + 1, target, output + 8, strictConversion), sourceIllegal);
    EXPECT_EQ(source, input);
}

TEST(UnicodeConvert, Utf32BeyondTheRangeGoesOn) {
    const UTF32 input[] = {0x41, 0x110000, 0x42};
    const UTF32* source = input;
    UTF16 output[4] = {};
    UTF16* target = output;
    EXPECT_EQ(ConvertUtf32ToUtf16(source, input + 3, target, output + 4, strictConversion), sourceIllegal);
    EXPECT_EQ(target - output, 2);
    EXPECT_EQ(output[1], u'B');

    source = input;
    target = output;
    EXPECT_EQ(ConvertUtf32ToUtf16(source, input + 3, target, output + 4, lenientConversion), conversionOK);
    EXPECT_EQ(output[1], 0xFFFD);

    // A full target ends the conversion before the value, which stays unread.
    source = input;
    target = output;
    EXPECT_EQ(ConvertUtf32ToUtf16(source, input + 3, target, output + 1, lenientConversion), targetExhausted);
    EXPECT_EQ(source, input + 1);

    const UTF32 pair[] = {0x1F600};
    source = pair;
    target = output;
    EXPECT_EQ(ConvertUtf32ToUtf16(source, pair + 1, target, output + 1, strictConversion), targetExhausted);
    EXPECT_EQ(source, pair);

    UTF8 bytes[8] = {};
    UTF8* out = bytes;
    source = input;
    EXPECT_EQ(ConvertUtf32ToUtf8(source, input + 3, out, bytes + 8, lenientConversion), sourceIllegal);
    EXPECT_EQ(out - bytes, 5);  // A, U+FFFD in three bytes, B
}

TEST(UnicodeConvert, TruncatedAndShortTargets) {
    const UTF8 cut[] = {0x41, 0xE4, 0xB8};
    const UTF8* source = cut;
    UTF16 output[4] = {};
    UTF16* target = output;
    EXPECT_EQ(ConvertUtf8ToUtf16(source, cut + 3, target, output + 4, strictConversion), sourceExhausted);
    EXPECT_EQ(source, cut + 1);
    EXPECT_EQ(target, output + 1);

    const UTF8 emoji[] = {0xF0, 0x9F, 0x98, 0x80};
    source = emoji;
    target = output;
    EXPECT_EQ(ConvertUtf8ToUtf16(source, emoji + 4, target, output + 1, strictConversion), targetExhausted);
    EXPECT_EQ(source, emoji);
    UTF32 wide[2] = {};
    UTF32* wideTarget = wide;
    source = emoji;
    EXPECT_EQ(ConvertUtf8ToUtf32(source, emoji + 4, wideTarget, wide + 2, strictConversion), conversionOK);
    EXPECT_EQ(wide[0], 0x1F600u);

    const UTF16 high[] = {0xD83D};
    const UTF16* wideSource = high;
    wideTarget = wide;
    EXPECT_EQ(ConvertUtf16ToUtf32(wideSource, high + 1, wideTarget, wide + 2, strictConversion), sourceExhausted);
    EXPECT_EQ(wideSource, high);
}
