#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CString, ConstructionAndComparison) {
    const char16_t* none = nullptr;
    EXPECT_TRUE(CString(none).IsEmpty());
    EXPECT_EQ(CString(u"abcdef", 3), u"abc");
    EXPECT_EQ(CString(u'x', 3), u"xxx");
    EXPECT_TRUE(CString(u'x', -2).IsEmpty());
    EXPECT_EQ(CString("\xD6\xD0\xCE\xC4"), u"中文");  // narrow text is GBK
    EXPECT_EQ(CString(u"ab") + u'c' + u"d" + CString(u"e"), u"abcde");
    EXPECT_LT(CString(u"abc").Compare(u"abd"), 0);
    EXPECT_EQ(CString(u"ABC").CompareNoCase(u"abc"), 0);
    EXPECT_LT(CString(u"_").CompareNoCase(u"A"), 0);  // folded to lower case, as the C library does
    EXPECT_EQ(CString(u"Ärger").CompareNoCase(u"äRGER"), 0);
    EXPECT_TRUE(CString(u"x") != u"y");
    EXPECT_TRUE(CString() == none);
}

TEST(CString, ExtractionClampsOutOfRangeArguments) {
    const CString s(u"abcdef");
    EXPECT_EQ(s.Mid(2), u"cdef");
    EXPECT_EQ(s.Mid(2, 2), u"cd");
    EXPECT_EQ(s.Mid(-3, 2), u"ab");
    EXPECT_EQ(s.Mid(4, 100), u"ef");
    EXPECT_EQ(s.Mid(6), u"");
    EXPECT_EQ(s.Mid(60, 2), u"");
    EXPECT_EQ(s.Mid(2, -1), u"");
    EXPECT_EQ(s.Mid(1, INT_MAX), u"bcdef");
    EXPECT_EQ(s.Left(-1), u"");
    EXPECT_EQ(s.Left(3), u"abc");
    EXPECT_EQ(s.Left(99), u"abcdef");
    EXPECT_EQ(s.Right(2), u"ef");
    EXPECT_EQ(s.Right(99), u"abcdef");
    EXPECT_EQ(s.Right(-5), u"");
    EXPECT_EQ(s.GetAt(5), u'f');
    EXPECT_EQ(s.GetAt(6), u'\0');
    EXPECT_EQ(s[size_t{1}], u'b');
    EXPECT_EQ(s[2u], u'c');
    EXPECT_EQ(s[-1], u'\0');
    EXPECT_EQ(s[uint64_t{1} << 40], u'\0');
    EXPECT_EQ(s.SpanIncluding(u"bac"), u"abc");
    EXPECT_EQ(s.SpanExcluding(u"dx"), u"abc");
    EXPECT_EQ(s.SpanExcluding(u"xyz"), u"abcdef");
}

TEST(CString, FindReturnsMinusOneWhenAbsent) {
    const CString s(u"a,b,,c");
    EXPECT_EQ(s.Find(u','), 1);
    EXPECT_EQ(s.Find(u',', 2), 3);
    EXPECT_EQ(s.Find(u',', 5), -1);
    EXPECT_EQ(s.Find(u'z'), -1);
    EXPECT_EQ(s.Find(u'a', -1), -1);
    EXPECT_EQ(s.Find(u',', 99), -1);
    EXPECT_EQ(s.Find(u",,"), 3);
    EXPECT_EQ(s.Find(u",c", 5), -1);
    EXPECT_EQ(s.Find(u"", 6), 6);
    EXPECT_EQ(s.Find(u"", 7), -1);
    EXPECT_EQ(s.ReverseFind(u','), 4);
    EXPECT_EQ(s.ReverseFind(u'q'), -1);
    EXPECT_EQ(s.FindOneOf(u"cb"), 2);
    EXPECT_EQ(s.FindOneOf(u"xyz"), -1);
}

