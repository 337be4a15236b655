// The factory language files answer every text of the table through the
// terminal's own lookup, exactly: escaped characters, tabs and leading
// blanks included.
#include <gtest/gtest.h>

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "platform/base/device_fs.h"
#include "platform/base/utf.h"
#include "tests/device-image/image_files.h"
#include "tools/device-image/device_image.h"
#include "tools/device-image/texts_table.h"

namespace {

TEST(LanguageLookup, EveryTextReadsBackAsWritten) {
    imagetest::TempFolder temp;
    const std::string root = (temp.Path() / "device").string();
    ASSERT_TRUE(factory::BuildDeviceImage(root, false).ok);
    SetDeviceRoot(root);
    g_MachineConfig.MachineID = u"1";
    g_MachineConfig.RightToLeft = 0;
    const std::vector<factory::TextRow> rows = factory::ReadTextTable(QUILLON_TEXTS_TABLE);
    for (const char16_t* language : {u"English", u"Chinese"}) {
        g_MachineConfig.LanguageName = language;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
        for (const factory::TextRow& row : rows) {
            CString text;
            ASSERT_EQ(GetLangText(Utf8ToUtf16(row.section).c_str(), Utf8ToUtf16(row.key).c_str(), u"", text), 1)
                << row.section;
            const std::string expected = std::u16string(language) == u"English" ? row.english : row.chinese;
            EXPECT_EQ(Utf16ToUtf8(text.GetString()), expected) << row.section << "/" << row.key;
        }
    }
    g_LangDoc.ParseText(u"");
}

}  // namespace
