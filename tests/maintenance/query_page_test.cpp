// The record query page: the search by ID, department and dates, seven rows
// a page, the page label, the paging keys, the shown forms of the ID and the
// time, and the refusals.
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "platform/ui/commctrl.h"
#include "tests/maintenance/MaintenanceTest.h"
#include "tests/maintenance/RecordPageDates.h"
#include "tests/page_support/column_titles.h"
#include "tests/support/text_fit.h"
#include "transfer/CPTreeRecord.h"

namespace {

class QueryPageTest : public MaintenanceTest {
protected:
    QueryPageTest() {
        g_pRecordStore = new CRecordStore(*g_pDatabase);
        AddUser(u"1", u"", 0);
        AddUser(u"87654321", u"", 0);
        g_pDatabase->DirectStatement(u"update Userinfo set Name='Ann', Deptid=1 where userid='1'");
        g_pDatabase->DirectStatement(u"update Userinfo set Name='Bo', Deptid=2 where userid='87654321'");
    }
    ~QueryPageTest() override {
        delete g_pRecordStore;
        g_pRecordStore = nullptr;
        g_MachineConfig.DateType = 0;
    }
    // `count` records of `id`, one a minute from 08:00 on 1 September 2014.
    static void Punch(const char16_t* id, int count, int status = 0) {
        for (int i = 0; i < count; ++i) {
            CheckinoutRecord record;
            record.Userid = id;
            record.CheckTime.Format(u"2014-09-01 %02d:%02d:00", 8 + i / 60, i % 60);
            record.CheckType = status;
            ASSERT_EQ(g_pRecordStore->AddRecord(record), 0);
        }
    }
    // Rows of the list as "id|name|time|status".
    static std::vector<CString> Rows(const CCPTreeRecord* page) {
        std::vector<CString> rows;
        const CSkinListCtrl& list = page->List();
        for (int row = 0; row < list.GetItemCount(); ++row) {
            CString text;
            for (int column = 0; column < 4; ++column) {
                if (column) text += u"|";
                text += list.GetItemText(row, column);
            }
            rows.push_back(text);
        }
        return rows;
    }
    struct Seen {
        CString label;
        std::vector<CString> rows;
        unsigned page = 0;
        bool listFocused = false;
        int selected = -1;
    };
    // A call that notes what the shown page holds.
    std::function<void()> Note(std::vector<Seen>& seen) {
        return [&seen] {
            CCPTreeRecord* page = ShownPage<CCPTreeRecord>();
            seen.push_back({page->PageLabel(), Rows(page), page->CurrentPage(),
                            CWnd::GetFocus() == &page->List(), page->List().GetSelectedItem()});
        };
    }
    std::function<void()> Dates(int startDay, int endDay) {
        return [=] { SetSeptember2014Dates(ShownPage<CCPTreeRecord>(), startDay, endDay); };
    }
};

TEST_F(QueryPageTest, FifteenRecordsMakeThreePagesOfSeven) {
    Punch(u"1", 15);
    std::vector<Seen> seen;
    OnPage(131,
           {"call", "key F1", "call", "key RIGHT", "call", "key RIGHT", "call", "key RIGHT", "call", "key LEFT",
            "key LEFT", "call"},
           {Dates(1, 30), Note(seen), Note(seen), Note(seen), Note(seen), Note(seen)});
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].label, u"1/3");
    ASSERT_EQ(seen[0].rows.size(), 7u);
    EXPECT_EQ(seen[0].rows[0], u"1|Ann|14-09-01 08:00:00|IN");
    EXPECT_EQ(seen[0].rows[6], u"1|Ann|14-09-01 08:06:00|IN");
    EXPECT_TRUE(seen[0].listFocused) << "more than 8 records put the focus on the list";
    EXPECT_EQ(seen[0].selected, 0);
    EXPECT_EQ(seen[1].label, u"2/3");
    EXPECT_EQ(seen[1].rows[0], u"1|Ann|14-09-01 08:07:00|IN");
    EXPECT_EQ(seen[2].label, u"3/3");
    ASSERT_EQ(seen[2].rows.size(), 1u);
    EXPECT_EQ(seen[2].rows[0], u"1|Ann|14-09-01 08:14:00|IN");
    EXPECT_EQ(seen[3].page, 2u) << "Right on the last page does nothing";
    EXPECT_EQ(seen[4].label, u"1/3");
    EXPECT_EQ(seen[4].page, 0u);
}

