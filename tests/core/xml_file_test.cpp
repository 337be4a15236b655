// Reading and writing the document files: encodings, byte-order marks and
// byte-exact round trips, and saves that a crash cannot leave half written.
#include <gtest/gtest.h>

#include <string>

#include "core/XmlDoc.h"
#include "core/XmlLookup.h"
#include "platform/base/atomic_file.h"
#include "platform/base/codepage.h"
#include "tests/support/device_root.h"

namespace {

constexpr const char16_t* kPath = u"\\NandFlash\\zeta42\\config\\config.xml";
constexpr const char* kHostPath = "NandFlash/zeta42/config/config.xml";

std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

CString Read(CXmlDoc& doc, const char16_t* section, const char16_t* key) {
    CString value;
    ReadSectionKey(doc, section, key, value);
    return value;
}

struct Interrupted {};

}  // namespace

TEST(XmlFile, Utf8WithBomKeepsEveryOtherByte) {
    ScopedDeviceRoot root;
    const std::string original =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<ROOT>\r\n\t<CONFIG>\r\n\t\t<MachineID>1</MachineID>"
        "\r\n\t\t<SKIN>flower</SKIN>\r\n\t</CONFIG>\r\n\t<FontResourceList>\r\n\t\t<FileName>font\\a.ttf</FileName>"
        "\r\n\t</FontResourceList>\r\n</ROOT>\r\n";
    root.PutFile(kHostPath, original);
    CXmlDoc doc;
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    EXPECT_EQ(doc.GetDocFlags() & XDF_UTF8PREAMBLE, XDF_UTF8PREAMBLE);
    EXPECT_EQ(doc.GetDoc()[0], u'<');

    // Written back unchanged: identical bytes.
    ASSERT_TRUE(doc.WriteToFile(kPath));
    EXPECT_EQ(root.ReadFile(kHostPath), original);

    ASSERT_TRUE(WriteSectionKey(doc, u"CONFIG", u"MachineID", u"12"));
    ASSERT_TRUE(WriteSectionKey(doc, u"CONFIG", u"PASSWORD", u"\u5bc6<&>"));
    ASSERT_TRUE(doc.WriteToFile(kPath));
    const std::string expected =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<ROOT>\r\n\t<CONFIG>\r\n\t\t<MachineID>12</MachineID>"
        "\r\n\t\t<SKIN>flower</SKIN>\r\n\t<PASSWORD>\xE5\xAF\x86&lt;&amp;&gt;</PASSWORD>\r\n</CONFIG>\r\n"
        "\t<FontResourceList>\r\n\t\t<FileName>font\\a.ttf</FileName>\r\n\t</FontResourceList>\r\n</ROOT>\r\n";
    EXPECT_EQ(root.ReadFile(kHostPath), expected);

    CXmlDoc again;
    ASSERT_TRUE(again.ReadFromFile(kPath));
    EXPECT_EQ(Read(again, u"CONFIG", u"PASSWORD"), CString(u"\u5bc6<&>"));
    EXPECT_EQ(Read(again, u"FontResourceList", u"FileName"), CString(u"font\\a.ttf"));
}

TEST(XmlFile, Utf16FilesAreWrittenBackByteIdentical) {
    const std::u16string text = u"<LANG>\r\n<CMachineConfig><MCF0001>\u9519\u8bef</MCF0001></CMachineConfig>\r\n</LANG>";
    for (const bool bigEndian : {false, true}) {
        ScopedDeviceRoot root;
        const std::string original = (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) +
                                     Utf16Bytes(text, bigEndian);
        root.PutFile("NandFlash/zeta42/LANG/Chinese.LAN", original);
        CXmlDoc doc;
        ASSERT_TRUE(doc.ReadFromFile(u"\\NandFlash\\zeta42\\LANG\\Chinese.LAN"));
        EXPECT_EQ(doc.GetDoc(), CString(text));
        EXPECT_EQ(Read(doc, u"CMachineConfig", u"MCF0001"), CString(u"\u9519\u8bef"));
        EXPECT_EQ(doc.GetDocFlags() & (XDF_UTF16LEFILE | XDF_UTF16BEFILE),
                  bigEndian ? XDF_UTF16BEFILE : XDF_UTF16LEFILE);
        ASSERT_TRUE(doc.WriteToFile(u"\\NandFlash\\zeta42\\LANG\\Copy.LAN"));
        EXPECT_EQ(root.ReadFile("NandFlash/zeta42/LANG/Copy.LAN"), original);
    }
}

