#include "platform/base/utf.h"

#include <gtest/gtest.h>

TEST(Utf, RoundTripsChineseAndAstralText) {
    const std::u16string text = u"考勤机 Quillon \U0001F600";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"考勤"), "\xE8\x80\x83\xE5\x8B\xA4");
}

TEST(Utf, ReplacesBrokenSequences) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");          // cut in the middle
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");         // overlong
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}
