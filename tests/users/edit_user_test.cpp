// The edit-user page: loading a stored user, changing and keeping fields,
// its card, photo and fingerprint count, and the pages it is reached from.
#include <filesystem>

#include "core/CardInput.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "tests/users/users_fixture.h"
#include "users/CPTreeEditUser.h"
#include "users/CPTreeRegFP.h"

namespace {

class EditUserTest : public UsersTest {
protected:
    static CCPTreeEditUser* Page() {
        return static_cast<CCPTreeEditUser*>(CControlPanel::Open()->PageOf(CCPTreeEditUser::kNode));
    }
    static CJHSelectBox* Box(int id) { return static_cast<CJHSelectBox*>(Page()->GetDlgItem(id)); }
    void StoreUser(const char16_t* values) {
        CString sql;
        sql.Format(u"INSERT INTO Userinfo VALUES (%s)", values);
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
    }
    int Count(const CString& text) const {
        int n = 0;
        for (const CString& message : Messages()) n += message == text ? 1 : 0;
        return n;
    }
    // User 5 viewed and saved untouched; a digit added at the end of user
    // 6's field, `downs` arrows below the name, before he is saved. Gives
    // what the field showed for user 5.
    CString ViewOneUserAndLengthenTheOthers(int controlId, int downs) {
        CString shown;
        std::vector<std::string> lines = TypeAndEnter("5");
        lines.push_back(Probe([&] { shown = PageControlText(122, controlId); }));
        Append(lines, {"answer ok", "key MENU"});
        Append(lines, TypeAndEnter("6"));
        for (int step = 0; step < downs; ++step) lines.push_back("key DOWN");
        Append(lines, {"key RIGHT", "answer ok", "key 9", "answer ok", "key MENU"});
        RunAt(122, lines);
        return shown;
    }
};

// The verify-mode view of a loaded user shows whole the moment it opens.
TEST_F(EditUserTest, TheVerifyModeViewShowsWholeWhenItOpens) {
    StoreUser(u"'6','','','0','',1,6,'',0,'',0,0");
    int stale = -1;
    std::vector<std::string> lines = TypeAndEnter("6");
    Append(lines, {"tapon 122 1325", Probe([&] { stale = StalePixels(CCPTreeEditUser::kNode); }), "key ESC"});
    RunAt(122, lines);
    EXPECT_EQ(stale, 0);
}

TEST_F(EditUserTest, ALoadedUserIsShownAndWhatWasNotChangedIsWrittenBackAsStored) {
    StoreUser(u"'5','4660','Ann','男','12',99,201,'x.jpg',1,'1990-01-01',3,5");
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO FPinfo VALUES (0,'5',zeroblob(338))"));
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO FPinfo VALUES (2,'5',zeroblob(338))"));
    std::vector<std::string> lines = TypeAndEnter("005");
    lines.push_back(Probe([&] {
        EXPECT_EQ(PageControlText(122, IDC_USER_NAME), u"Ann");
        EXPECT_EQ(PageControlText(122, IDC_USER_CARD), u"4660");
        EXPECT_EQ(PageControlText(122, IDC_USER_PASSWORD), u"12");
        EXPECT_EQ(PageControlText(122, IDC_USER_FP_COUNT), u"2");
        EXPECT_EQ(Box(IDC_USER_ADMIN)->GetCurSelValue(), 1);
        EXPECT_EQ(Box(IDC_USER_GROUP)->GetCurSelValue(), 3);
        EXPECT_EQ(Box(IDC_USER_MODE_SWITCH)->GetCurSelValue(), 1) << "201 is an individual setting";
        EXPECT_EQ(Box(IDC_USER_FP_STEP)->GetCurSelValue(), 3);
        EXPECT_EQ(Box(IDC_USER_CARD_STEP)->GetCurSelValue(), 1);
        EXPECT_EQ(Box(IDC_USER_PIN_STEP)->GetCurSelValue(), 1);
        PageControl(122, IDC_USER_NAME)->SetWindowText(u"Bob");
    }));
    Append(lines, {"answer ok", "key MENU"});
    RunAt(122, lines);

    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.Name, u"Bob");
    EXPECT_EQ(user.sex, u"男") << "the stored text, not item 0's translation";
    EXPECT_EQ(user.Deptid, 99) << "a department with no item keeps its number";
    EXPECT_EQ(user.ACFlag, 201);
    EXPECT_EQ(user.IconPath, u"x.jpg");
    EXPECT_EQ(user.Birthday, u"1990-01-01");
    EXPECT_EQ(user.FPFlag, 5);
    EXPECT_EQ(user.AdminFlag, 1);
    EXPECT_EQ(user.GroupNO, 3);
    EXPECT_EQ(user.CardNo, u"4660");
    EXPECT_EQ(Count(LangText(u"CCPTreeAddUser", u"U0043")), 1);
}

