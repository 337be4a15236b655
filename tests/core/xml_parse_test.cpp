// The parser: the element tree it builds and the first error it reports.
#include <gtest/gtest.h>

#include <string>

#include "core/XmlDoc.h"

namespace {

std::u16string Result(const CXmlDoc& doc) { return doc.GetResult().str(); }

int RootOf(const CXmlDoc& doc) { return doc.Element(0).firstChild; }

}  // namespace

TEST(XmlParse, EmptyTextHasNoElements) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.ParseText(u""));
    EXPECT_EQ(Result(doc), u"Empty document");
    EXPECT_FALSE(doc.IsDocumentValid());
    EXPECT_EQ(RootOf(doc), 0);
    EXPECT_FALSE(doc.ParseText(static_cast<const char16_t*>(nullptr)));
}

TEST(XmlParse, WellFormedTreeRecordsOffsets) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<?xml version=\"1.0\"?>\r\n<r>\r\n <a x='1'>t</a>\r\n <b/>\r\n</r>"));
    EXPECT_EQ(Result(doc), u"");
    const int r = RootOf(doc);
    const ElementRecord& root = doc.Element(r);
    EXPECT_EQ(root.start, 23);
    EXPECT_EQ(root.StartTagLength(), 3);
    EXPECT_EQ(root.EndTagLength(), 4);
    EXPECT_EQ(root.End(), doc.GetDoc().GetLength());
    EXPECT_EQ(root.Level(), 0);
    const ElementRecord& a = doc.Element(root.firstChild);
    EXPECT_EQ(doc.GetDoc().Mid(a.start, a.length), CString(u"<a x='1'>t</a>"));
    EXPECT_EQ(a.Level(), 1);
    EXPECT_TRUE(a.Has(ElementRecord::kFirstChild));
    const ElementRecord& b = doc.Element(a.next);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.next, 0);
    // The first child's previous is the last child.
    EXPECT_EQ(a.previous, a.next);
}

TEST(XmlParse, MismatchedEndTagClosesInnerAsNotEnded) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.ParseText(u"<a><b></a>"));
    EXPECT_EQ(Result(doc), u"End tag 'a' at offset 7 does not match start tag 'b' at offset 3");
    const ElementRecord& a = doc.Element(RootOf(doc));
    EXPECT_EQ(a.length, 10);
    EXPECT_EQ(a.EndTagLength(), 4);
    const ElementRecord& b = doc.Element(a.firstChild);
    EXPECT_TRUE(b.Has(ElementRecord::kNotEnded));
    EXPECT_EQ(b.length, 3);
    EXPECT_EQ(b.firstChild, 0);
    EXPECT_TRUE(doc.Element(0).Has(ElementRecord::kIllFormed));
}

TEST(XmlParse, UnendedElementsAndTheirChildren) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.ParseText(u"<a>"));
    EXPECT_EQ(Result(doc), u"Element 'a' at offset 0 not ended");
    EXPECT_TRUE(doc.Element(RootOf(doc)).Has(ElementRecord::kNotEnded));

    // The children of an element that never ends become its following siblings.
    EXPECT_FALSE(doc.ParseText(u"<r><a><b/><c/></r>"));
    const ElementRecord& r = doc.Element(RootOf(doc));
    const int a = r.firstChild;
    const int b = doc.Element(a).next;
    ASSERT_NE(b, 0);
    EXPECT_EQ(doc.Element(b).parent, RootOf(doc));
    const int c = doc.Element(b).next;
    ASSERT_NE(c, 0);
    EXPECT_EQ(doc.Element(c).next, 0);
    EXPECT_EQ(doc.Element(a).previous, c);
    EXPECT_FALSE(doc.Element(b).Has(ElementRecord::kFirstChild));
}

TEST(XmlParse, TopLevelSiblingsAndMissingRoot) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.ParseText(u"<a/><b/>"));
    EXPECT_EQ(Result(doc), u"Root element has sibling");
    EXPECT_FALSE(doc.IsDocumentValid());
    EXPECT_FALSE(doc.ParseText(u"just text"));
    EXPECT_EQ(Result(doc), u"No root element");
    // Messages 9 to 11 replace an earlier error.
    EXPECT_FALSE(doc.ParseText(u"<a></b></a><c/>"));
    EXPECT_EQ(Result(doc), u"Root element has sibling");
}

