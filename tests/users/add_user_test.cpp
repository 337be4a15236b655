// The add-user page driven as an administrator drives it: keys, taps and
// cards on the real control panel.
#include <filesystem>
#include <fstream>

#include "core/CardInput.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeAddUser.h"

namespace {

class AddUserTest : public UsersTest {
protected:
    static CCPTreeAddUser* Page() {
        return static_cast<CCPTreeAddUser*>(CControlPanel::Open()->PageOf(CCPTreeAddUser::kNode));
    }
    CString Text(const char16_t* key) const { return LangText(u"CCPTreeAddUser", key); }
    bool Shown(const CString& text) const {
        for (const CString& message : Messages())
            if (message == text) return true;
        return false;
    }
};

// The verify-mode view shows whole the moment it opens, its mode switch
// included, and the form shows whole again when it closes.
TEST_F(AddUserTest, TheVerifyModeViewAndTheFormShowWholeWhenTheyOpen) {
    std::vector<int> stale;
    const auto look = [&] { stale.push_back(StalePixels(CCPTreeAddUser::kNode)); };
    std::vector<std::string> lines = TypeAndEnter("31");
    Append(lines, {"tapon 121 1325", Probe(look), "key ESC", Probe(look)});
    RunAt(121, lines);
    EXPECT_EQ(stale, (std::vector<int>{0, 0}));
}

TEST_F(AddUserTest, AUserWithEveryFieldIsInsertedAtEnterAndSavedWithTheMenuKey) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,0)"));
    CString heldAfterEnter;
    std::vector<std::string> lines = TypeAndEnter("007");
    lines.push_back(Probe([&] {
        heldAfterEnter = Page()->HeldUserId();
        EXPECT_EQ(PageControlText(121, IDC_USER_ID), u"7") << "leading zeros go";
        UserInfoRecord inserted;
        EXPECT_TRUE(ReadUser(u"7", inserted)) << "the row exists before any other field is filled";
    }));
    Append(lines, Type("4242"));  // the name field has the focus
    Append(lines, {"key ENTER"});
    Append(lines, Type("1234"));  // password
    Append(lines, {"card 1A2B", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT", "key RIGHT"});
    // Enroll FP, Picture, Mode; the verify-mode view: individual, 3, 1, 1.
    Append(lines, {"key DOWN", "key DOWN", "key DOWN", "key ENTER", "key RIGHT", "key DOWN", "key RIGHT", "key RIGHT",
                   "key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT", "key ESC", "answer ok", "key MENU"});
    lines.push_back(Probe([&] {
        EXPECT_EQ(PageControlText(121, IDC_USER_ID), u"") << "save and next empties the form";
        EXPECT_EQ(Page()->HeldUserId(), u"");
    }));
    RunAt(121, lines);

    EXPECT_EQ(heldAfterEnter, u"7");
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"7", user));
    EXPECT_EQ(user.Name, u"4242");
    EXPECT_EQ(user.pwd, u"1234");
    EXPECT_EQ(user.CardNo, u"6699");
    EXPECT_EQ(user.Deptid, 2);
    EXPECT_EQ(user.AdminFlag, 1);
    EXPECT_EQ(user.GroupNO, 2);
    EXPECT_EQ(user.ACFlag, 201);
    EXPECT_EQ(user.sex, LangText(u"CCPTreeAddUser", u"U0007")) << "the sex column holds item 0's text";
    EXPECT_EQ(user.FPFlag, 0);
    EXPECT_TRUE(Shown(Text(u"U0043")));
}

// The group box runs from 0 to 16: Left from its first item gives the
// last group.
TEST_F(AddUserTest, LeftFromGroupZeroGivesGroupSixteen) {
    std::vector<std::string> lines = TypeAndEnter("8");
    Append(lines, Type("42"));
    Append(lines, {"key ENTER", "key DOWN", "key DOWN", "key DOWN", "key LEFT", "answer ok", "key MENU"});
    RunAt(121, lines);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"8", user));
    EXPECT_EQ(user.GroupNO, 16);
}

