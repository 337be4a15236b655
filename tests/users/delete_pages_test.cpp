// The user delete page with the user's card, and the two pages no menu
// entry opens (the older delete-user page and the department tree), shown
// here on a spare entry of the menu.
#include "data/DataGlobals.h"
#include "data/DeptStorage.h"
#include "data/SqlHelpers.h"
#include "panel/PageRegistry.h"
#include "platform/ui/display.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeDelUser.h"
#include "users/CPTreeDeptManage.h"
#include "users/UserDeleteDlg.h"
#include "users/UserRows.h"

namespace {

constexpr unsigned kDeleteNode = CUserDeleteDlg::kNode;
// An entry of the menu with no page of its own, lent to the pages no entry
// opens.
constexpr unsigned kSpareNode = 143;

class DeletePagesTest : public UsersTest {
protected:
    DeletePagesTest() : UsersTest(7) {}
    ~DeletePagesTest() override { SetControlPanelPage(kSpareNode, nullptr); }

    static CCPTreeBase* PageAt(unsigned node) { return CControlPanel::Open()->PageOf(node); }
    static void SetField(unsigned node, int id, const CString& text) { PageAt(node)->GetDlgItem(id)->SetWindowText(text); }
    static CString Field(unsigned node, int id) {
        CString text;
        PageAt(node)->GetDlgItem(id)->GetWindowText(text);
        return text;
    }
    int Count(const CString& text) const {
        int n = 0;
        for (const CString& message : Messages()) n += message == text ? 1 : 0;
        return n;
    }
    int Users() const { return QueryInt(*g_pDatabase, u"select count(*) from userinfo"); }
    int Departments() const { return QueryInt(*g_pDatabase, u"select count(*) from dept"); }
    static void AddDept(int id, const CString& name, int parent) {
        CString sql;
        sql.Format(u"INSERT INTO Dept VALUES (%d,?,%d,1)", id, parent);
        ASSERT_TRUE(ExecuteBound(*g_pDatabase, sql, {name}));
    }
    static CCPTreeDeptManage* DeptPage() { return static_cast<CCPTreeDeptManage*>(PageAt(kSpareNode)); }
    // The tree's items as "name(id)" in depth-first order.
    static std::vector<CString> TreeItems() {
        std::vector<CString> items;
        const CTreeCtrl& tree = DeptPage()->Tree();
        std::function<void(HTREEITEM)> walk = [&](HTREEITEM item) {
            for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
                CString text;
                text.Format(u"%s(%d)", tree.GetItemText(item).GetString(), DeptPage()->DeptIdOf(item));
                items.push_back(text);
                walk(tree.GetChildItem(item));
            }
        };
        walk(tree.GetRootItem());
        return items;
    }
    static void SelectDept(int deptId) {
        CTreeCtrl& tree = const_cast<CTreeCtrl&>(DeptPage()->Tree());
        std::function<HTREEITEM(HTREEITEM)> find = [&](HTREEITEM item) -> HTREEITEM {
            for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
                if (DeptPage()->DeptIdOf(item) == deptId) return item;
                if (HTREEITEM found = find(tree.GetChildItem(item))) return found;
            }
            return nullptr;
        };
        tree.SelectItem(find(tree.GetRootItem()));
        tree.SetFocus();
    }
};

TEST_F(DeletePagesTest, TheDeletePageShowsTheCardAndDeletesTheUserAfterYes) {
    AddUser(u"5", u"", 1);
    AddUser(u"6", u"", 0);
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO FPinfo VALUES (1,'5',zeroblob(338))"));
    const BYTE templ[StoredTemplateSize] = {3};
    ASSERT_EQ(store.Add(templ, u"5", 1, FALSE, StoredTemplateSize), 1);
    ::testing::AssertionResult card = ::testing::AssertionFailure();
    // Put in whole, the caret before it, as the page's picture shows it.
    std::vector<std::string> lines{Probe([] { SetField(kDeleteNode, 1031, u"5"); }), "key ENTER"};
    Append(lines, {"golden users_delete_card", Probe([&] { card = golden; }), "key ESC", "golden users_delete_page"});
    Append(lines, {"answer yes", "key F3"});
    RunAt(kDeleteNode, lines);
    EXPECT_TRUE(card);
    EXPECT_TRUE(golden);
    EXPECT_FALSE(UserRowExists(*g_pDatabase, u"5"));
    EXPECT_EQ(FingerRows(u"5"), 0);
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(Users(), 1);
}

