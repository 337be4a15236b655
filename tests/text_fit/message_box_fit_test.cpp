// The texts of the terminal's message boxes stand inside the area each box
// gives them: a text too long for a box is reported, and the texts that
// tell a refused write, a failed restore or a start-up that cannot go on
// fit in English and in Chinese.
#include "core/AppMessageBox.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "core/UserDataReset.h"
#include "data/DatabaseFailure.h"
#include "tests/page_support/panel_fixture.h"
#include "tests/support/text_fit.h"
#include "widgets/JHMessageBox.h"

namespace {

constexpr DatabaseFailure kFailures[] = {DatabaseFailure::InUse, DatabaseFailure::Full, DatabaseFailure::ReadOnly,
                                         DatabaseFailure::Other};

class MessageBoxFit : public PanelTest {
protected:
    MessageBoxFit() {
        ScriptDriver::RegisterCommand("fit", [this](const std::vector<std::string>&, std::string*) {
            misfits = FindTextMisfits();
            return true;
        });
    }
    ~MessageBoxFit() override { ScriptDriver::RegisterCommand("fit", nullptr); }

    void UseLanguage(const char16_t* name) {
        g_MachineConfig.LanguageName = name;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    }

    // The texts not seen whole in the box `show` opens, looked at while it shows.
    std::string MisfitsIn(const std::function<void()>& show) {
        misfits.clear();
        session.RunWhenIdle({"fit", "answer ok", "quit"});
        show();
        return Describe(misfits);
    }

    // In the skinned box every page uses, and in the system box start-up
    // and the data store use before it can.
    void ExpectFitsInEveryBox(const CString& text) {
        SCOPED_TRACE(Utf16ToUtf8(text.str()));
        ASSERT_FALSE(text.IsEmpty());
        EXPECT_EQ(MisfitsIn([&] { ShowMessage(text, 0); }), "");
        EXPECT_EQ(MisfitsIn([&] { AfxMessageBox(text); }), "");
    }

    static CString LangText(const char16_t* section, const char16_t* key) {
        CString text;
        GetLangText(section, key, u"", text);
        return text;
    }

    std::vector<TextMisfit> misfits;
};

// Word after word until the text is longer than the skinned box has room
// for, yet short enough to stay inside the box's window.
TEST_F(MessageBoxFit, ATextTooLongForABoxIsReported) {
    const CString tooLong = u"The flash is full and nothing was restored so the database on this terminal is "
                            u"unchanged; make room on it and try once more";
    EXPECT_NE(MisfitsIn([&] { ShowMessage(tooLong, 0); }).find("out of the area its window gives the text"),
              std::string::npos)
        << "the skinned box";
    CString overflowing;
    for (int i = 0; i < 40; ++i) overflowing += u"The database file is read-only. ";
    EXPECT_NE(MisfitsIn([&] { AfxMessageBox(overflowing); }), "") << "the system box";
    EXPECT_NE(MisfitsIn([&] {
                  CJHMessageBox box(&main);
                  box.m_text = overflowing + overflowing;
                  box.CaptureScreen();
                  box.CalcLayout();
                  box.DoModal();
              }),
              "")
        << "the box with image buttons";
}

TEST_F(MessageBoxFit, FailureTextsFitInBothLanguages) {
    for (const char16_t* language : {u"English", u"Chinese"}) {
        SCOPED_TRACE(Utf16ToUtf8(language));
        UseLanguage(language);
        for (const char16_t* key : {u"Restore0017", u"Restore0018", u"Restore0019"})
            ExpectFitsInEveryBox(LangText(u"CCPTreeRestoreDatabase", key));
        for (const char16_t* key : {u"JT0004", u"JT0005", u"JT0006", u"JT0008"})
            ExpectFitsInEveryBox(LangText(u"CJHTool", key));
        for (DatabaseFailure failure : kFailures) {
            ExpectFitsInEveryBox(DataNotClearedText(failure));
            ExpectFitsInEveryBox(DatabaseWriteFailedText(failure));
        }
    }
}

}  // namespace
