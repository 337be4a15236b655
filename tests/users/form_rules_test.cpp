// What the user forms keep and what they empty after a save, the items of
// their verify-mode rows, and the lengths of name and password at their
// bound and one past it, while typing and when saving.
#include <map>

#include "data/DataGlobals.h"
#include "tests/users/users_fixture.h"
#include "users/UserFormPage.h"
#include "widgets/JHSelectBox.h"

namespace {

class FormRulesTest : public UsersTest {
protected:
    static int Box(unsigned node, int id) {
        return static_cast<CJHSelectBox*>(CControlPanel::Open()->PageOf(node)->GetDlgItem(id))->GetCurSelValue();
    }
    // The form's texts and its boxes' values, in one line.
    std::string Form(unsigned node) const {
        std::string form;
        for (int id : {IDC_USER_ID, IDC_USER_NAME, IDC_USER_PASSWORD, IDC_USER_CARD})
            form += Utf16ToUtf8(PageControlText(node, id).str()) + "|";
        for (int id : {IDC_USER_DEPT, IDC_USER_ADMIN, IDC_USER_GROUP, IDC_USER_MODE_SWITCH, IDC_USER_FP_STEP,
                       IDC_USER_CARD_STEP, IDC_USER_PIN_STEP})
            form += std::to_string(Box(node, id)) + "|";
        return form;
    }
    int Count(const char16_t* section, const char16_t* key) const {
        const CString text = LangText(section, key);
        int n = 0;
        for (const CString& message : Messages()) n += message == text ? 1 : 0;
        return n;
    }
    static bool FocusOn(unsigned node, int id) {
        return ::GetFocus() == CControlPanel::Open()->PageOf(node)->GetDlgItem(id)->GetSafeHwnd();
    }
};

// The verify-mode view of both forms: each row's items, stepped through
// with the arrows from the first, as value and text.
TEST_F(FormRulesTest, TheVerifyModeRowsOfferTheirStepsWithTheirOwnTexts) {
    const auto text = [this](const char16_t* key) { return LangText(u"CCPTreeAddUser", key); };
    using Items = std::vector<std::pair<int, CString>>;
    const Items afterFinger{{0, text(u"U0013")}, {1, text(u"U0014")}, {2, text(u"U0018")}, {3, text(u"U0017")}};
    const Items afterCardOrId{{0, text(u"U0013")}, {1, text(u"U0014")}, {2, text(u"U0015")}, {3, text(u"U0016")},
                              {7, text(u"U0017")}};
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Userinfo VALUES ('32','','','0','',1,6,'',0,'',0,0)"));
    for (const unsigned node : {121u, 122u}) {
        std::map<int, Items> rows;
        std::vector<std::string> lines = TypeAndEnter(node == 121 ? "31" : "32");
        // Individual setting enables the rows; Down goes from row to row.
        Append(lines, {"tapon " + std::to_string(node) + " 1325", "key RIGHT"});
        for (const auto& [id, count] : {std::make_pair(IDC_USER_FP_STEP, afterFinger.size()),
                                        std::make_pair(IDC_USER_CARD_STEP, afterCardOrId.size()),
                                        std::make_pair(IDC_USER_PIN_STEP, afterCardOrId.size())}) {
            lines.push_back("key DOWN");
            for (size_t item = 0; item < count; ++item) {
                lines.push_back(Probe([&rows, node, id = id] {
                    auto* box = static_cast<CJHSelectBox*>(CControlPanel::Open()->PageOf(node)->GetDlgItem(id));
                    rows[id].emplace_back(box->GetCurSelValue(), box->GetCurSelText());
                }));
                lines.push_back("key RIGHT");
            }
        }
        lines.push_back("key ESC");
        RunAt(node, lines);
        EXPECT_EQ(rows[IDC_USER_FP_STEP], afterFinger) << "after a fingerprint, page " << node;
        EXPECT_EQ(rows[IDC_USER_CARD_STEP], afterCardOrId) << "after a card, page " << node;
        EXPECT_EQ(rows[IDC_USER_PIN_STEP], afterCardOrId) << "after a user ID, page " << node;
    }
}

TEST_F(FormRulesTest, SaveAndNextKeepsAdminAndGroupAndEmptiesEverythingElse) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,0)"));
    std::string filled, next;
    bool idFocused = false;
    std::vector<std::string> lines = TypeAndEnter("31");
    Append(lines, Type("77"));
    Append(lines, {"key ENTER"});
    Append(lines, Type("12"));
    // Card, department Sales, admin, group 1; the view: individual, 1, 2, 3.
    Append(lines, {"card 1A2B", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN",
                   "key DOWN", "key DOWN", "key ENTER", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT",
                   "key RIGHT", "key DOWN", "key RIGHT", "key RIGHT", "key RIGHT", "key ESC"});
    lines.push_back(Probe([&] { filled = Form(121); }));
    Append(lines, {"answer ok", "key MENU"});
    lines.push_back(Probe([&] {
        next = Form(121);
        idFocused = FocusOn(121, IDC_USER_ID);
    }));
    Append(lines, TypeAndEnter("32"));
    Append(lines, {"answer ok", "key MENU"});
    RunAt(121, lines);

    EXPECT_EQ(filled, "31|77|12|6699|2|1|1|1|1|2|3|");
    EXPECT_EQ(next, "||||1|1|1|0|0|0|0|") << "only admin and group stay for the next user";
    EXPECT_TRUE(idFocused);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"31", user));
    EXPECT_EQ(user.ACFlag, 83);
    ASSERT_TRUE(ReadUser(u"32", user));
    EXPECT_EQ(user.Name, u"");
    EXPECT_EQ(user.pwd, u"");
    EXPECT_EQ(user.CardNo, u"");
    EXPECT_EQ(user.Deptid, 1);
    EXPECT_EQ(user.AdminFlag, 1);
    EXPECT_EQ(user.GroupNO, 1);
    EXPECT_EQ(user.ACFlag, 6);
    EXPECT_EQ(Count(u"CCPTreeAddUser", u"U0043"), 2);
}