TEST(XmlParse, QuotedGreaterThanAndUnquotedSlash) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<a x='>'/>"));
    const ElementRecord& a = doc.Element(RootOf(doc));
    EXPECT_EQ(a.StartTagLength(), 10);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.EndTagLength(), 0);
    // The '/' belongs to the unquoted value, so the element is not empty.
    EXPECT_FALSE(doc.ParseText(u"<a x=1/>"));
    EXPECT_TRUE(doc.Element(RootOf(doc)).Has(ElementRecord::kNotEnded));
    ASSERT_TRUE(doc.ParseText(u"<a x=1/></a>"));
}

TEST(XmlParse, BadMarkupMessages) {
    struct Case {
        const char16_t* text;
        const char16_t* message;
    };
    const Case cases[] = {
        {u"<a>1 < 2</a>", u"Incorrect tag name character at offset 5"},
        {u"<a><!x></a>", u"Incorrect ! tag at offset 3"},
        {u"<a><!-x></a>", u"Incorrect comment tag at offset 3"},
        {u"<a><![x]></a>", u"Incorrect tag at offset 3"},
        {u"<a></b></a>", u"No start tag for end tag 'b' at offset 3"},
        {u"<a><!-- never closed", u"Comment at offset 3 unterminated"},
        {u"<a><![CDATA[x", u"CDATA Section at offset 3 unterminated"},
        {u"<a><?pi x", u"Processing instruction at offset 3 unterminated"},
        {u"<a><!DOCTYPE a [<!ELEMENT a ANY>", u"Doctype at offset 3 unterminated"},
        {u"<r><a x='1", u"Element tag at offset 3 unterminated"},
        {u"<a></a", u"Element end tag at offset 3 unterminated"},
        {u"<a><", u"tag at offset 3 unterminated"},
    };
    CXmlDoc doc;
    for (const Case& c : cases) {
        EXPECT_FALSE(doc.ParseText(c.text));
        EXPECT_EQ(Result(doc), c.message) << std::string(CString(c.text).GetLength(), ' ');
    }
    // The broken node still leaves the element its end tag, with the error marked.
    doc.ParseText(u"<a>1 < 2</a>");
    const ElementRecord& a = doc.Element(RootOf(doc));
    EXPECT_EQ(a.EndTagLength(), 4);
    EXPECT_TRUE(a.Has(ElementRecord::kHasError));
    EXPECT_TRUE(doc.Element(0).Has(ElementRecord::kIllFormed));
}

TEST(XmlParse, NodesThatAreNotElements) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.ParseText(u"<!DOCTYPE r [<!ENTITY e \"x>y\">]>\n<!-- c -->\n<r><![CDATA[<not/>]]></r>"));
    const ElementRecord& r = doc.Element(RootOf(doc));
    EXPECT_EQ(r.firstChild, 0);
}

TEST(XmlParse, ElementsBeyondRecordLimitsMakeTheDocumentNotWellFormed) {
    // An end tag longer than the record's 10 bits can hold.
    const std::u16string name(1100, u'n');
    CXmlDoc doc;
    EXPECT_FALSE(doc.ParseText(CString(u"<r><" + name + u"></" + name + u"></r>")));
    EXPECT_EQ(Result(doc), u"Element tag at offset 1105 beyond the document limits");
    EXPECT_TRUE(doc.Element(0).Has(ElementRecord::kIllFormed));

    // Nesting deeper than the 16-bit level.
    std::u16string deep;
    for (int i = 0; i < 0x10001; ++i)
        deep += u"<a>";
    for (int i = 0; i < 0x10001; ++i)
        deep += u"</a>";
    EXPECT_FALSE(doc.ParseText(CString(deep)));
    EXPECT_EQ(Result(doc), u"Element tag at offset 196608 beyond the document limits");
    for (int i = 1; i < 0x10000; i += 4096)
        EXPECT_LE(doc.Element(i).Level(), ElementRecord::kMaxLevel);
}

TEST(XmlParse, IgnoreCaseFlagMatchesEndTags) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.ParseText(u"<A></a>"));
    doc.SetDocFlags(XDF_IGNORECASE);
    EXPECT_TRUE(doc.ParseText(u"<A></a>"));
}