// Menu saves from every field of the form view and of the verify-mode
// view, wherever the arrows put the focus.
TEST_F(AddUserTest, TheMenuKeySavesFromEveryField) {
    std::vector<std::string> lines;
    std::vector<int> focused;
    constexpr int kFormFields = 9;
    constexpr int kViewFields = 4;
    for (int field = 0; field < kFormFields + kViewFields; ++field) {
        Append(lines, TypeAndEnter(std::to_string(field + 1)));
        if (field < kFormFields) {
            // From the name field, on down.
            for (int step = 0; step < field; ++step) lines.push_back("key DOWN");
        } else {
            // The individual setting enables the rows below the switch.
            Append(lines, {"tapon 121 1325", "key RIGHT"});
            for (int step = kFormFields; step < field; ++step) lines.push_back("key DOWN");
        }
        lines.push_back(Probe([&] {
            focused.push_back(::GetDlgCtrlID(::GetFocus()));
            PageControl(121, IDC_USER_NAME)->SetWindowText(CString(u"New"));
        }));
        Append(lines, {"answer ok", "key MENU"});
        if (field >= kFormFields) Append(lines, {"key ESC", "tapon 121 1031"});
    }
    RunAt(121, lines);
    // The rows of the view too: a switch reset by the last save announces
    // its next step to individual, which enables them.
    EXPECT_EQ(focused, (std::vector<int>{IDC_USER_NAME, IDC_USER_PASSWORD, IDC_USER_DEPT, IDC_USER_ADMIN, IDC_USER_GROUP,
                                         IDC_USER_ENROLL, IDC_USER_PICTURE, IDC_USER_MODE, IDC_USER_ID,
                                         IDC_USER_MODE_SWITCH, IDC_USER_FP_STEP, IDC_USER_CARD_STEP, IDC_USER_PIN_STEP}));
    for (int field = 0; field < kFormFields + kViewFields; ++field) {
        UserInfoRecord user;
        ASSERT_TRUE(ReadUser(CString(std::to_string(field + 1).c_str()), user));
        EXPECT_EQ(user.Name, u"New") << "from control " << focused[field];
    }
}

TEST_F(AddUserTest, AnotherIdWhileAUserIsOpenSavesThatUserAndStartsTheNext) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,0)"));
    CString nameField = u"unread";
    int department = -1, stale = -1;
    std::vector<std::string> lines = TypeAndEnter("20");
    Append(lines, Type("11"));
    // Department Sales, then back up to the ID.
    Append(lines, {"key DOWN", "key DOWN", "key RIGHT", "key UP", "key UP", "key UP",
                   Probe([&] { PageControl(121, IDC_USER_ID)->SetWindowText(u""); })});
    Append(lines, TypeAndEnter("21"));
    lines.push_back(Probe([&] {
        nameField = PageControlText(121, IDC_USER_NAME);
        department = static_cast<CJHSelectBox*>(PageControl(121, IDC_USER_DEPT))->GetCurSelValue();
        stale = StalePixels(CCPTreeAddUser::kNode);
        EXPECT_EQ(Page()->HeldUserId(), u"21");
    }));
    RunAt(121, lines);
    EXPECT_EQ(nameField, u"") << "the new user starts with an empty form";
    EXPECT_EQ(department, 1) << "and the first department";
    EXPECT_EQ(stale, 0) << "the department box still showed the user saved before";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"20", user));
    EXPECT_EQ(user.Name, u"11");
    EXPECT_EQ(user.Deptid, 2);
    ASSERT_TRUE(ReadUser(u"21", user));
    EXPECT_EQ(user.Name, u"");
}

TEST_F(AddUserTest, RefusedIdsSayWhyAndInsertNothing) {
    AddUser(u"5", u"", 0);
    std::vector<std::string> lines = {"answer ok"};
    Append(lines, TypeAndEnter("5"));
    // No digits: nothing to take.
    Append(lines, {Probe([&] { PageControl(121, IDC_USER_ID)->SetWindowText(u"abc"); }), "answer ok", "key ENTER",
                   "answer ok"});
    Append(lines, Type("1234567890123"));
    lines.push_back(Probe([&] { EXPECT_EQ(PageControlText(121, IDC_USER_ID), u"123456789012"); }));
    Append(lines, {"key ENTER"});
    RunAt(121, lines);

    EXPECT_TRUE(Shown(Text(u"U0023"))) << "an existing ID";
    EXPECT_TRUE(Shown(Text(u"U0001"))) << "an ID without digits";
    EXPECT_TRUE(Shown(Text(u"U0037"))) << "a 13th digit";
    UserInfoRecord user;
    EXPECT_TRUE(ReadUser(u"123456789012", user)) << "twelve digits are accepted";
    EXPECT_EQ(users->GetCount(), 2);
}