TEST_F(FormRulesTest, AnEditSaveEmptiesTheFormAndPutsEveryBoxBackAtZero) {
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"INSERT INTO Userinfo VALUES ('5','4660','Ann','0','12',1,83,'',1,'',1,0)"));
    std::string loaded, after;
    std::vector<std::string> lines = TypeAndEnter("5");
    lines.push_back(Probe([&] { loaded = Form(122); }));
    Append(lines, {"answer ok", "key MENU"});
    lines.push_back(Probe([&] { after = Form(122); }));
    RunAt(122, lines);
    EXPECT_EQ(loaded, "5|Ann|12|4660|1|1|1|1|1|2|3|");
    EXPECT_EQ(after.substr(0, 5), "||||1") << after;
    EXPECT_EQ(after.substr(5), "|0|0|0|0|0|0|") << "admin and group too, unlike after adding";
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"5", user));
    EXPECT_EQ(user.AdminFlag, 1) << "the save wrote what was loaded";
    EXPECT_EQ(user.GroupNO, 1);
    EXPECT_EQ(user.ACFlag, 83);
}

TEST_F(FormRulesTest, NameAndPasswordTakeTenAndSixCharactersWhileTypingAndWhenSaved) {
    CString nameAtTen, nameAfter, passwordAtSix, passwordAfter;
    int messagesAtBounds = -1;
    std::vector<std::string> lines = TypeAndEnter("40");
    Append(lines, Type("1234567890"));
    lines.push_back(Probe([&] { nameAtTen = PageControlText(121, IDC_USER_NAME); }));
    Append(lines, {"answer ok", "key 1"});
    lines.push_back(Probe([&] { nameAfter = PageControlText(121, IDC_USER_NAME); }));
    Append(lines, {"key ENTER"});
    Append(lines, Type("654321"));
    lines.push_back(Probe([&] {
        passwordAtSix = PageControlText(121, IDC_USER_PASSWORD);
        messagesAtBounds = static_cast<int>(Messages().size());
    }));
    Append(lines, {"answer ok", "key 9"});
    lines.push_back(Probe([&] { passwordAfter = PageControlText(121, IDC_USER_PASSWORD); }));
    Append(lines, {"answer ok", "key MENU"});
    RunAt(121, lines);

    EXPECT_EQ(nameAtTen, u"1234567890");
    EXPECT_EQ(nameAfter, u"1234567890") << "the eleventh character goes";
    EXPECT_EQ(passwordAtSix, u"654321");
    EXPECT_EQ(passwordAfter, u"654321") << "the seventh digit goes";
    EXPECT_EQ(messagesAtBounds, 1) << "only the eleventh character was refused so far";
    EXPECT_EQ(Count(u"CCPTreeAddUser", u"U0036"), 1);
    EXPECT_EQ(Count(u"CCPTreeAddUser", u"U0038"), 1);
    UserInfoRecord user;
    ASSERT_TRUE(ReadUser(u"40", user));
    EXPECT_EQ(user.Name, u"1234567890");
    EXPECT_EQ(user.pwd, u"654321");
    EXPECT_EQ(Count(u"CCPTreeAddUser", u"U0043"), 1) << "both at their bound are saved";
}

}  // namespace

// A step box's pass label shows between its first and its last item: the
// card and code rows end in 7, which passes like 0.
TEST_F(FormRulesTest, TheCardAndCodeStepsLastItemSevenShowsNoPassLabel) {
    std::vector<std::pair<CString, CString>> labels;
    const auto note = [&] {
        return Probe([&] {
            labels.emplace_back(PageControlText(121, IDC_USER_CARD_PASS), PageControlText(121, IDC_USER_PIN_PASS));
        });
    };
    std::vector<std::string> lines = TypeAndEnter("31");
    Append(lines, {"tapon 121 1325", "key RIGHT", "key DOWN", "key DOWN", "key LEFT", "key DOWN", "key LEFT", note(),
                   "key LEFT", "key UP", "key LEFT", note(), "key ESC"});
    RunAt(121, lines);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], std::make_pair(CString(), CString())) << "both at 7";
    EXPECT_FALSE(labels[1].first.IsEmpty()) << "card at 3";
    EXPECT_FALSE(labels[1].second.IsEmpty()) << "code at 3";
}
