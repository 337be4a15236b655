// The attendance-status names page (node 141): the eight names of table
// StatusBase by screen row, all written back on every leave, each name bound
// as typed.
#include "tests/rules_attendance/rules_fixture.h"

namespace {

// Edit ids by status number: IN, OUT, F1 ... F6.
constexpr int kEditOf[8] = {1312, 1313, 1372, 1307, 1308, 1309, 1310, 1311};

class StatusNamesTest : public RulesTest {
protected:
    static std::u16string Shown(int status) {
        CString text;
        Control(kEditOf[status])->GetWindowText(text);
        return text.str();
    }
    static void Type(int status, const std::u16string& text) { Control(kEditOf[status])->SetWindowText(text.c_str()); }
    static std::u16string Names() {
        return Text(u"select group_concat(ID || '=' || StatuName, ',') from (select * from StatusBase order by rowid)");
    }
};

TEST_F(StatusNamesTest, GoldenAsEntered) {
    RunOnPage(141, {"golden rules_status_names"});
    EXPECT_TRUE(golden);
}

TEST_F(StatusNamesTest, RowsShowTheirStatusNumbersAndOnlyNumbersZeroToSeven) {
    Exec(u"update StatusBase set StatuName = 'Arrive' where ID = 0");
    Exec(u"update StatusBase set StatuName = 'Lunch' where ID = 2");
    Exec(u"insert into StatusBase values (8, 'Eight')");
    Exec(u"insert into StatusBase values (255, 'Big')");
    Exec(u"insert into StatusBase values (-1, 'Minus')");
    // Two rows of one number: the later one read is shown.
    Exec(u"insert into StatusBase values (7, 'Second F6')");
    Check("shown", [] {
        EXPECT_EQ(Shown(0), u"Arrive") << "screen row 7, IN";
        EXPECT_EQ(Shown(2), u"Lunch") << "screen row 1, F1";
        EXPECT_EQ(Shown(1), u"OUT");
        EXPECT_EQ(Shown(7), u"Second F6");
        EXPECT_TRUE(FocusIn(kEditOf[2])) << "the first row's field has the focus";
    });
    RunOnPage(141, {"check shown"});
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 8"), u"Eight");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 255"), u"Big");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = -1"), u"Minus");
    EXPECT_EQ(Int(u"select count(*) from StatusBase where ID = 7 and StatuName = 'Second F6'"), 2)
        << "the update by number renames both rows of 7";
    EXPECT_EQ(Int(u"select count(*) from StatusBase"), 12) << "no row added or removed";
}

TEST_F(StatusNamesTest, TypedNamesAreStoredOnLeavingAndEveryNameIsWrittenBack) {
    Check("typed", [] {
        EXPECT_EQ(Shown(2), u".5F1") << "typed where the caret stands, before the name";
        // Changed behind the page's back: the leave writes the shown name.
        Exec(u"update StatusBase set StatuName = 'changed elsewhere' where ID = 4");
    });
    // The F1 field has the focus; '*' types a full stop. A field reached
    // with the arrows has its name selected: a digit typed replaces it.
    RunOnPage(141, {"key STAR", "key 5", "check typed", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "key DOWN",
                    "key DOWN", "key 9"});
    EXPECT_EQ(Names(), u"0=9,1=OUT,2=.5F1,3=F2,4=F3,5=F4,6=F5,7=F6");
}

// Enter does nothing here: the focus stays, so the digit typed after it
// goes into the same name and replaces no other.
TEST_F(StatusNamesTest, EnterKeepsTheFocusInTheName) {
    Check("entered", [] { EXPECT_TRUE(FocusIn(kEditOf[2])); });
    RunOnPage(141, {"key 5", "key ENTER", "check entered", "key 7"});
    EXPECT_EQ(Names(), u"0=IN,1=OUT,2=57F1,3=F2,4=F3,5=F4,6=F5,7=F6");
}

// The page sets no length of its own: thirty letters typed on the
// on-screen keyboard and as many digits on the keypad are all stored,
// longer than the column's declared 24.
TEST_F(StatusNamesTest, LongNamesTypedOnTheKeyboardAndTheKeypadAreStoredWhole) {
    std::vector<std::string> lines{"key HASH"};
    lines.insert(lines.end(), 30, "key ENTER");
    lines.insert(lines.end(), {"key MENU", "key DOWN"});
    lines.insert(lines.end(), 30, "key 5");
    RunOnPage(141, lines);
    EXPECT_EQ(Names(), u"0=IN,1=OUT,2=F1" + std::u16string(30, u'a') + u",3=" + std::u16string(30, u'5') +
                           u",4=F3,5=F4,6=F5,7=F6");
}

TEST_F(StatusNamesTest, HostileNamesAreStoredLiterallyAndTouchNoOtherRow) {
    const std::u16string quote = u"x', StatuName = 'y' WHERE ID = '1'; --";
    const std::u16string longName(200, u'N');
    Check("type", [&] {
        Type(0, quote);
        Type(3, longName);
        Type(5, u"");
        Type(7, u"\"%s%d\"");
    });
    RunOnPage(141, {"check type"});
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 0"), quote);
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 3"), longName);
    EXPECT_EQ(Int(u"select count(*) from StatusBase where ID = 5 and StatuName = ''"), 1) << "an empty text, not NULL";
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 7"), u"\"%s%d\"");
    EXPECT_EQ(Text(u"select StatuName from StatusBase where ID = 1"), u"OUT") << "the quote changed no other row";
    EXPECT_EQ(Int(u"select count(*) from StatusBase"), 8);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StatusNamesTest, AnEmptyTableLeavesTheFieldsAsTheyWereAndCreatesNoRow) {
    Exec(u"delete from StatusBase");
    Check("empty", [] {
        for (int status = 0; status < 8; ++status) EXPECT_EQ(Shown(status), u"");
    });
    RunOnPage(141, {"check empty", "key 1"});
    EXPECT_EQ(Int(u"select count(*) from StatusBase"), 0);
}

}  // namespace