// Entering the page again empties the list but keeps the last search's
// page count: Right pages through the form's filters as they stand.
TEST_F(QueryPageTest, RightAfterEnteringAgainPagesWithTheLastSearchsCount) {
    Punch(u"1", 15);
    std::vector<Seen> seen;
    OnPage(131, {"call", "key F1", "key ESC", "goto 131", "call", "key RIGHT", "call"},
           {Dates(1, 1), Note(seen), Note(seen)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].rows.empty()) << "leaving empties the list";
    EXPECT_EQ(seen[1].label, u"2/3");
    EXPECT_EQ(seen[1].page, 1u);
    ASSERT_EQ(seen[1].rows.size(), 7u);
    EXPECT_EQ(seen[1].rows[0], u"1|Ann|14-09-01 08:07:00|IN");
    EXPECT_TRUE(seen[1].listFocused);
}

TEST_F(QueryPageTest, LabelsAndFocusAtThePageEdges) {
    Punch(u"1", 14);
    std::vector<Seen> seen;
    OnPage(131, {"call", "key F1", "call"}, {Dates(1, 1), Note(seen)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].label, u"1/2");
    EXPECT_TRUE(seen[0].listFocused);
}

TEST_F(QueryPageTest, EightRecordsKeepTheFocusOnTheIdField) {
    Punch(u"1", 8);
    std::vector<Seen> seen;
    OnPage(131, {"call", "key F1", "call", "call"},
           {Dates(1, 1), Note(seen),
            [] {
                CCPTreeRecord* page = ShownPage<CCPTreeRecord>();
                EXPECT_EQ(CWnd::GetFocus(), &page->IdField());
            }});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].label, u"1/2");
    EXPECT_FALSE(seen[0].listFocused);
}

// Up and Down move the selection inside the list; past its first or its
// last row no row stays selected and the focus moves on.
TEST_F(QueryPageTest, UpAndDownStayInTheListUntilItsEdges) {
    Punch(u"1", 9);
    std::vector<Seen> seen;
    // The page's control that holds the focus (a date's field lies inside
    // its date control).
    const auto focusedId = [] {
        const HWND page = ShownPage<CCPTreeRecord>()->GetSafeHwnd();
        HWND focus = ::GetFocus();
        while (focus && ::GetParent(focus) != page) focus = ::GetParent(focus);
        return focus ? ::GetDlgCtrlID(focus) : 0;
    };
    std::vector<int> focused;
    std::vector<std::string> lines{"call", "key F1", "key DOWN", "call", "key UP", "key UP", "call", "call", "key F1"};
    for (int row = 0; row < 7; ++row) lines.push_back("key DOWN");
    lines.insert(lines.end(), {"call", "call"});
    OnPage(131, lines,
           {Dates(1, 1), Note(seen), Note(seen), [&] { focused.push_back(focusedId()); }, Note(seen),
            [&] { focused.push_back(focusedId()); }});
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].listFocused);
    EXPECT_EQ(seen[0].selected, 1);
    EXPECT_FALSE(seen[1].listFocused) << "Up at the first row leaves the list";
    EXPECT_EQ(seen[1].selected, -1);
    EXPECT_FALSE(seen[2].listFocused) << "Down at the last row leaves the list";
    EXPECT_EQ(seen[2].selected, -1);
    EXPECT_EQ(focused, (std::vector<int>{CCPTreeRecord::IDC_END, CCPTreeRecord::IDC_NEXT}));
}