TEST_F(EditUserTest, TheVerifySwitchFollowsTheWholeCodeAndAChangedModeIsSaved) {
    StoreUser(u"'6','','','0','',1,6,'',0,'',0,0");
    StoreUser(u"'7','','','0','',1,14,'',0,'',0,0");
    int switch6 = -1, switch7 = -1;
    bool stepsEnabled6 = true;
    std::vector<std::string> lines = TypeAndEnter("6");
    lines.push_back(Probe([&] {
        switch6 = Box(IDC_USER_MODE_SWITCH)->GetCurSelValue();
        stepsEnabled6 = Box(IDC_USER_FP_STEP)->IsWindowEnabled();
    }));
    Append(lines, {"key MENU"});
    lines.insert(lines.end() - 1, "answer ok");
    Append(lines, TypeAndEnter("7"));
    lines.push_back(Probe([&] { switch7 = Box(IDC_USER_MODE_SWITCH)->GetCurSelValue(); }));
    // The view: system default chosen for user 7.
    Append(lines, {"tapon 122 1325", "key LEFT", "key ESC", "answer ok", "key MENU"});
    RunAt(122, lines);
    EXPECT_EQ(switch6, 0);
    EXPECT_FALSE(stepsEnabled6);
    EXPECT_EQ(switch7, 1) << "14 reads 6 in its ID field, yet is no system default";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"6", user));
    EXPECT_EQ(user.ACFlag, 6);
    ASSERT_TRUE(ReadUser(u"7", user));
    EXPECT_EQ(user.ACFlag, 6) << "the administrator's change";
}

// Menu saves from every field of the form view, wherever the arrows put
// the focus.
TEST_F(EditUserTest, TheMenuKeySavesFromEveryField) {
    std::vector<std::string> lines;
    std::vector<int> focused;
    constexpr int kFields = 9;
    for (int field = 0; field < kFields; ++field) {
        const std::string id = std::to_string(field + 1);
        CString values;
        values.Format(u"'%d','','Old','0','',1,6,'',0,'',0,0", field + 1);
        StoreUser(values.GetString());
        Append(lines, TypeAndEnter(id));
        // From the name field, on down.
        for (int step = 0; step < field; ++step) lines.push_back("key DOWN");
        lines.push_back(Probe([&] {
            focused.push_back(::GetDlgCtrlID(::GetFocus()));
            PageControl(122, IDC_USER_NAME)->SetWindowText(CString(u"New"));
        }));
        Append(lines, {"answer ok", "key MENU"});
        lines.push_back(Probe([&, field] {
            EXPECT_EQ(Count(LangText(u"CCPTreeAddUser", u"U0043")), field + 1) << "field " << focused.back();
        }));
    }
    RunAt(122, lines);
    EXPECT_EQ(focused, (std::vector<int>{IDC_USER_NAME, IDC_USER_PASSWORD, IDC_USER_DEPT, IDC_USER_ADMIN, IDC_USER_GROUP,
                                         IDC_USER_ENROLL, IDC_USER_PICTURE, IDC_USER_MODE, IDC_USER_ID}));
    for (int field = 0; field < kFields; ++field) {
        UserInfoRecord user;
        ASSERT_TRUE(ReadUser(CString(std::to_string(field + 1).c_str()), user));
        EXPECT_EQ(user.Name, u"New") << "from control " << focused[field];
    }
}

// A stored name or password beyond the page's limit is shown and kept whole
// when the user is only viewed; typing into it cuts it as typing does.
TEST_F(EditUserTest, ALongStoredNameOrPasswordIsKeptUnlessTheAdministratorEditsIt) {
    StoreUser(u"'5','','Maximilianus','0','12345678',1,6,'',0,'',0,0");
    StoreUser(u"'6','','Bartholomew','0','7654321',1,6,'',0,'',0,0");
    EXPECT_EQ(ViewOneUserAndLengthenTheOthers(IDC_USER_NAME, 0), u"Maximilianus");
    EXPECT_EQ(ViewOneUserAndLengthenTheOthers(IDC_USER_PASSWORD, 1), u"12345678");
    EXPECT_EQ(Count(LangText(u"CCPTreeAddUser", u"U0036")), 1) << "only the edited name is refused";
    EXPECT_EQ(Count(LangText(u"CCPTreeAddUser", u"U0038")), 1) << "only the edited password is refused";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.Name, u"Maximilianus");
    EXPECT_EQ(user.pwd, u"12345678");
    ASSERT_TRUE(ReadUser(u"6", user));
    EXPECT_EQ(user.Name, u"Bartholome");
    EXPECT_EQ(user.pwd, u"765432");
}

