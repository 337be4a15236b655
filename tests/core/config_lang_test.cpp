// The settings keys of config.xml and the language texts, through the two
// global documents as the rest of the system reaches them.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <latch>
#include <string>
#include <thread>

#include "core/BidiText.h"
#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "platform/base/debug.h"
#include "platform/base/host_read.h"
#include "tests/support/device_root.h"

namespace {

constexpr const char* kConfigHost = "NandFlash/zeta42/config/config.xml";
constexpr const char* kLanguageHost = "NandFlash/zeta42/LANG/English.LAN";

class ConfigLang : public ::testing::Test {
protected:
    void SetUp() override {
        m_root.PutFile(kConfigHost,
                       "<ROOT>\r\n<CONFIG>\r\n<NUM>12abc</NUM>\r\n<NEG> -7</NEG>\r\n<WORD>abc</WORD>\r\n"
                       "<DUP>1</DUP>\r\n<DUP>2</DUP>\r\n</CONFIG>\r\n</ROOT>\r\n");
        m_root.PutFile(kLanguageHost,
                       "<LANG>\r\n<CMachineConfig>\r\n<MCF0002>Text</MCF0002>\r\n<T2>first</T2>\r\n<T2>second</T2>\r\n"
                       "<F1>Zone %d of %s</F1>\r\n<F2>%s then %d</F2>\r\n<F3>%I64d%%</F3>\r\n<F4>only %d</F4>\r\n"
                       "</CMachineConfig>\r\n<language>\r\n<bidi>1</bidi>\r\n</language>\r\n</LANG>\r\n");
        ASSERT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
        g_MachineConfig.LanguageName = u"English";
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
        g_MachineConfig.MachineID = u"1";
        g_MachineConfig.RightToLeft = 0;
    }
    void TearDown() override {
        g_ConfigDoc.ParseText(u"");
        g_LangDoc.ParseText(u"");
        g_pfnFriBidiRtoL = nullptr;
        g_MachineConfig.RightToLeft = 0;
    }

    ScopedDeviceRoot m_root;
};

// A stand-in for the bidirectional-text library: it reverses the text.
int ReverseText(const WCHAR* input, WCHAR* output, int length) {
    for (int i = 0; i < length; ++i)
        output[i] = input[length - 1 - i];
    return length;
}

}  // namespace

TEST_F(ConfigLang, NumericKeysReadTheirLeadingInteger) {
    int value = -1;
    EXPECT_EQ(GetConfigInt(u"NUM", value), 1);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(GetConfigInt(u"NEG", value), 1);
    EXPECT_EQ(value, -7);
    EXPECT_EQ(GetConfigInt(u"WORD", value), 1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(GetConfigInt(u"DUP", value), 1);
    EXPECT_EQ(value, 2);
    value = 5;
    EXPECT_EQ(GetConfigInt(u"MISSING", value), 0);
    EXPECT_EQ(value, 0);
}

TEST_F(ConfigLang, TextKeysAndTheirAbsence) {
    CString text = u"kept";
    EXPECT_EQ(GetConfigValue(u"MISSING", text), 0);
    EXPECT_EQ(text, CString(u"kept"));
    EXPECT_EQ(GetConfigValue(u"DUP", text), 1);
    EXPECT_EQ(text, CString(u"2"));
}

TEST_F(ConfigLang, WritesReachTheFileOnlyWhenSaved) {
    const std::string before = m_root.ReadFile(kConfigHost);
    EXPECT_EQ(SetConfigValue(u"NEWKEY", u"a<b", FALSE), 1);
    EXPECT_EQ(SetConfigInt(u"DUP", 4294967295u, FALSE), 1);
    EXPECT_EQ(m_root.ReadFile(kConfigHost), before);
    CString text;
    GetConfigValue(u"NEWKEY", text);
    EXPECT_EQ(text, CString(u"a<b"));
    EXPECT_EQ(SetConfigInt(u"NUM", 7, TRUE), 1);
    EXPECT_EQ(m_root.ReadFile(kConfigHost),
              "<ROOT>\r\n<CONFIG>\r\n<NUM>7</NUM>\r\n<NEG> -7</NEG>\r\n<WORD>abc</WORD>\r\n"
              "<DUP>4294967295</DUP>\r\n<DUP>2</DUP>\r\n<NEWKEY>a&lt;b</NEWKEY>\r\n</CONFIG>\r\n</ROOT>\r\n");
}

TEST_F(ConfigLang, WithoutConfigNothingIsWritten) {
    g_ConfigDoc.ParseText(u"<ROOT><OTHER/></ROOT>");
    const uint64_t before = JournalLastSequence();
    EXPECT_EQ(SetConfigValue(u"K", u"v", TRUE), 0);
    const std::vector<JournalEntry> shown = JournalRead(kJournalMessageBox, before);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"XML error in 'CONFIG' elem! ");
    EXPECT_EQ(g_ConfigDoc.GetDoc(), CString(u"<ROOT><OTHER/></ROOT>"));
    int value = 3;
    EXPECT_EQ(GetConfigInt(u"K", value), 0);
}

