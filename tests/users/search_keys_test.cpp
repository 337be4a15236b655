// The search list's bounds: where Find leaves the focus on either side of
// nine users, one page for six matches and two for seven, and the text
// that says there is no earlier page.
#include "data/DataGlobals.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeSearchUser.h"

namespace {

constexpr unsigned kNode = CCPTreeSearchUser::kNode;
constexpr int kIdEdit = 1031;
constexpr int kList = 1066;
constexpr int kPageLabel = 1260;
constexpr int kPreviousButton = 1064;
constexpr int kNextButton = 1065;

class SearchKeysTest : public UsersTest {
protected:
    static void StoreUsers(int count) {
        for (int id = 1; id <= count; ++id) {
            CString sql;
            sql.Format(u"INSERT INTO Userinfo VALUES ('%d','','','0','',1,6,'',0,'',0,0)", id);
            ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
        }
        ASSERT_TRUE(g_pDatabase->DirectStatement(u"update BasePara set UserCount = (select count(*) from Userinfo)"));
    }
    static int FocusedId() {
        const HWND focus = ::GetFocus();
        return focus ? ::GetDlgCtrlID(focus) : 0;
    }
    CString Label() const { return PageControlText(kNode, kPageLabel); }
    // Enter on a paging button.
    std::string EnterOn(int button) {
        return Probe([button] { CControlPanel::Open()->PageOf(kNode)->SendMessage(EditEnterMessage(), button); });
    }
    int Count(const char16_t* key) const {
        const CString text = LangText(u"CCPTreeSearchUser", key);
        int n = 0;
        for (const CString& message : Messages()) n += message == text ? 1 : 0;
        return n;
    }
};

TEST_F(SearchKeysTest, FindFocusesTheListOnlyAboveEightUsers) {
    StoreUsers(8);
    int focusAtEight = -1, focusAtNine = -1;
    RunAt(kNode, {"key F1", Probe([&] { focusAtEight = FocusedId(); }),
                  Probe([] { ASSERT_TRUE(g_pDatabase->DirectStatement(
                                 u"INSERT INTO Userinfo VALUES ('9','','','0','',1,6,'',0,'',0,0)")); }),
                  Probe([] { ASSERT_TRUE(g_pDatabase->DirectStatement(u"update BasePara set UserCount = 9")); }),
                  "key F1", Probe([&] { focusAtNine = FocusedId(); })});
    EXPECT_EQ(focusAtEight, kIdEdit);
    EXPECT_EQ(focusAtNine, kList);
}

TEST_F(SearchKeysTest, SixMatchesMakeOnePageAndASeventhASecond) {
    StoreUsers(6);
    CString labelAtSix, labelAtSeven, lastPageAtSeven;
    RunAt(kNode, {"answer ok", "key F1", Probe([&] { labelAtSix = Label(); }), EnterOn(kNextButton),
                  Probe([] { ASSERT_TRUE(g_pDatabase->DirectStatement(
                                 u"INSERT INTO Userinfo VALUES ('7','','','0','',1,6,'',0,'',0,0)")); }),
                  "key F1", Probe([&] { labelAtSeven = Label(); }), "key F5",
                  Probe([&] { lastPageAtSeven = Label(); })});
    EXPECT_EQ(labelAtSix, u"F4|<  1/1 >|F5");
    EXPECT_EQ(Count(u"SU0003"), 1) << "no page after the sixth match";
    EXPECT_EQ(labelAtSeven, u"F4|<  1/2 >|F5");
    EXPECT_EQ(lastPageAtSeven, u"F4|<  2/2 >|F5");
}

TEST_F(SearchKeysTest, NoPageBeforeTheFirstIsSaidWithItsOwnText) {
    StoreUsers(7);
    RunAt(kNode, {"key F1", "answer ok",
                  EnterOn(kPreviousButton)});
    EXPECT_EQ(Count(u"SU0015"), 1);
    EXPECT_EQ(Count(u"SU0003"), 0);
}

}  // namespace