// F3 on the card closes it and goes on to the page: a quick press asks
// about the user shown, held or not.
TEST_F(DeletePagesTest, F3OnTheCardAsksAboutTheUserShownAndDeletesHimAfterYes) {
    AddUser(u"5", u"", 0);
    AddUser(u"6", u"", 0);
    std::vector<std::string> lines = TypeAndEnter("6");
    Append(lines, {"answer no", "keydown F3", "keyup F3"});
    Append(lines, TypeAndEnter("5"));
    Append(lines, {"answer yes", "key F3"});
    RunAt(kDeleteNode, lines);
    CString question;
    question.Format(LangText(u"CCPTreeSearchUser", u"SU0008"), u"6");
    EXPECT_EQ(Count(question), 1);
    EXPECT_FALSE(UserRowExists(*g_pDatabase, u"5"));
    EXPECT_TRUE(UserRowExists(*g_pDatabase, u"6"));
}

// The ID label is on the screen on every entry, the first and one made
// after leaving to the menu and another page: dark text pixels where the
// label stands.
TEST_F(DeletePagesTest, TheIdLabelShowsOnEveryEntry) {
    std::vector<int> dark;
    const auto lookAtLabel = [&] {
        const Surface& screen = ScreenSurface();
        RECT label;
        PageAt(kDeleteNode)->GetDlgItem(1033)->GetWindowRect(&label);
        int count = 0;
        for (int y = label.top; y < label.bottom; ++y)
            for (int x = label.left; x < label.right; ++x) count += GetRValue(ColorRefFromPixel(screen.At(x, y))) < 100;
        dark.push_back(count);
    };
    RunAt(kDeleteNode, {Probe(lookAtLabel), "key ESC", "goto 121", "key ESC", "goto 123", Probe(lookAtLabel)});
    ASSERT_EQ(dark.size(), 2u);
    EXPECT_GT(dark[0], 10) << "as first entered";
    EXPECT_GT(dark[1], 10) << "entered again";
}

// Each entry puts the focus in the ID edit: digits typed at once land
// there, also when the page is entered again from the menu.
TEST_F(DeletePagesTest, DigitsTypedOnEveryEntryGoIntoTheIdEdit) {
    std::vector<CString> typed;
    const auto lookAtId = [&] { typed.push_back(Field(kDeleteNode, 1031)); };
    RunAt(kDeleteNode, {"key 1", "key 2", Probe(lookAtId), "key ESC", "goto 123", "key 3", "key 4", Probe(lookAtId)});
    EXPECT_EQ(typed, (std::vector<CString>{u"12", u"34"}));
}

TEST_F(DeletePagesTest, AnIdThatNamesNoUserOrTriesToWidenTheStatementDeletesNothingElse) {
    AddUser(u"1", u"", 0);
    AddUser(u"2", u"", 0);
    std::vector<std::string> lines;
    for (const CString& typed : {CString(u"1' or '1'='1"), CString(u"7"), CString(u"'; delete from userinfo; --")}) {
        lines.push_back(Probe([typed] { SetField(kDeleteNode, 1031, typed); }));
        Append(lines, {"answer no", "key F3"});
    }
    // An empty field asks nothing.
    Append(lines, {Probe([] { SetField(kDeleteNode, 1031, u""); }), "key F3"});
    RunAt(kDeleteNode, lines);
    EXPECT_EQ(Users(), 2);
    CString question;
    question.Format(LangText(u"CCPTreeSearchUser", u"SU0008"), u"1");
    EXPECT_EQ(Count(question), 0) << "the typed text is the ID as it stands, not the number it starts with";
    EXPECT_EQ(Count(LangText(u"CCPTreeEditUser", u"E0007")), 3);
}

