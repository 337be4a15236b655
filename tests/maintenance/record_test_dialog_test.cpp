// The developer's record dialog: its adds go through the store's own
// transactions, and its counter operations keep memory and BasePara alike.
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "tests/maintenance/MaintenanceTest.h"
#include "transfer/RecordTestDlg.h"

namespace {

class RecordTestDialogTest : public MaintenanceTest {
protected:
    RecordTestDialogTest() {
        g_pRecordStore = new CRecordStore(*g_pDatabase);
        EXPECT_TRUE(dialog.Create(CRecordTestDlg::IDD, &main));
    }
    ~RecordTestDialogTest() override {
        dialog.DestroyWindow();
        delete g_pRecordStore;
        g_pRecordStore = nullptr;
    }
    // `answer`: the answer for the message box the click shows.
    void Click(int id, const std::string& answer = "") {
        if (!answer.empty()) session.Run("answer " + answer);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        session.Pump();
    }
    static int Stored(const char16_t* column) {
        CString sql;
        sql.Format(u"select %s from BasePara", column);
        return QueryInt(*g_pDatabase, sql);
    }
    CString Field(int id) {
        CString text;
        dialog.GetDlgItemText(id, text);
        return text;
    }

    CRecordTestDlg dialog;
};

TEST_F(RecordTestDialogTest, EachAddStoresFiveHundredRecordsADayLater) {
    Click(CRecordTestDlg::IDC_ADD, "ok");
    Click(CRecordTestDlg::IDC_ADD, "ok");
    EXPECT_EQ(dialog.Adds(), 2);
    EXPECT_EQ(g_pRecordStore->GetAllRecordcount(), 1000u);
    EXPECT_EQ(Stored(u"AllRecordcount"), 1000);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select count(*) from Checkinout"), 1000);
    StatementPtr first = PrepareBound(*g_pDatabase, u"select Userid, CheckTime from Checkinout where rowid=1");
    ASSERT_TRUE(first->NextRow());
    EXPECT_EQ(CString(first->ValueString(0)), u"0");
    EXPECT_EQ(CString(first->ValueString(1)), u"2009-06-02 01:01:02");
    StatementPtr last = PrepareBound(*g_pDatabase, u"select Userid, CheckTime from Checkinout where rowid=1000");
    ASSERT_TRUE(last->NextRow());
    EXPECT_EQ(CString(last->ValueString(0)), u"99");
    EXPECT_EQ(CString(last->ValueString(1)), u"2009-06-03 01:09:21");
    const std::vector<CString> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"sdf");
}

TEST_F(RecordTestDialogTest, CounterOperationsKeepMemoryAndTableAlike) {
    Click(CRecordTestDlg::IDC_SET);
    EXPECT_EQ(g_pRecordStore->GetAllRecordcount(), 49960u);
    EXPECT_EQ(g_pRecordStore->GetAllRecordBeginRowid(), 150u);
    Click(CRecordTestDlg::IDC_READ);
    EXPECT_EQ(Field(CRecordTestDlg::IDC_ALL_COUNT), u"ALLCOUNT=49960,49960");
    EXPECT_EQ(Field(CRecordTestDlg::IDC_NEW_COUNT), u"NEWCOUNT=10,10");
    EXPECT_EQ(Field(CRecordTestDlg::IDC_ALL_ROWID), u"ALLROWID=150,150");
    EXPECT_EQ(Field(CRecordTestDlg::IDC_RAW_ROWID).Left(9), u"RAWROWID=");

    Click(CRecordTestDlg::IDC_INIT);
    EXPECT_EQ(g_pRecordStore->GetAllRecordcount(), 0u);
    EXPECT_EQ(Stored(u"AllRecordcount"), 0);
    // An add after the reset starts from the reset counters, not old ones.
    Click(CRecordTestDlg::IDC_ADD, "ok");
    EXPECT_EQ(Stored(u"AllRecordcount"), 500);
    Click(CRecordTestDlg::IDC_DELETE);
    EXPECT_EQ(g_pRecordStore->GetAllRecordcount(), 0u);
    EXPECT_EQ(Stored(u"AllRecordcount"), 0);
}

}  // namespace