TEST_F(EditUserTest, TheUsersOwnCardIsNoCardInUseAndARefusedCardKeepsTheHeldOne) {
    StoreUser(u"'5','4660','','0','',1,6,'',0,'',0,0");
    StoreUser(u"'6','255','','0','',1,6,'',0,'',0,0");
    SetCardTarget(&main);
    CString own, refused, after;
    std::vector<std::string> lines = TypeAndEnter("5");
    Append(lines, {"card 1234", Probe([&] { own = PageControlText(122, IDC_USER_CARD); }), "card FF",
                   Probe([&] { refused = PageControlText(122, IDC_USER_CARD); }), "wait 1100",
                   Probe([&] { after = PageControlText(122, IDC_USER_CARD); })});
    RunAt(122, lines);
    EXPECT_EQ(own, u"4660");
    EXPECT_EQ(refused, LangText(u"CCPTreeEditUser", u"E0008"));
    EXPECT_EQ(after, u"4660");
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.CardNo, u"4660");
    EXPECT_EQ(GetCardTarget(), main.GetSafeHwnd()) << "the card reader goes back once the page is left";
}

TEST_F(EditUserTest, AnUnknownIdIsSaidAndEmptiedAndEnteringAndLeavingWritesNothing) {
    StoreUser(u"'5','1','N','0','2',1,6,'',0,'',0,0");
    std::vector<std::string> lines = {"answer ok"};
    Append(lines, TypeAndEnter("8"));
    lines.push_back(Probe([&] {
        EXPECT_EQ(Page()->HeldUserId(), u"");
        EXPECT_EQ(PageControlText(122, IDC_USER_ID), u"") << "the whole form is emptied, the ID too";
    }));
    RunAt(122, lines);
    EXPECT_EQ(Count(LangText(u"CCPTreeEditUser", u"E0007")), 1);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.Name, u"N");
    EXPECT_FALSE(ReadUser(u"8", user));
}

TEST_F(EditUserTest, EnrolmentReturnsToTheLoadedUser) {
    StoreUser(u"'5','','Ann','0','',1,6,'',0,'',0,0");
    CString heldBack, nameBack;
    std::vector<std::string> lines = TypeAndEnter("5");
    Append(lines, {"tapon 122 1323", "key ENTER", "key ENTER", "wait 300", Finger(1401, 1), "wait 300", "lift",
                   "wait 700", Finger(1401, 2), "wait 300", "lift", "answer ok", "key ENTER", Probe([&] {
                       heldBack = Page()->HeldUserId();
                       nameBack = PageControlText(122, IDC_USER_NAME);
                   })});
    RunAt(122, lines);
    EXPECT_EQ(heldBack, u"5");
    EXPECT_EQ(nameBack, u"Ann");
    EXPECT_EQ(FingerRows(u"5"), 1);
}

TEST_F(EditUserTest, ACallerGetsItsPageBackWhenTheUserIsSaved) {
    StoreUser(u"'5','','Ann','0','',1,6,'',0,'',0,0");
    AddTestPage(124);
    CTestPage* caller = nullptr;
    std::vector<std::string> lines = {"goto 124", Probe([&] {
                                          CControlPanel* panel = CControlPanel::Open();
                                          caller = TestPage(*panel, 124);
                                          panel->GotoNode(CCPTreeEditUser::kNode, FALSE);
                                          Page()->OpenForUser(u"5", 124, caller);
                                          PageControl(122, IDC_USER_NAME)->SetWindowText(u"Eve");
                                      }),
                                      "key ESC"};
    unsigned shown = 0;
    int returns = 0;
    lines.push_back(Probe([&] {
        shown = CControlPanel::Open()->SelectedNode();
        returns = caller ? caller->returns : 0;
    }));
    RunAt(122, lines);
    EXPECT_EQ(shown, 124u);
    EXPECT_EQ(returns, 1) << "the caller was handed its user back";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.Name, u"Eve");
}