// The ID is looked up as typed: leading zeros or letters name no user.
TEST_F(DeletePagesTest, TheTypedIdIsLookedUpAsItStands) {
    AddUser(u"7", u"", 0);
    std::vector<CString> after;
    std::vector<std::string> lines{"answer ok"};
    Append(lines, TypeAndEnter("0007"));
    lines.push_back(Probe([&] {
        after.push_back(Field(kDeleteNode, 1031));
        SetField(kDeleteNode, 1031, u"abc");
    }));
    Append(lines, {"answer ok", "key ENTER", Probe([&] { after.push_back(Field(kDeleteNode, 1031)); })});
    RunAt(kDeleteNode, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeEditUser", u"E0007")), 2);
    EXPECT_EQ(after, (std::vector<CString>{u"", u""})) << "each emptied after the card's message";
    EXPECT_TRUE(UserRowExists(*g_pDatabase, u"7"));
}

TEST_F(DeletePagesTest, AnUnknownIdOnEnterSaysSoAndEmptiesTheField) {
    AddUser(u"1", u"", 0);
    CString after = u"x";
    std::vector<std::string> lines{"answer ok"};
    Append(lines, TypeAndEnter("9"));
    lines.push_back(Probe([&] { after = Field(kDeleteNode, 1031); }));
    RunAt(kDeleteNode, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeEditUser", u"E0007")), 1);
    EXPECT_EQ(after, u"");
}

TEST_F(DeletePagesTest, TheOlderDeletePageLooksTheNameUpAndDeletesNothing) {
    RegisterControlPanelPage<CCPTreeDelUser>(kSpareNode);
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Userinfo VALUES ('5','','Ann','0','',1,6,'',0,'',0,0)"));
    CString name;
    RunAt(kSpareNode, {Probe([] {
                           SetField(kSpareNode, 1031, u"5");
                           PageAt(kSpareNode)->GetDlgItem(1031)->SetFocus();
                       }),
                       "key ENTER",
                       Probe([&] { name = Field(kSpareNode, 1032); }),
                       Probe([] { SetField(kSpareNode, 1031, u"5' or '1'='1"); }), "answer ok", "key ENTER",
                       Probe([] { PageAt(kSpareNode)->SendMessage(WM_COMMAND, 1047); })});
    EXPECT_EQ(name, u"Ann");
    EXPECT_EQ(Count(LangText(u"CCPTreeDelUser", u"D0004")), 1) << "the quoted text is no ID";
    EXPECT_EQ(Users(), 1);
}

// The page sets no length of its own: a department name of thirty
// characters, longer than the column's declared 24, is stored whole.
TEST_F(DeletePagesTest, ALongTypedDepartmentNameIsStoredWhole) {
    RegisterControlPanelPage<CCPTreeDeptManage>(kSpareNode);
    std::vector<std::string> lines{Probe([] { SelectDept(1); }), "key F1"};
    Append(lines, std::vector<std::string>(30, "key 5"));
    Append(lines, {"key F4"});
    RunAt(kSpareNode, lines);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select max(length(DeptName)) from dept"), 30);
    EXPECT_EQ(Departments(), 2);
}

TEST_F(DeletePagesTest, DepartmentsAreAddedUnderTheSelectedOneRenamedAndDeletedByTheTreesRules) {
    RegisterControlPanelPage<CCPTreeDeptManage>(kSpareNode);
    AddDept(5, u"Sales", 1);
    AddDept(8, u"North", 5);
    std::vector<CString> built, afterAdd;
    int newParent = -1;
    std::vector<std::string> lines{Probe([&] { built = TreeItems(); }), Probe([] { SelectDept(8); }), "key F1",
                                   Probe([] { SetField(kSpareNode, 1073, u"O'Brien team"); }), "key F4",
                                   Probe([&] {
                                       afterAdd = TreeItems();
                                       newParent = QueryInt(*g_pDatabase, u"select SupDeptid from dept where Deptid = 9");
                                   })};
    // Renaming: the head office refuses, another department takes the name.
    Append(lines, {Probe([] { SelectDept(1); }), "key F2", Probe([] { SetField(kSpareNode, 1073, u"HQ"); }),
                   "answer ok", "key F4", "key F5"});
    Append(lines, {Probe([] { SelectDept(5); }), "key F2", Probe([] { SetField(kSpareNode, 1073, u"Sales %_"); }),
                   "key F4"});
    // Deleting: one with sub-departments and the head office are refused;
    // No keeps it; Yes deletes it.
    Append(lines, {Probe([] { SelectDept(5); }), "answer ok", "key F3", Probe([] { SelectDept(1); }), "answer ok",
                   "key F3", Probe([] { SelectDept(9); }), "answer no", "key F3", "answer yes", "key F3"});
    RunAt(kSpareNode, lines);
    EXPECT_EQ(built, (std::vector<CString>{u"Head Office(1)", u"Sales(5)", u"North(8)"}));
    ASSERT_EQ(afterAdd.size(), 4u);
    EXPECT_EQ(afterAdd.back(), u"O'Brien team(9)") << "one above the largest Deptid, under the selected one";
    EXPECT_EQ(newParent, 8);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select count(*) from dept where DeptName = 'Sales %_'"), 1);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select count(*) from dept where DeptName = 'HQ'"), 0);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0013")), 1);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0010")), 2);
    EXPECT_EQ(Departments(), 3) << "the new one was deleted after Yes";
}