TEST_F(AddUserTest, APageWhoseIdWasRefusedCanStillBeLeftAndGivesTheCardReaderBack) {
    AddUser(u"5", u"", 0);
    SetCardTarget(&main);
    bool stillOpen = true;
    std::vector<std::string> lines = {"card 99", "answer ok"};
    Append(lines, TypeAndEnter("5"));
    Append(lines, {"key ESC", Probe([&] { stillOpen = CControlPanel::Open()->ShownPage() != nullptr; })});
    RunAt(121, lines);
    EXPECT_FALSE(stillOpen) << "the locked page was left";
    EXPECT_EQ(GetCardTarget(), main.GetSafeHwnd());
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.CardNo, u"") << "the refused ID's user is not written";
}

TEST_F(AddUserTest, ACardOfAnotherUserIsRefusedAndTheHeldCardStays) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Userinfo VALUES ('5','4660','','0','',0,6,'',0,'',0,0)"));
    CString shownWhileRefused, shownAfter;
    std::vector<std::string> lines = TypeAndEnter("8");
    Append(lines, {"card FF", "card 1234", Probe([&] { shownWhileRefused = PageControlText(121, IDC_USER_CARD); }),
                   "wait 1100", Probe([&] { shownAfter = PageControlText(121, IDC_USER_CARD); }), "answer ok",
                   "key MENU"});
    RunAt(121, lines);
    EXPECT_EQ(shownWhileRefused, Text(u"U0022"));
    EXPECT_EQ(shownAfter, u"255");
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"8", user));
    EXPECT_EQ(user.CardNo, u"255");
}

TEST_F(AddUserTest, PictureAndEnrollDoNothingWithoutAnInsertedUser) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Userinfo VALUES ('5','','Kept','0','77',0,6,'',1,'',3,0)"));
    unsigned shownNode = 0;
    std::vector<std::string> lines = {"answer ok"};
    Append(lines, TypeAndEnter("5"));
    Append(lines, {"tapon 121 1324", "tapon 121 1323", Probe([&] {
                       shownNode = CControlPanel::Open()->SelectedNode();
                   })});
    RunAt(121, lines);
    EXPECT_EQ(shownNode, 121u) << "no jump to the enrolment page";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.Name, u"Kept");
    EXPECT_EQ(user.pwd, u"77");
    EXPECT_EQ(user.AdminFlag, 1);
    EXPECT_EQ(user.GroupNO, 3);
}

TEST_F(AddUserTest, FailedInsertsAndUpdatesAreReportedAndTheFormStays) {
    std::vector<std::string> lines = {Probe([] {
                                          ASSERT_TRUE(g_pDatabase->DirectStatement(
                                              u"CREATE TRIGGER refuse_insert BEFORE INSERT ON Userinfo BEGIN SELECT "
                                              u"RAISE(ABORT, 'full disk'); END"));
                                      }),
                                      "answer ok"};
    Append(lines, TypeAndEnter("6"));
    lines.push_back(Probe([&] {
        EXPECT_EQ(Page()->HeldUserId(), u"") << "nothing was inserted";
        ASSERT_TRUE(g_pDatabase->DirectStatement(u"DROP TRIGGER refuse_insert"));
    }));
    Append(lines, TypeAndEnter("6"));
    Append(lines, Type("55"));
    lines.push_back(Probe([] {
        ASSERT_TRUE(g_pDatabase->DirectStatement(
            u"CREATE TRIGGER refuse_update BEFORE UPDATE ON Userinfo BEGIN SELECT RAISE(ABORT, 'full disk'); END"));
    }));
    bool stayed = false;
    // One box for each refusal: the page's, with the database's cause.
    Append(lines, {"answer ok", "key ESC", Probe([&] {
                       stayed = CControlPanel::Open()->ShownPage() == Page();
                       ASSERT_TRUE(g_pDatabase->DirectStatement(u"DROP TRIGGER refuse_update"));
                   })});
    RunAt(121, lines);
    EXPECT_EQ(Messages(), std::vector<CString>(2, DatabaseWriteFailedText(DatabaseFailure::Other)))
        << "the refused insert and the refused update, each told once";
    EXPECT_TRUE(stayed) << "an unsaved form is not left";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"6", user));
    EXPECT_EQ(user.Name, u"55") << "the ESC after the refusal saved";
}