TEST(CString, EditingReturnsCountsAndLengths) {
    CString s(u"aXbXXc");
    EXPECT_EQ(s.Replace(u'X', u'-'), 3);
    EXPECT_EQ(s, u"a-b--c");
    EXPECT_EQ(s.Replace(u"--", u"+++"), 1);
    EXPECT_EQ(s, u"a-b+++c");
    EXPECT_EQ(s.Replace(u"", u"z"), 0);
    EXPECT_EQ(s.Replace(u"+", nullptr), 3);
    EXPECT_EQ(s, u"a-bc");
    CString overlap(u"aaaa");
    EXPECT_EQ(overlap.Replace(u"aa", u"a"), 2);
    EXPECT_EQ(overlap, u"aa");
    EXPECT_EQ(s.Remove(u'-'), 1);
    EXPECT_EQ(s.Insert(-4, u'>'), 4);
    EXPECT_EQ(s.Insert(100, u"<<"), 6);
    EXPECT_EQ(s, u">abc<<");
    EXPECT_EQ(s.Delete(4, 10), 4);
    EXPECT_EQ(s.Delete(-1, 1), 3);
    EXPECT_EQ(s.Delete(7, 1), 3);
    EXPECT_EQ(s.Delete(1, -2), 3);
    EXPECT_EQ(s, u"abc");
    s.SetAt(1, u'B');
    s.SetAt(3, u'!');  // out of range: ignored
    EXPECT_EQ(s, u"aBc");
}

TEST(CString, TrimAndCase) {
    CString s(u" \t\r\n x y \v\f");
    EXPECT_EQ(s.Trim(), u"x y");
    CString z(u"00120");
    EXPECT_EQ(z.TrimLeft(u'0'), u"120");
    EXPECT_EQ(CString(u"--a-+").TrimRight(u"+-"), u"--a");
    EXPECT_EQ(CString(u"++").Trim(u"+"), u"");
    EXPECT_EQ(CString(u"Straße Ünïcode Ωμέγα Жук 中").MakeUpper(), u"STRAßE ÜNÏCODE ΩΜέΓΑ ЖУК 中");
    EXPECT_EQ(CString(u"ŁÓDŹ ÀÿŸ").MakeLower(), u"łódź àÿÿ");
    EXPECT_EQ(CString(u"ab\U0001F600c").MakeReverse(), u"c\U0001F600ba");
}

TEST(CString, TokenizeWalksAllTokensAndEnds) {
    const CString s(u";;a;bc;;d;");
    std::vector<std::u16string> tokens;
    int pos = 0;
    for (CString t = s.Tokenize(u";", pos); pos != -1; t = s.Tokenize(u";", pos)) tokens.push_back(t.str());
    EXPECT_EQ(tokens, (std::vector<std::u16string>{u"a", u"bc", u"d"}));
    pos = 0;
    EXPECT_EQ(CString(u"abc").Tokenize(u";", pos), u"abc");
    EXPECT_EQ(pos, 4);
    EXPECT_TRUE(CString(u"abc").Tokenize(u";", pos).IsEmpty());
    EXPECT_EQ(pos, -1);
    // Empty delimiters give the rest once, then the end (never the same token forever).
    pos = 1;
    EXPECT_EQ(CString(u"abc").Tokenize(u"", pos), u"bc");
    CString rest = CString(u"abc").Tokenize(u"", pos);
    EXPECT_EQ(pos, -1);
    EXPECT_TRUE(rest.IsEmpty());
}

TEST(CString, BufferAccess) {
    CString s(u"old");
    char16_t* p = s.GetBuffer(10);
    const char16_t text[] = u"new text";
    std::copy(std::begin(text), std::end(text), p);
    s.ReleaseBuffer();
    EXPECT_EQ(s, u"new text");
    EXPECT_EQ(s.GetLength(), 8);
    s.GetBuffer(0)[1] = u'E';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, u"nEw");
    s.ReleaseBuffer(50);  // never longer than the buffer
    EXPECT_EQ(s, u"nEw");
    char16_t* q = s.GetBufferSetLength(2);
    q[1] = u'o';
    s.ReleaseBuffer();
    EXPECT_EQ(s, u"no");
}
