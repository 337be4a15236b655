// Every page of the control panel, in English and in Chinese, entered from
// the menu and in the states its work leads to (full lists, message boxes):
// each text shown is seen whole.
#include <algorithm>

#include "core/AccessTables.h"
#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "platform/base/localtime.h"
#include "tests/page_support/panel_fixture.h"
#include "tests/support/text_fit.h"

namespace {

struct Step {
    unsigned node;
    std::vector<std::string> keys;  // after entering the page
    const char* state;
};

// Each page as entered, and the states its own keys reach.
const std::vector<Step>& Tour() {
    static const std::vector<Step> steps{
        {1, {}, "the main menu"},
        {12, {}, "the users menu"},
        {13, {}, "the data menu"},
        {133, {}, "the export menu"},
        {14, {}, "the attendance menu"},
        {15, {}, "the system menu"},
        {16, {}, "the advanced menu"},
        {11, {}, "entered"},
        {11, {"key 9", "key 9", "key ENTER", "fit", "answer no"}, "the add-user question"},
        {121, {}, "entered"},
        {121, {"key 3", "key 1", "key ENTER"}, "a new user held"},
        // Password, six fields down to Mode, its own switch, then each row
        // asking for more.
        {121,
         {"key 3", "key 2", "key ENTER", "key ENTER", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "key DOWN",
          "key DOWN", "key ENTER", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN",
          "key RIGHT"},
         "the verify modes"},
        {122, {}, "entered"},
        {122, {"key 8", "key 7", "key 6", "key 5", "key 4", "key 3", "key 2", "key 1", "key ENTER"}, "a user loaded"},
        {123, {}, "entered"},
        {123, {"key 9", "key 9", "key ENTER", "fit", "answer ok"}, "the no-such-ID box"},
        {124, {}, "entered"},
        {124, {"key F1"}, "a full page of users"},
        {124, {"tall"}, "fields filled"},
        {131, {}, "entered"},
        {131, {"key F1"}, "a full page of records"},
        {132, {}, "entered"},
        {1331, {}, "entered"},
        {1331, {"key DOWN", "key ENTER", "fit", "answer no"}, "the fingerprints question"},
        {1332, {}, "entered"},
        {134, {}, "entered"},
        {135, {}, "entered"},
        {136, {}, "entered"},
        {136, {"key ENTER", "fit", "answer ok"}, "the no-update box"},
        {154, {}, "entered"},
        {163, {}, "entered"},
        {163, {"key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT"}, "every row asking for more"},
        {164, {}, "entered"},
        {166, {}, "entered"},
        {141, {}, "entered"},
        {141, {"keydown HASH", "keyup HASH", "fit", "key ESC"}, "the on-screen keyboard"},
        {142, {}, "entered"},
        {142, {"key F1", "fit", "answer no"}, "the set question"},
        {165, {}, "entered"},
    };
    return steps;
}

class TextFitTour : public PanelTest {
protected:
    TextFitTour() {
        EXPECT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
        LoadAccessGroups();
        LoadAccessTimeZones();
        g_pRecordStore = new CRecordStore(*g_pDatabase);
        g_pUserStorage = &users;
        // Longer names and IDs than the factory has, so the lists show the
        // widest values they hold, a full page and more.
        for (int i = 1; i <= 9; ++i) {
            CString id;
            id.Format(u"8765432%d", i);
            AddUser(id.GetString(), u"", i == 1 ? 1 : 0);
            CString sql;
            sql.Format(u"UPDATE Userinfo SET Name='Wilhelmin%d', Deptid=1 WHERE userid='%s'", i, id.GetString());
            g_pDatabase->DirectStatement(sql);
            for (int minute = 0; minute < 2; ++minute) {
                CheckinoutRecord record;
                record.Userid = id;
                // Today's, which the page shows unless told otherwise.
                SYSTEMTIME now{};
                GetLocalTime(&now);
                record.CheckTime.Format(u"%04d-%02d-%02d 08:%02d:00", now.wYear, now.wMonth, now.wDay, minute + 2 * i);
                record.CheckType = minute;
                g_pRecordStore->AddRecord(record);
            }
        }
        ScriptDriver::RegisterCommand("fit", [this](const std::vector<std::string>&, std::string*) {
            misfits = FindTextMisfits();
            return true;
        });
        // Every field of the shown page holds letters that reach above and
        // below the others.
        ScriptDriver::RegisterCommand("tall", [](const std::vector<std::string>&, std::string*) {
            CWnd* page = CControlPanel::Open()->ShownPage();
            for (CWnd* child = page->GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
                WCHAR name[16] = {};
                GetClassNameW(child->GetSafeHwnd(), name, 16);
                if (std::u16string_view(name) == u"EDIT") child->SetWindowText(u"Hdl gjpqy");
            }
            return true;
        });
    }
    ~TextFitTour() override {
        ScriptDriver::RegisterCommand("fit", nullptr);
        ScriptDriver::RegisterCommand("tall", nullptr);
        delete g_pRecordStore;
        g_pRecordStore = nullptr;
        g_pUserStorage = nullptr;
        g_MachineConfig.AccessGroupTable.Clear();
        g_MachineConfig.AccessZoneTable.Clear();
        g_ConfigDoc.ParseText(u"");
    }

    void UseLanguage(const char16_t* name) {
        g_MachineConfig.LanguageName = name;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    }

    // The texts not seen whole after `step`.
    std::string Visit(const Step& step) {
        misfits.clear();
        std::vector<std::string> lines = step.keys;
        // A box is looked at while it shows; a page once its keys are done.
        if (std::find(lines.begin(), lines.end(), "fit") == lines.end()) lines.push_back("fit");
        for (int i = 0; i < 4; ++i) lines.push_back("key ESC");
        lines.push_back("quit");
        session.RunWhenIdle(std::move(lines));
        session.Run("goto " + std::to_string(step.node));
        return Describe(misfits);
    }

    void TourAll() {
        for (const Step& step : Tour()) {
            SCOPED_TRACE(std::to_string(step.node) + " " + step.state);
            EXPECT_EQ(Visit(step), "");
        }
    }

    std::vector<TextMisfit> misfits;
    CUserStorage users{*g_pDatabase};
};

// A 16-pixel font in fields 15 pixels high: the letters stand whole inside.
TEST_F(TextFitTour, StatusKeyNamesShowWholeLetters) {
    UseLanguage(u"English");
    EXPECT_EQ(Visit({141, {"tall"}, "tall letters"}), "");
}

// A terminal of 5000 users: Find User's last page is 834 of 834.
TEST_F(TextFitTour, FindUserLastPageOfAFullTerminal) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(
        u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
        u"WHERE n < 5000 - (SELECT Count(*) FROM Userinfo)) SELECT 10000 + n, '', 'user' || n, '', '', 1, 6, '', 0, "
        u"'', 0, 1 FROM s"));
    for (const char16_t* language : {u"English", u"Chinese"}) {
        SCOPED_TRACE(Utf16ToUtf8(language));
        UseLanguage(language);
        EXPECT_EQ(Visit({124, {"key F1", "key F5"}, "the last page"}), "");
    }
}

TEST_F(TextFitTour, EveryEnglishTextIsSeenWhole) {
    UseLanguage(u"English");
    TourAll();
}

TEST_F(TextFitTour, EveryChineseTextIsSeenWhole) {
    UseLanguage(u"Chinese");
    TourAll();
}

}  // namespace