TEST_F(ConfigLang, LanguageTextsAndTheirMarks) {
    CString text;
    EXPECT_EQ(GetLangText(u"CMachineConfig", u"MCF0001", u"\u9519\u8bef", text), 1);
    EXPECT_EQ(text, CString(u"*\u9519\u8bef"));
    EXPECT_EQ(GetLangText(u"NoSuchPage", u"MCF0002", u"d", text), 0);
    EXPECT_EQ(text, CString(u"*d"));
    EXPECT_EQ(GetLangText(u"CMachineConfig", u"MCF0002", u"d", text), 1);
    EXPECT_EQ(text, CString(u"Text"));
    EXPECT_EQ(GetLangText(u"CMachineConfig", u"T2", u"d", text), 1);
    EXPECT_EQ(text, CString(u"second"));

    // The translator's device marks every text that comes from the file.
    g_MachineConfig.MachineID = u"6048213975";
    GetLangText(u"CMachineConfig", u"MCF0002", u"d", text);
    EXPECT_EQ(text, CString(u"@Text"));
    GetLangText(u"CMachineConfig", u"MCF0001", u"d", text);
    EXPECT_EQ(text, CString(u"*d"));
}

TEST_F(ConfigLang, TranslatedFormatsAreUsedOnlyWithTheDefaultsConversions) {
    CString format;
    EXPECT_EQ(GetLangFormat(u"CMachineConfig", u"F1", u"\u533a %02d %s", format), 1);
    EXPECT_EQ(format, CString(u"Zone %d of %s")) << "flags and widths may differ";
    GetLangFormat(u"CMachineConfig", u"F2", u"%d %s", format);
    EXPECT_EQ(format, CString(u"*%d %s")) << "swapped conversions";
    GetLangFormat(u"CMachineConfig", u"F3", u"%I64d%%", format);
    EXPECT_EQ(format, CString(u"%I64d%%"));
    GetLangFormat(u"CMachineConfig", u"F3", u"%d%%", format);
    EXPECT_EQ(format, CString(u"*%d%%")) << "a 64-bit argument where an int is passed";
    GetLangFormat(u"CMachineConfig", u"F4", u"%d of %d", format);
    EXPECT_EQ(format, CString(u"*%d of %d")) << "a conversion fewer";
    GetLangFormat(u"CMachineConfig", u"Missing", u"%d", format);
    EXPECT_EQ(format, CString(u"*%d"));
}

TEST_F(ConfigLang, RawTextsAndLanguageSwitches) {
    CString text;
    EXPECT_EQ(GetLangTextRaw(u"CMachineConfig", u"NOPE", text), 1);
    EXPECT_EQ(text, CString(u"NOPE"));
    EXPECT_EQ(GetLangTextRaw(u"Missing", u"NOPE", text), 0);

    // Switches read as written: a missing key is off, not "*".
    g_MachineConfig.MachineID = u"6048213975";
    EXPECT_EQ(GetLanguageSwitch(u"bidi", text), 1);
    EXPECT_EQ(text, CString(u"1"));
    EXPECT_EQ(GetLanguageSwitch(u"libiconv", text), 1);
    EXPECT_EQ(text, CString());
    g_LangDoc.ParseText(u"<LANG/>");
    EXPECT_EQ(GetLanguageSwitch(u"bidi", text), 0);
    EXPECT_EQ(text, CString());
}

TEST_F(ConfigLang, RightToLeftTextsAreReorderedWithoutByteOrderMarks) {
    g_LangDoc.ParseText(u"<LANG><P><K>\uFEFFabc</K></P></LANG>");
    g_MachineConfig.RightToLeft = 1;
    g_pfnFriBidiRtoL = ReverseText;
    CString text;
    EXPECT_EQ(GetLangText(u"P", u"K", u"d", text), 1);
    EXPECT_EQ(text, CString(u"cba"));
    g_pfnFriBidiRtoL = nullptr;
    GetLangText(u"P", u"K", u"d", text);
    EXPECT_EQ(text, CString(u"abc"));
}