// The photo taken on the add-user page is the one the edit-user page shows.
TEST_F(EditUserTest, APhotoTakenWhenAddingShowsWhenEditing) {
    std::vector<std::string> lines = Type("9");
    Append(lines, {"key ENTER", "tapon 121 1324", "wait 500", "tapon 121 1324", "wait 100", "key ESC", "goto 122"});
    Append(lines, TypeAndEnter("9"));
    lines.push_back(Probe([&] {
        auto* photo = static_cast<CPhoneShow*>(PageControl(122, IDC_USER_PHOTO));
        EXPECT_EQ(photo->Mode(), int{CPhoneShow::kModeStoredPhoto});
        EXPECT_EQ(photo->UserId(), u"9");
    }));
    Append(lines, {"golden users_edit_user_photo"});
    RunAt(121, lines);
    EXPECT_TRUE(std::filesystem::exists(PhotoFile("9")));
    EXPECT_TRUE(golden);
}

// The last access group, 16, is shown as the user's and kept when saved.
TEST_F(EditUserTest, AUserOfGroupSixteenShowsItAndKeepsIt) {
    StoreUser(u"'5','','Ann','0','',1,6,'',0,'',16,0");
    CString shown;
    int value = -1;
    std::vector<std::string> lines = TypeAndEnter("5");
    lines.push_back(Probe([&] {
        value = Box(IDC_USER_GROUP)->GetCurSelValue();
        shown = Box(IDC_USER_GROUP)->GetCurSelText();
    }));
    Append(lines, {"answer ok", "key MENU"});
    RunAt(122, lines);
    EXPECT_EQ(value, 16);
    EXPECT_EQ(shown, u"16");
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.GroupNO, 16);
}

// A group the list does not name (a peer's file brings any from 0 to 255)
// is shown as its number, can be stepped away from and back to, and is
// kept by a save; the user shown next has the list without it.
TEST_F(EditUserTest, AGroupTheListDoesNotNameIsShownAndKept) {
    StoreUser(u"'5','','Ann','0','',1,6,'',0,'',17,0");
    StoreUser(u"'6','','Bob','0','',1,6,'',0,'',255,0");
    StoreUser(u"'7','','Cid','0','',1,6,'',0,'',3,0");
    std::vector<std::pair<int, CString>> shown;
    const auto note = [&] {
        shown.emplace_back(Box(IDC_USER_GROUP)->GetCurSelValue(), Box(IDC_USER_GROUP)->GetCurSelText());
    };
    bool stillListed = true;
    std::vector<std::string> lines = TypeAndEnter("5");
    Append(lines, {Probe(note), "answer ok", "key MENU"});
    Append(lines, TypeAndEnter("6"));
    Append(lines, {Probe(note), "tapon 122 1199", "key RIGHT", Probe(note), "key LEFT", Probe(note), "answer ok",
                   "key MENU"});
    Append(lines, TypeAndEnter("7"));
    Append(lines, {Probe(note), Probe([&] { stillListed = Box(IDC_USER_GROUP)->SetCurSelByValue(255) != FALSE; })});
    RunAt(122, lines);
    EXPECT_EQ(shown, (std::vector<std::pair<int, CString>>{
                         {17, u"17"}, {255, u"255"}, {0, LangText(u"CCPTreeAddUser", u"U0032")}, {255, u"255"},
                         {3, u"3"}}));
    EXPECT_FALSE(stillListed);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.GroupNO, 17);
    ASSERT_TRUE(ReadUser(u"6", user));
    EXPECT_EQ(user.GroupNO, 255);
}

// Entered again from the menu after an administrator in group 3 was
// viewed, the boxes are at value 0 and show it.
TEST_F(EditUserTest, EnteredAgainFromTheMenuEveryBoxShowsValueZero) {
    StoreUser(u"'5','','Ann','0','',1,6,'',1,'',3,0");
    int stale = -1, admin = -1, group = -1;
    std::vector<std::string> lines = TypeAndEnter("5");
    Append(lines, {"key ESC", "goto 122", Probe([&] {
                       stale = StalePixels(CCPTreeEditUser::kNode);
                       admin = Box(IDC_USER_ADMIN)->GetCurSelValue();
                       group = Box(IDC_USER_GROUP)->GetCurSelValue();
                   })});
    RunAt(122, lines);
    EXPECT_EQ(admin, 0);
    EXPECT_EQ(group, 0);
    EXPECT_EQ(stale, 0) << "the admin and group boxes still showed the user viewed before";
}

TEST_F(EditUserTest, GoldenAsEntered) {
    RunAt(122, {"golden users_edit_user_entered"});
    EXPECT_TRUE(golden);
}

TEST_F(EditUserTest, GoldenAsEnteredInChinese) {
    g_MachineConfig.LanguageName = u"Chinese";
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    RunAt(122, {"golden users_edit_user_entered_cn"});
    EXPECT_TRUE(golden);
}

}  // namespace
