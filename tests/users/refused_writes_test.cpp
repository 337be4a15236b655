// Deletes the database refuses, on both pages that delete users: each one
// is told, in one box that says why, and the user stays where he was.
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "tests/maintenance/FullFlash.h"
#include "tests/support/database_held.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeSearchUser.h"
#include "users/UserDeleteDlg.h"
#include "users/UserRows.h"

namespace {

constexpr int kDeleteIdEdit = 1031;

class RefusedWritesTest : public UsersTest {
protected:
    RefusedWritesTest() : UsersTest(7) {}
    std::string DatabaseFile() const { return root.HostPath("NandFlash/zeta42/DB/KD4700.DB"); }
    CString Question(const char16_t* id) const {
        CString question;
        question.Format(LangText(u"CCPTreeSearchUser", u"SU0008"), id);
        return question;
    }
    static CCPTreeSearchUser* SearchPage() {
        return static_cast<CCPTreeSearchUser*>(CControlPanel::Open()->PageOf(CCPTreeSearchUser::kNode));
    }
    int Users() const { return QueryInt(*g_pDatabase, u"select count(*) from userinfo"); }
};

TEST_F(RefusedWritesTest, TwoDeletesOnTheDeletePageUnderAnotherProgramsLockAreEachTold) {
    AddUser(u"5", u"", 0);
    AddUser(u"6", u"", 0);
    const int counted = users->GetCount();
    CString shownId;
    {
        DatabaseHeldByAnotherProgram other(DatabaseFile(), "BEGIN IMMEDIATE");
        RunAt(CUserDeleteDlg::kNode,
              {Probe([] {
                   CControlPanel::Open()->PageOf(CUserDeleteDlg::kNode)->GetDlgItem(kDeleteIdEdit)->SetWindowText(u"5");
               }),
               "answer yes", "key F3", "answer ok", "answer yes", "key F3", "answer ok",
               Probe([&] { shownId = PageControlText(CUserDeleteDlg::kNode, kDeleteIdEdit); })});
    }
    const CString refused = DatabaseWriteFailedText(DatabaseFailure::InUse);
    EXPECT_EQ(Messages(), std::vector<CString>({Question(u"5"), refused, Question(u"5"), refused}));
    EXPECT_EQ(shownId, u"5") << "a refused delete keeps the ID, to try again";
    EXPECT_TRUE(UserRowExists(*g_pDatabase, u"5"));
    EXPECT_EQ(Users(), 2);
    EXPECT_EQ(users->GetCount(), counted);
}

TEST_F(RefusedWritesTest, TwoDeletesInFindUserUnderAnotherProgramsLockAreEachTold) {
    AddUser(u"1", u"", 0);
    AddUser(u"2", u"", 0);
    std::vector<CString> listed;
    {
        DatabaseHeldByAnotherProgram other(DatabaseFile(), "BEGIN IMMEDIATE");
        RunAt(CCPTreeSearchUser::kNode,
              {"key F1", Probe([] { const_cast<CSkinListCtrl&>(SearchPage()->List()).SetFocus(); }), "key DOWN",
               "answer yes", "key F3", "answer ok", "answer yes", "key F3", "answer ok", Probe([&] {
                   const CSkinListCtrl& list = SearchPage()->List();
                   for (int row = 0; row < list.GetItemCount(); ++row) listed.push_back(list.GetItemText(row, 0));
               })});
    }
    const CString refused = DatabaseWriteFailedText(DatabaseFailure::InUse);
    EXPECT_EQ(Messages(), std::vector<CString>({Question(u"2"), refused, Question(u"2"), refused}));
    EXPECT_EQ(listed, std::vector<CString>({u"1", u"2"})) << "the list still shows the user";
    EXPECT_EQ(Users(), 2);
}

// SQLite ends the transaction itself when the flash is full: the delete
// says so once, with no second box for a rollback of nothing.
TEST_F(RefusedWritesTest, ADeleteOnAFullFlashIsToldInOneBox) {
    AddUser(u"5", u"", 0);
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO FPinfo VALUES (1,'5',zeroblob(338))"));
    FullFlash flash(root.Host());
    FullFlash::LeaveFree(0);
    RunAt(CUserDeleteDlg::kNode,
          {Probe([] {
               CControlPanel::Open()->PageOf(CUserDeleteDlg::kNode)->GetDlgItem(kDeleteIdEdit)->SetWindowText(u"5");
           }),
           "answer yes", "key F3", "answer ok"});
    EXPECT_TRUE(FullFlash::Refused());
    EXPECT_EQ(Messages(), std::vector<CString>({Question(u"5"), DatabaseWriteFailedText(DatabaseFailure::Full)}));
    EXPECT_TRUE(UserRowExists(*g_pDatabase, u"5"));
    EXPECT_EQ(FingerRows(u"5"), 1);
}

}  // namespace