TEST_F(QueryPageTest, FiltersByIdAndDepartment) {
    Punch(u"1", 3);
    Punch(u"87654321", 2, 1);
    std::vector<Seen> seen;
    OnPage(131,
           {"call", "key 8", "key 7", "key 6", "key 5", "key 4", "key 3", "key 2", "key 1", "key F1", "call", "call",
            "key F1", "call"},
           {Dates(1, 1), Note(seen),
            [] {
                CCPTreeRecord* page = ShownPage<CCPTreeRecord>();
                page->IdField().SetWindowText(u"");
                page->DeptBox().SetCurSelByValue(1);
            },
            Note(seen)});
    ASSERT_EQ(seen.size(), 2u);
    ASSERT_EQ(seen[0].rows.size(), 2u);
    EXPECT_EQ(seen[0].rows[0], u"87654.321|Bo|14-09-01 08:00:00|OUT");
    EXPECT_EQ(seen[0].label, u"1/1");
    ASSERT_EQ(seen[1].rows.size(), 3u);
    EXPECT_EQ(seen[1].rows[2], u"1|Ann|14-09-01 08:02:00|IN");
}

// A day's search takes its punches from its first second to its last, and
// none of the next day's.
TEST_F(QueryPageTest, ADayRunsFromItsFirstSecondToItsLast) {
    for (const char16_t* time : {u"2014-08-31 23:59:59", u"2014-09-01 00:00:00", u"2014-09-01 23:59:00",
                                 u"2014-09-01 23:59:01", u"2014-09-01 23:59:59", u"2014-09-02 00:00:00"}) {
        CheckinoutRecord record;
        record.Userid = u"1";
        record.CheckTime = time;
        ASSERT_EQ(g_pRecordStore->AddRecord(record), 0);
    }
    std::vector<Seen> seen;
    OnPage(131, {"call", "key F1", "call"}, {Dates(1, 1), Note(seen)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].rows, (std::vector<CString>{u"1|Ann|14-09-01 00:00:00|IN", u"1|Ann|14-09-01 23:59:00|IN",
                                                  u"1|Ann|14-09-01 23:59:01|IN", u"1|Ann|14-09-01 23:59:59|IN"}));
}

// Twelve digits are an ID: searched, not refused.
TEST_F(QueryPageTest, ATwelveDigitIdIsSearched) {
    AddUser(u"123456789012", u"", 0);
    Punch(u"123456789012", 2);
    Punch(u"1", 1);
    std::vector<Seen> seen;
    std::vector<std::string> lines{"call"};
    for (char digit : std::string("123456789012")) lines.push_back(std::string("key ") + digit);
    lines.insert(lines.end(), {"key F1", "call"});
    OnPage(131, lines, {Dates(1, 1), Note(seen)});
    EXPECT_TRUE(Messages().empty());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].rows.size(), 2u);
}

TEST_F(QueryPageTest, RefusesALongIdAndAReversedRange) {
    Punch(u"1", 3);
    std::vector<Seen> seen;
    std::vector<std::string> lines{"call"};
    for (char digit : std::string("9876543210987")) lines.push_back(std::string("key ") + digit);
    lines.insert(lines.end(), {"answer ok", "key F1", "call", "call", "answer ok", "key F1", "call"});
    OnPage(131, lines,
           {Dates(1, 1),
            [] {
                CString id;
                ShownPage<CCPTreeRecord>()->IdField().GetWindowText(id);
                EXPECT_EQ(id, u"") << "the long ID is cleared";
            },
            Dates(2, 1), Note(seen)});
    const std::vector<CString> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"ID too long, at most 12 digits");
    EXPECT_EQ(messages[1], u"The start date is after the end date");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].rows.empty());
}

TEST_F(QueryPageTest, NoMatchLeavesThePagingKeysWithoutEffect) {
    Punch(u"1", 3);
    std::vector<Seen> seen;
    OnPage(131, {"call", "key F1", "key RIGHT", "call", "call"},
           {Dates(2, 2),
            [] { ShownPage<CCPTreeRecord>()->LastPage(); },
            Note(seen)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].label, u"1/0");
    EXPECT_EQ(seen[0].page, 0u);
    EXPECT_TRUE(seen[0].rows.empty());
}

