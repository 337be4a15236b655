// Navigation, element texts and edits, read back through a fresh parse so
// that the shifted offsets are checked against the text itself.
#include <gtest/gtest.h>

#include <string>

#include "core/XmlDoc.h"
#include "core/XmlLookup.h"

namespace {

// The read and write sequences the settings and language lookups use.
CString ReadKey(CXmlDoc& doc, const char16_t* section, const char16_t* key, bool* found = nullptr) {
    CString value;
    ReadSectionKey(doc, section, key, value, found);
    return value;
}

bool WriteKey(CXmlDoc& doc, const char16_t* section, const char16_t* key, const char16_t* value) {
    return WriteSectionKey(doc, section, key, value);
}

// The edited text parses to the same tree the edit left behind.
void ExpectConsistent(const CXmlDoc& doc) {
    CXmlDoc fresh;
    ASSERT_TRUE(fresh.ParseText(doc.GetDoc()));
    std::u16string walkedEdited, walkedFresh;
    auto walk = [](const CXmlDoc& d, std::u16string& out) {
        auto visit = [&](auto&& self, int index) -> void {
            for (int child = d.Element(index).firstChild; child; child = d.Element(child).next) {
                const ElementRecord& r = d.Element(child);
                out += d.GetDoc().Mid(r.start, r.length).str() + u"|";
                out += std::u16string(1, static_cast<char16_t>(u'0' + r.StartTagLength() % 10));
                out += std::u16string(1, static_cast<char16_t>(u'0' + r.EndTagLength() % 10));
                out += std::u16string(1, static_cast<char16_t>(u'0' + r.Level() % 10));
                self(self, child);
            }
        };
        visit(visit, 0);
    };
    walk(doc, walkedEdited);
    walk(fresh, walkedFresh);
    EXPECT_EQ(walkedEdited, walkedFresh);
}

}  // namespace

TEST(XmlEdit, ReadTakesLastDuplicateWriteChangesFirst) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r>\r\n<CONFIG>\r\n\t<K>1</K>\r\n\t<K>2</K>\r\n</CONFIG>\r\n</r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"K"), CString(u"2"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"K", u"9"));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r>\r\n<CONFIG>\r\n\t<K>9</K>\r\n\t<K>2</K>\r\n</CONFIG>\r\n</r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"K"), CString(u"2"));
    ExpectConsistent(doc);
    // After a sequence the position is (0, root, section); the next rewind starts afresh.
    EXPECT_EQ(doc.ParentPosition(), 0);
    EXPECT_NE(doc.ChildPosition(), 0);
}

TEST(XmlEdit, AppendedKeyLandsBeforeTheEndTagAfterItsIndentation) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r>\r\n  <CONFIG>\r\n    <A>1</A>\r\n  </CONFIG>\r\n  <Z/>\r\n</r>"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"B", u"2"));
    EXPECT_EQ(doc.GetDoc(),
              CString(u"<r>\r\n  <CONFIG>\r\n    <A>1</A>\r\n  <B>2</B>\r\n</CONFIG>\r\n  <Z/>\r\n</r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"B"), CString(u"2"));
    EXPECT_EQ(ReadKey(doc, u"Z", u"B"), CString());
    ExpectConsistent(doc);
}

TEST(XmlEdit, AppendToEmptyAndContentlessSections) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><CONFIG></CONFIG></r>"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"K", u"v"));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG>\r\n<K>v</K>\r\n</CONFIG></r>"));
    ExpectConsistent(doc);

    ASSERT_TRUE(doc.ParseText(u"<r><CONFIG/></r>"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"K", u"v"));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG>\r\n<K>v</K>\r\n</CONFIG></r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"K"), CString(u"v"));
    ExpectConsistent(doc);

    // An empty text is written as an empty element.
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"E", u""));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG>\r\n<K>v</K>\r\n<E/>\r\n</CONFIG></r>"));
    ExpectConsistent(doc);
}

TEST(XmlEdit, NoSectionNothingAdded) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><OTHER/></r>"));
    EXPECT_FALSE(WriteKey(doc, u"CONFIG", u"K", u"v"));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><OTHER/></r>"));
    bool found = true;
    ReadKey(doc, u"CONFIG", u"K", &found);
    EXPECT_FALSE(found);
    // The name CONFIG never matches a tag CONFIGS.
    ASSERT_TRUE(doc.ParseText(u"<r><CONFIGS><K>1</K></CONFIGS></r>"));
    ReadKey(doc, u"CONFIG", u"K", &found);
    EXPECT_FALSE(found);
}

TEST(XmlEdit, SettingTheTextOfEmptyAndNotEndedElements) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><CONFIG><K/><L /></CONFIG></r>"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"K", u"12"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"L", u""));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG><K>12</K><L ></L></CONFIG></r>"));
    ExpectConsistent(doc);

    // A key that was never ended gets its end tag with the new text.
    EXPECT_FALSE(doc.ParseText(u"<r><CONFIG><K></CONFIG></r>"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"K", u"5"));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG><K>5</K></CONFIG></r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"K"), CString(u"5"));
}

