// Narrow text of the device to and from wide text under each setting: no
// setting the terminal cannot convert with loses a text whole.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/CodePageText.h"
#include "core/MachineConfig.h"
#include "platform/base/modules.h"
#include "platform/base/utf.h"

namespace {

class CodePageTextTest : public ::testing::Test {
protected:
    ~CodePageTextTest() override {
        g_MachineConfig.IconvCharset = u"";
        g_MachineConfig.CodePage = 0;
        UseLibrary(false);
    }
    // The character-set library as start-up loads it, or none.
    static void UseLibrary(bool loaded) {
        const HMODULE library = loaded ? LoadLibraryW(u"\\NandFlash\\zeta42\\libiconv_arm4i.dll") : nullptr;
        g_pfnIconvOpen = library ? ProcAs<IconvOpenProc>(GetProcAddress(library, "iconv_open")) : nullptr;
        g_pfnIconv = library ? ProcAs<IconvProc>(GetProcAddress(library, "iconv")) : nullptr;
        g_pfnIconvClose = library ? ProcAs<IconvCloseProc>(GetProcAddress(library, "iconv_close")) : nullptr;
    }
    static std::u16string In(const char* bytes, bool* exact = nullptr) {
        WCHAR text[32] = {};
        MultiByteToText(bytes, text, 32, exact);
        return text;
    }
    static std::string Out(const char16_t* text) {
        char bytes[32] = {};
        TextToMultiByte(text, bytes, sizeof bytes);
        return bytes;
    }
};

TEST_F(CodePageTextTest, TheLanguagesCharacterSetConvertsThroughThePlatformsLibrary) {
    UseLibrary(true);
    ASSERT_NE(g_pfnIconv, nullptr) << "the platform offers the library";
    g_MachineConfig.IconvCharset = u"CP1251";
    bool exact = false;
    EXPECT_EQ(In("\xC8\xE2\xE0\xED", &exact), u"Иван");
    EXPECT_TRUE(exact);
    EXPECT_EQ(Out(u"Иван"), "\xC8\xE2\xE0\xED");
    // What the set has no character for is one '?' each, and the rest stays.
    EXPECT_EQ(In("\xC8\x98\xE2", &exact), u"И?в");
    EXPECT_FALSE(exact);
    EXPECT_EQ(Out(u"И中в\U0001F600!"), "\xC8?\xE2?" "?!");
}

TEST_F(CodePageTextTest, ASettingTheTerminalCannotConvertWithFallsBackToTheSystemCodePage) {
    struct Case {
        const char* what;
        const char16_t* charset;
        bool library;
        int codePage;
    };
    for (const Case& c : {Case{"a character set the library does not know", u"NO-SUCH-SET", true, 0},
                          Case{"a character set without its library", u"CP1251", false, 0},
                          Case{"UTF-16, which is no narrow text", u"", false, 1200},
                          Case{"a code page that does not exist", u"", false, 12345}}) {
        g_MachineConfig.IconvCharset = c.charset;
        g_MachineConfig.CodePage = c.codePage;
        UseLibrary(c.library);
        EXPECT_EQ(In("\xD5\xC5\xC8\xFD Ann"), u"张三 Ann") << c.what;
        EXPECT_EQ(Out(u"张三 Ann"), "\xD5\xC5\xC8\xFD Ann") << c.what;
    }
}

// A text cut at a fixed length may end inside its last character: those
// bytes are told apart from a text that ends whole, by reading it from its
// first byte in the device's code page or the language's character set.
TEST_F(CodePageTextTest, TheBytesOfACharacterCutAtTheEndAreCounted) {
    struct Case {
        const char16_t* charset;
        int codePage;
        const char* text;
        int cut;
    };
    // 一二三四五 in GBK ends in E5, a lead byte when it stands first; 四 is
    // CB C4 in GBK, A5 7C in Big5, E5 9B 9B in UTF-8.
    for (const Case& c : {Case{u"", 0, "A\xD5\xC5\xC8\xFD\xB7\xE1\xC0\xEE\xCB", 1},
                          Case{u"", 0, "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5", 0},
                          Case{u"", 0, "A\xFF\xD5\xC5", 0},
                          Case{u"", 950, "A\xB1\x69\xA4\x54\xA5", 1},
                          Case{u"", 950, "A\xB1\x69\xA4\x54", 0},
                          Case{u"", 65001, "AB\xE5\xBC\xA0\xE4\xB8\x89\xE5\x9B", 2},
                          Case{u"", 65001, "A\xE5\xBC\xA0\xE4\xB8\x89\xF0\x9F\x98", 3},
                          Case{u"", 65001, "A\xF0\x9F\x98\x80", 0},
                          Case{u"", 65001, "A\xE0\x80", 0},
                          Case{u"", 65001, "A\xED\xA0", 0},
                          Case{u"GBK", 0, "A\xD5\xC5\xCB", 1},
                          Case{u"GBK", 0, "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5", 0},
                          Case{u"BIG5", 0, "A\xA5", 1},
                          Case{u"UTF-8", 0, "A\xE5\x9B", 2}}) {
        g_MachineConfig.IconvCharset = c.charset;
        g_MachineConfig.CodePage = c.codePage;
        UseLibrary(*c.charset != 0);
        EXPECT_EQ(CutCharacterBytes(c.text, static_cast<int>(std::strlen(c.text))), c.cut)
            << Utf16ToUtf8(c.charset) << " " << c.codePage << " " << c.text;
    }
}

}  // namespace