TEST_F(QueryPageTest, LastAndFirstPageButtons) {
    Punch(u"1", 16);
    std::vector<Seen> seen;
    OnPage(131, {"call", "key F1", "call", "call", "call", "call"},
           {Dates(1, 1), [] { ShownPage<CCPTreeRecord>()->LastPage(); }, Note(seen),
            [] { ShownPage<CCPTreeRecord>()->FirstPage(); }, Note(seen)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].label, u"3/3");
    ASSERT_EQ(seen[0].rows.size(), 2u);
    EXPECT_EQ(seen[1].label, u"1/3");
    EXPECT_EQ(seen[1].rows.size(), 7u);
}

// The time is read through the record store, which the fixture makes.
TEST_F(QueryPageTest, IdAndDateForms) {
    EXPECT_EQ(CCPTreeRecord::ShowUserId(u"87654321"), u"87654.321");
    EXPECT_EQ(CCPTreeRecord::ShowUserId(u"654321"), u"654321");
    EXPECT_EQ(CCPTreeRecord::ShowUserId(u"7654321"), u"76543.21");
    const CString time = u"2014-09-01 08:30:00";
    EXPECT_EQ(CCPTreeRecord::ShowCheckTime(time, 0), u"14-09-01 08:30:00");
    EXPECT_EQ(CCPTreeRecord::ShowCheckTime(time, 1), u"09-01-14 08:30:00");
    EXPECT_EQ(CCPTreeRecord::ShowCheckTime(u"2014-09-02 08:30:00", 2), u"02-09-14 08:30:00");
    EXPECT_EQ(CCPTreeRecord::ShowCheckTime(time, 3), u"######################");
}

// The given list height holds a whole page: no record of it is hidden.
TEST_F(QueryPageTest, EveryRowOfAFullPageIsSeenWhole) {
    Punch(u"1", 9);
    std::vector<TextMisfit> misfits;
    std::vector<CString> rows;
    OnPage(131, {"call", "key F1", "call"},
           {Dates(1, 1), [&] {
                misfits = FindTextMisfits();
                rows = Rows(ShownPage<CCPTreeRecord>());
            }});
    EXPECT_EQ(rows.size(), 7u);
    EXPECT_EQ(Describe(misfits), "");
}

// Each column title stands over its own column, in both languages: the
// status title over the statuses, not over the times. The Chinese one is
// wider than the room the narrow status column leaves on the line: it ends
// with the line, its middle over its column.
TEST_F(QueryPageTest, EachColumnTitleStandsOverItsColumn) {
    for (const char16_t* language : {u"English", u"Chinese"}) {
        g_MachineConfig.LanguageName = language;
        ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
        TitlesAndColumns seen;
        std::string misfits;
        OnPage(131, {"call"}, {[&] {
                   CCPTreeRecord* page = ShownPage<CCPTreeRecord>();
                   seen = LookAtTitles(*page->GetDlgItem(1344), page->List(), 4);
                   misfits = Describe(FindTextMisfits());
               }});
        ASSERT_EQ(seen.titleLefts.size(), 4u) << "one title per column";
        for (size_t column = 0; column < 4; ++column) {
            const LONG middle = (seen.titleLefts[column] + seen.titleRights[column]) / 2;
            EXPECT_GE(middle, seen.columns[column].first) << "title " << column;
            EXPECT_LT(middle, seen.columns[column].second) << "title " << column;
        }
        EXPECT_EQ(misfits, "") << "the titles are seen whole";
    }
    g_MachineConfig.LanguageName = u"English";
}

TEST_F(QueryPageTest, ListWithRowsGolden) {
    Punch(u"1", 5);
    Punch(u"87654321", 5, 1);
    OnPage(131, {"call", "key F1", "golden transfer_query_rows"}, {Dates(1, 1)});
    EXPECT_TRUE(golden);
}

}  // namespace