TEST(XmlEdit, MarkupCharactersAreEscapedAndReadBack) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><CONFIG><P>x</P></CONFIG></r>"));
    ASSERT_TRUE(WriteKey(doc, u"CONFIG", u"P", u"a<b & c>\"d'"));
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG><P>a&lt;b &amp; c&gt;\"d'</P></CONFIG></r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"P"), CString(u"a<b & c>\"d'"));
    // The file stays well formed.
    CXmlDoc fresh;
    EXPECT_TRUE(fresh.ParseText(doc.GetDoc()));
}

TEST(XmlEdit, KeyWithChildElementsReadsEmptyAndCannotBeSet) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><CONFIG><K>t<x/></K></CONFIG></r>"));
    EXPECT_EQ(ReadKey(doc, u"CONFIG", u"K"), CString());
    doc.RewindMain();
    doc.NextChildElement(u"CONFIG");
    doc.EnterElement();
    ASSERT_TRUE(doc.NextChildElement(u"K"));
    EXPECT_FALSE(doc.SetChildText(u"v", 0));
    doc.LeaveElement();
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><CONFIG><K>t<x/></K></CONFIG></r>"));
}

TEST(XmlEdit, TextOfSeveralPieces) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><S><K> a &amp; <!-- skip -->b<![CDATA[<c>&amp;]]> </K></S></r>"));
    EXPECT_EQ(ReadKey(doc, u"S", u"K"), CString(u" a & b<c>&amp; "));
}

TEST(XmlEdit, CdataTextFlag) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<r><S><K/></S></r>"));
    doc.RewindMain();
    doc.NextChildElement(u"S");
    doc.EnterElement();
    ASSERT_TRUE(doc.NextChildElement(u"K"));
    ASSERT_TRUE(doc.SetChildText(u"x]]>y", XTF_WITHCDATA));
    doc.LeaveElement();
    EXPECT_EQ(doc.GetDoc(), CString(u"<r><S><K><![CDATA[x]]]]><![CDATA[>y]]></K></S></r>"));
    EXPECT_EQ(ReadKey(doc, u"S", u"K"), CString(u"x]]>y"));
}

TEST(XmlEdit, PositionRulesOfEnterAndLeave) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_FALSE(doc.LeaveElement());
    EXPECT_FALSE(doc.NextChildElement(u"x"));
    ASSERT_TRUE(doc.ParseText(u"<r><a/></r>"));
    EXPECT_FALSE(doc.AppendChildElement(u"k", u"v", 0));  // no current element
    EXPECT_TRUE(doc.NextElement(nullptr));
    EXPECT_FALSE(doc.AppendChildElement(u"k", u"v", XTF_NOEND));  // text without an end tag
}

TEST(XmlEscape, ReferencesAreReadBackAsCharacters) {
    struct Case {
        const char16_t* escaped;
        const char16_t* text;
    };
    const Case cases[] = {
        {u"&auml;&Auml;", u"\u00E4\u00C4"},
        {u"&#x41;&#65;&#X42;", u"AAB"},
        {u"&apos;&quot;&lt;&gt;&amp;", u"'\"<>&"},
        {u"&nosuch; &amp", u"&nosuch; &amp"},
        {u"&abcdefghij;", u"&abcdefghij;"},
        {u"&#x1F600;", u"\U0001F600"},
        {u"&#0;&#;&#x;&#12a;", u"&#0;&#;&#x;&#12a;"},
        {u"&euro;&thetasym;", u"\u20AC\u03D1"},
        // Beyond the highest code point: no reference, kept as written.
        {u"&#x110000;&#1114112;&#xFFFFFFF;", u"&#x110000;&#1114112;&#xFFFFFFF;"},
    };
    for (const Case& c : cases) {
        const CString escaped(c.escaped);
        EXPECT_EQ(CXmlDoc::UnescapeMarkup(escaped.GetString(), escaped.GetLength()), CString(c.text));
    }
}

TEST(XmlEscape, EscapingFlags) {
    EXPECT_EQ(CXmlDoc::EscapeMarkup(u"<'&\">", 0), CString(u"&lt;'&amp;\"&gt;"));
    EXPECT_EQ(CXmlDoc::EscapeMarkup(u"'\"", XTF_ESCAPEQUOTES), CString(u"&apos;&quot;"));
    EXPECT_EQ(CXmlDoc::EscapeMarkup(u"&amp; &x y;", XTF_REFERENCES), CString(u"&amp; &amp;x y;"));
    EXPECT_EQ(CXmlDoc::EscapeMarkup(nullptr, 0), CString());
}