// F5 cancels an add from the name field and a rename from the tree: the
// name is gone, Save does nothing, and leaving says nothing failed.
TEST_F(DeletePagesTest, F5CancelsAnAddOrARenameBegun) {
    RegisterControlPanelPage<CCPTreeDeptManage>(kSpareNode);
    AddDept(5, u"Sales", 1);
    constexpr int kSave = 1077;
    // The name field and whether Save is enabled.
    std::vector<std::pair<CString, bool>> afterCancel;
    const auto note = [&] {
        return Probe([&] { afterCancel.emplace_back(Field(kSpareNode, 1073), DeptPage()->GetDlgItem(kSave)->IsWindowEnabled()); });
    };
    std::vector<std::string> lines{Probe([] { SelectDept(1); }), "key F1", "key 7", "key 7", "key F5", note(), "key F4"};
    Append(lines, {Probe([] { SelectDept(5); }), "key F2", "key 8", Probe([] { SelectDept(5); }), "key F5", note(),
                   "key F4"});
    std::vector<CString> tree;
    lines.push_back(Probe([&] { tree = TreeItems(); }));
    RunAt(kSpareNode, lines);
    EXPECT_EQ(afterCancel, (std::vector<std::pair<CString, bool>>{{u"", false}, {u"", false}}));
    EXPECT_EQ(tree, (std::vector<CString>{u"Head Office(1)", u"Sales(5)"}));
    EXPECT_EQ(Departments(), 2);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select count(*) from dept where DeptName = 'Sales'"), 1);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0011")), 0);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0012")), 0);
}

TEST_F(DeletePagesTest, AddNeedsAParentAndRoomAndLeavingMidwaySaysTheAddFailed) {
    RegisterControlPanelPage<CCPTreeDeptManage>(kSpareNode);
    for (int id = 2; id <= DeptLimit; ++id) AddDept(id, u"D", 1);
    std::vector<std::string> lines{Probe([] { SelectDept(1); }), "answer ok", "key F1"};
    RunAt(kSpareNode, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0016")), 1) << "a hundred departments is the most";
    EXPECT_EQ(Departments(), DeptLimit);

    ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM dept WHERE Deptid > 1"));
    lines = {Probe([] { const_cast<CTreeCtrl&>(DeptPage()->Tree()).SelectItem(nullptr); }), "answer ok", "key F1",
             Probe([] { SelectDept(1); }), "key F1", "answer ok"};
    RunAt(kSpareNode, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0015")), 1);
    EXPECT_EQ(Count(LangText(u"CCPTreeDeptManage", u"M0011")), 1) << "left with an add begun";
    EXPECT_EQ(Departments(), 1);
}

}  // namespace