TEST(XmlFile, DeclaredCodePageIsKept) {
    ScopedDeviceRoot root;
    const std::u16string name = u"\u4e2d\u6587";
    const std::string gbk = EncodeCodePage(936, name);
    ASSERT_EQ(gbk.size(), 4u);
    const std::string original = "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<R><S><K>" + gbk + "</K></S></R>\n";
    root.PutFile(kHostPath, original);
    CXmlDoc doc;
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    EXPECT_EQ(Read(doc, u"S", u"K"), CString(name));
    WriteSectionKey(doc, u"S", u"K", u"\u6587\u4e2d");
    ASSERT_TRUE(doc.WriteToFile(kPath));
    EXPECT_EQ(root.ReadFile(kHostPath), "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<R><S><K>" +
                                            EncodeCodePage(936, u"\u6587\u4e2d") + "</K></S></R>\n");
}

TEST(XmlFile, EncodingFoundByDetectionOrTheSystemCodePage) {
    ScopedDeviceRoot root;
    CXmlDoc doc;
    // Starts with white space, valid UTF-8: detected.
    root.PutFile(kHostPath, "  <R><K>\xC3\xA4</K></R>");
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    EXPECT_EQ(doc.GetDoc(), CString(u"  <R><K>\u00e4</K></R>"));
    // Invalid UTF-8: the system code page (GBK) decodes it.
    const std::string gbk = EncodeCodePage(936, u"\u4e2d");
    root.PutFile(kHostPath, " <R>" + gbk + "\xFF</R>");
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    EXPECT_EQ(doc.GetDoc().Left(5), CString(u" <R>\u4e2d"));
    // NUL bytes are dropped.
    root.PutFile(kHostPath, std::string("<R>a\0b</R>", 10));
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    EXPECT_EQ(doc.GetDoc(), CString(u"<R>ab</R>"));
}

TEST(XmlFile, MissingFileLeavesAnEmptyDocument) {
    ScopedDeviceRoot root;
    CXmlDoc doc;
    EXPECT_FALSE(doc.ReadFromFile(u"\\NandFlash\\zeta42\\config\\none.xml"));
    EXPECT_TRUE(doc.GetDoc().IsEmpty());
    EXPECT_FALSE(doc.GetResult().IsEmpty());
    EXPECT_EQ(doc.Element(0).firstChild, 0);
    EXPECT_FALSE(doc.NextElement(nullptr));
}

TEST(XmlFile, EmptyDocumentWritesAtMostTheMark) {
    ScopedDeviceRoot root;
    root.PutFile(kHostPath, "\xEF\xBB\xBF<R/>");
    CXmlDoc doc;
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    doc.ParseText(u"");
    ASSERT_TRUE(doc.WriteToFile(kPath));
    EXPECT_EQ(root.ReadFile(kHostPath), "\xEF\xBB\xBF");
}

TEST(XmlFile, InterruptedSaveLeavesTheOldOrTheNewFile) {
    ScopedDeviceRoot root;
    const std::string original = "<R><CONFIG><K>old</K></CONFIG></R>";
    root.PutFile(kHostPath, original);
    CXmlDoc doc;
    ASSERT_TRUE(doc.ReadFromFile(kPath));
    WriteSectionKey(doc, u"CONFIG", u"K", u"new");

    SetAtomicStageHook([](AtomicStage stage) {
        if (stage == AtomicStage::Flushed)
            throw Interrupted{};
    });
    EXPECT_THROW(doc.WriteToFile(kPath), Interrupted);
    EXPECT_EQ(root.ReadFile(kHostPath), original);

    SetAtomicStageHook([](AtomicStage stage) {
        if (stage == AtomicStage::Renamed)
            throw Interrupted{};
    });
    EXPECT_THROW(doc.WriteToFile(kPath), Interrupted);
    SetAtomicStageHook(nullptr);
    EXPECT_EQ(root.ReadFile(kHostPath), "<R><CONFIG><K>new</K></CONFIG></R>");
}

TEST(XmlFile, DeclaredEncodings) {
    auto declared = [](const char16_t* text) {
        return CXmlDoc::FindDeclaredEncoding(text, CString(text).GetLength());
    };
    EXPECT_EQ(declared(u"<?xml version='1.0' encoding='Big5'?><r/>"), CString(u"Big5"));
    EXPECT_EQ(declared(u"<?xml version='1.0'?><r/>"), CString());
    EXPECT_EQ(declared(u"<?other x?><?XML encoding=\"gbk\"?><r/>"), CString(u"gbk"));
    EXPECT_EQ(declared(u"<r/><?xml encoding='gbk'?>"), CString());
    EXPECT_EQ(declared(u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">"
                       u"</head></html>"),
              CString(u"big5"));
    EXPECT_EQ(declared(u"<html><head></head><meta http-equiv='Content-Type' content='text/html; charset=gbk'>"),
              CString());
}
