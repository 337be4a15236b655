// The factory device image as the terminal first meets it: its config.xml,
// registry and language files load, and the first start writes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "tests/support/device_root.h"

namespace {

class FactoryImage : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, m_root.Host(), std::filesystem::copy_options::recursive);
        SetDeviceRoot(m_root.Host());  // reads the image's registry
    }
    void TearDown() override {
        g_ConfigDoc.ParseText(u"");
        g_LangDoc.ParseText(u"");
    }

    ScopedDeviceRoot m_root;
};

}  // namespace

TEST_F(FactoryImage, FirstStartLoadsEverySettingAndWritesNothing) {
    const std::string before = m_root.ReadFile("NandFlash/zeta42/config/config.xml");
    ASSERT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
    ASSERT_EQ(g_MachineConfig.Load(), 1);
    EXPECT_EQ(m_root.ReadFile("NandFlash/zeta42/config/config.xml"), before);
    EXPECT_EQ(g_MachineConfig.UnitName.Get(), CString(u"VELTO"));
    EXPECT_EQ(g_MachineConfig.MachineID.Get(), CString(u"1"));
    EXPECT_EQ(g_MachineConfig.NETPORT, 5010);
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 201);
    EXPECT_EQ(g_MachineConfig.SkinDir.Get(), CString(u"\\NandFlash\\zeta42\\Skin\\flower\\"));
}

TEST_F(FactoryImage, LanguageFilesAnswerTheirTexts) {
    g_MachineConfig.MachineID = u"1";
    g_MachineConfig.RightToLeft = 0;
    for (const char16_t* language : {u"English", u"Chinese"}) {
        g_MachineConfig.LanguageName = language;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
        CString text;
        EXPECT_EQ(GetLangText(u"CMachineConfig", u"MCF0001", u"\u9519\u8bef: \u65e0\u6cd5\u6253\u5f00\u6709\u5173\u7684hKEY11!", text), 1);
        EXPECT_NE(text[0], u'*');
        EXPECT_EQ(GetLanguageSwitch(u"bidi", text), 1);
        EXPECT_EQ(text, CString(u"0"));
    }
}
