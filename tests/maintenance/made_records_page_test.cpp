// Records made by the records program, as a person trying the terminal
// makes them, are what the Records page finds.
#include <cstdlib>

#include "core/DatabaseOpen.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "tests/maintenance/MaintenanceTest.h"
#include "tests/maintenance/RecordPageDates.h"
#include "transfer/CPTreeRecord.h"

#if defined(RECORDS_PROGRAM)

namespace {

class MadeRecordsPageTest : public MaintenanceTest {
protected:
    ~MadeRecordsPageTest() override {
        delete g_pRecordStore;
        g_pRecordStore = nullptr;
    }
    // The program writes the folder while the test's own connection is closed.
    void MakeRecords(const std::string& arguments) {
        delete g_pRecordStore;
        g_pRecordStore = nullptr;
        CloseDatabase();
        const std::string command = std::string(RECORDS_PROGRAM) + " " + root.Host() + " " + arguments + " >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        ASSERT_EQ(OpenDatabase(), 1);
        g_pRecordStore = new CRecordStore(*g_pDatabase);
    }
};

TEST_F(MadeRecordsPageTest, TheRecordsPageFindsAndPagesTheMadeRecords) {
    AddUser(u"3", u"", 0);
    g_pDatabase->DirectStatement(u"update Userinfo set Name='Cy' where userid='3'");
    MakeRecords("20 --from 2014-09-01 --to 2014-09-02");
    MakeRecords("5 --ids 44 --from 2014-09-03 --to 2014-09-03");
    std::vector<CString> labels;
    std::vector<CString> firstRows;
    const auto note = [&] {
        CCPTreeRecord* page = ShownPage<CCPTreeRecord>();
        labels.push_back(page->PageLabel());
        const CSkinListCtrl& list = page->List();
        firstRows.push_back(list.GetItemCount() ? list.GetItemText(0, 0) + u"|" + list.GetItemText(0, 1) : u"");
    };
    OnPage(131, {"call", "key F1", "call", "call", "key F1", "call"},
           {[] { SetSeptember2014Dates(ShownPage<CCPTreeRecord>(), 1, 2); }, note,
            [] { SetSeptember2014Dates(ShownPage<CCPTreeRecord>(), 3, 3); }, note});
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], u"1/3") << "20 records, seven a page";
    EXPECT_EQ(firstRows[0], u"3|Cy");
    EXPECT_EQ(labels[1], u"1/1");
    EXPECT_EQ(firstRows[1].Left(3), u"44|");
}

}  // namespace
#endif