// An owner may keep the settings and the texts elsewhere and link them in;
// only what is no plain file once followed, or is beyond reason in size,
// is refused.
TEST_F(ConfigLang, LinkedFilesAreReadAsTheFilesTheyLeadTo) {
    for (const char* file : {kConfigHost, kLanguageHost}) {
        const std::string original = m_root.ReadFile(file);
        m_root.PutFile(std::string("owner/") + file, original);
        std::filesystem::remove(m_root.HostPath(file));
        std::filesystem::create_symlink(m_root.HostPath(std::string("owner/") + file), m_root.HostPath(file));
    }
    ASSERT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    int value = 0;
    EXPECT_EQ(GetConfigInt(u"NUM", value), 1);
    EXPECT_EQ(value, 12);
    CString text;
    EXPECT_EQ(GetLangText(u"CMachineConfig", u"MCF0002", u"d", text), 1);
    EXPECT_EQ(text, CString(u"Text"));

    // A save writes into the owner's file and keeps the link.
    ASSERT_EQ(SetConfigInt(u"NUM", 13, FALSE), 1);
    ASSERT_TRUE(SaveConfigFile());
    EXPECT_TRUE(std::filesystem::is_symlink(m_root.HostPath(kConfigHost)));
    EXPECT_NE(m_root.ReadFile(std::string("owner/") + kConfigHost).find("<NUM>13</NUM>"), std::string::npos);

    std::filesystem::remove(m_root.HostPath(kLanguageHost));
    std::filesystem::create_directories(m_root.HostPath(kLanguageHost));
    EXPECT_FALSE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    GetLangText(u"CMachineConfig", u"MCF0002", u"d", text);
    EXPECT_EQ(text, CString(u"*d"));
}

TEST_F(ConfigLang, FilesBeyondTheTextLimitAreRefusedUnread) {
    std::string huge = "<ROOT>\r\n<CONFIG>\r\n<NUM>5</NUM>\r\n</CONFIG>\r\n";
    huge.resize(kMaxTextFileBytes + 1 - 9, ' ');
    huge += "</ROOT>\r\n";
    m_root.PutFile(kConfigHost, huge);
    EXPECT_FALSE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
    int value = -1;
    EXPECT_EQ(GetConfigInt(u"NUM", value), 0);
    huge.erase(huge.size() - 10, 1);
    m_root.PutFile(kConfigHost, huge);
    EXPECT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath())) << "a file at the limit is read";
    EXPECT_EQ(GetConfigInt(u"NUM", value), 1);
    EXPECT_EQ(value, 5);
}

TEST_F(ConfigLang, LanguageFilePath) {
    g_MachineConfig.LanguageName = u"";
    EXPECT_EQ(GetLanguageFilePath(), CString(u"\\NandFlash\\zeta42\\LANG\\English.LAN"));
    g_MachineConfig.LanguageName = u"Arabic";
    EXPECT_EQ(GetLanguageFilePath(), CString(u"\\NandFlash\\zeta42\\LANG\\Arabic.LAN"));
}

TEST_F(ConfigLang, LookupsFromSeveralThreadsEachGetTheirOwnAnswer) {
    // Every lookup moves the document's position: without the document's lock
    // one thread's search would continue from another's place.
    std::atomic<int> wrong{0};
    std::latch start(3);
    auto lookUp = [&](const char16_t* key, const char16_t* expected) {
        CString text;
        start.arrive_and_wait();
        for (int i = 0; i < 20000; ++i) {
            GetLangText(u"CMachineConfig", key, u"d", text);
            if (text != CString(expected))
                ++wrong;
        }
    };
    auto configure = [&] {
        start.arrive_and_wait();
        for (int i = 0; i < 2000; ++i) {
            SetConfigInt(u"COUNTER", static_cast<UINT>(i), FALSE);
            int value = -1;
            if (!GetConfigInt(u"NUM", value) || value != 12)
                ++wrong;
        }
    };
    std::thread first(lookUp, u"MCF0002", u"Text");
    std::thread second(lookUp, u"T2", u"second");
    std::thread third(configure);
    first.join();
    second.join();
    third.join();
    EXPECT_EQ(wrong.load(), 0);
}