TEST_F(AddUserTest, TypedTextsAreStoredAsTheyStandWithoutReachingTheStatement) {
    std::vector<std::string> lines = TypeAndEnter("9");
    lines.push_back(Probe([&] {
        PageControl(121, IDC_USER_NAME)->SetWindowText(u"O'Neil");
        PageControl(121, IDC_USER_PASSWORD)->SetWindowText(u"x');--");
    }));
    Append(lines, {"answer ok", "key MENU"});
    RunAt(121, lines);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"9", user));
    EXPECT_EQ(user.Name, u"O'Neil");
    EXPECT_EQ(user.pwd, u"x');--");
}

TEST_F(AddUserTest, ANewUserDoesNotInheritADeletedUsersPhotoAndTakesItsOwn) {
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/ICON"));
    std::ofstream(PhotoFile("9")) << "an old face";
    std::ofstream(root.HostPath("NandFlash/zeta42/ICON/9.png")) << "another old face";
    bool staleGone = false;
    std::vector<std::string> lines = TypeAndEnter("9");
    Append(lines, {Probe([&] {
                       staleGone = !std::filesystem::exists(PhotoFile("9")) &&
                                   !std::filesystem::exists(root.HostPath("NandFlash/zeta42/ICON/9.png"));
                   }),
                   "tapon 121 1324", "wait 500", "tapon 121 1324", "wait 100"});
    RunAt(121, lines);
    EXPECT_TRUE(staleGone);
    EXPECT_TRUE(std::filesystem::exists(PhotoFile("9"))) << "the snapshot is the new user's photo";
    EXPECT_GT(std::filesystem::file_size(PhotoFile("9")), 100u);
}

TEST_F(AddUserTest, EnteringFromTheMenuTwiceListsEveryDepartmentOnce) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,0)"));
    const int departments = QueryInt(*g_pDatabase, u"select count(*) from dept");
    int steps = 0;
    std::vector<std::string> lines = {"key ESC", "goto 121", "key 1", "key ENTER", "key DOWN", "key DOWN"};
    // Stepping right through the box comes back to the first item after
    // as many steps as there are departments.
    lines.push_back(Probe([&] {
        auto* box = static_cast<CJHSelectBox*>(PageControl(121, IDC_USER_DEPT));
        const int first = box->GetCurSelValue();
        do {
            box->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
            box->SendMessage(WM_KEYUP, VK_RIGHT, 0);
            ++steps;
        } while (box->GetCurSelValue() != first && steps < 50);
    }));
    RunAt(121, lines);
    EXPECT_EQ(steps, departments);
}

}  // namespace

namespace {

class AddUserGoldenTest : public AddUserTest {};

TEST_F(AddUserGoldenTest, TheFormAsEntered) {
    RunAt(121, {"golden users_add_user_entered"});
    EXPECT_TRUE(golden);
}

TEST_F(AddUserGoldenTest, TheFormFilledInAndTheVerifyModeView) {
    ::testing::AssertionResult form = ::testing::AssertionFailure();
    std::vector<std::string> lines = TypeAndEnter("31");
    Append(lines, Type("2020"));
    Append(lines, {"key ENTER"});
    Append(lines, Type("99"));
    Append(lines, {"card 4D2", "key DOWN", "key DOWN", "key RIGHT", "golden users_add_user_filled",
                   Probe([&] { form = golden; }), "tapon 121 1325", "key RIGHT", "key DOWN", "key RIGHT",
                   "golden users_add_user_verify_mode"});
    RunAt(121, lines);
    EXPECT_TRUE(form);
    EXPECT_TRUE(golden);
}

}  // namespace
