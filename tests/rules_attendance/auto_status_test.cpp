// The automatic attendance-status time table page (node 142): a zone of
// table AtuoFN shown and set with its status, the order check of each
// weekday and the overlap check against every other zone, to the minute.
#include <fstream>
#include <sstream>

#include "core/LangText.h"
#include "panel/PageRegistry.h"
#include "platform/base/utf.h"
#include "platform/base/device_fs.h"
#include "rules/AutoFNDlg.h"
#include "tests/rules_attendance/rules_fixture.h"
#include "widgets/JHSelectBox.h"
#include "widgets/LDDateCtrl.h"

namespace {

constexpr int kZoneSelector = 1262;
constexpr int kStatusSelector = 1378;
constexpr int kMondayStart = 1124;

class AutoStatusTest : public RulesTest {
protected:
    // Every test drives node 142: another page there fails the test here,
    // before a script reaches for controls that page does not have.
    void SetUp() override {
        const ControlPanelPageFactory* page = FindControlPanelPage(142);
        ASSERT_NE(page, nullptr) << "no page serves node 142";
        ASSERT_NE(dynamic_cast<CAutoFNDlg*>((*page)().get()), nullptr)
            << "node 142 is not the automatic-status page";
    }
    static CJHSelectBox* Selector(int id) { return dynamic_cast<CJHSelectBox*>(Control(id)); }
    // Sets a stored weekday window of a zone: column names MonStart ...
    static void Store(int zone, const char16_t* day, const char16_t* start, const char16_t* end) {
        CString sql;
        sql.Format(u"update AtuoFN set %sStart = '%s', %sEnd = '%s' where SpaceID = %d", day, start, day, end, zone);
        Exec(sql);
    }
    static std::u16string Row(int zone) {
        CString sql;
        sql.Format(u"select MonStart||' '||MonEnd||' '||TuesStart||' '||TuesEnd||' '||FriStart||' '||FriEnd||' '||"
                   u"SunEnd||' '||FNID from AtuoFN where SpaceID = %d",
                   zone);
        return Text(sql);
    }
    // From the zone selector down to the first time of `day` (0 = Monday).
    static std::vector<std::string> ToDay(int day) {
        std::vector<std::string> keys{"key DOWN", "key DOWN"};
        for (int i = 0; i < 2 * day; ++i) keys.push_back("key DOWN");
        return keys;
    }
    // Types a window into the start and end pickers of the focused row,
    // ending on the next row's start.
    static std::vector<std::string> Window(const std::string& start, const std::string& end) {
        return Join({TypeTime(start), TypeTime(end)});
    }
};

TEST_F(AutoStatusTest, GoldenAsEntered) {
    RunOnPage(142, {"golden rules_auto_status"});
    EXPECT_TRUE(golden);
}

TEST_F(AutoStatusTest, GoldenInChinese) {
    UseChinese();
    RunOnPage(142, {"golden rules_auto_status_chinese"});
    EXPECT_TRUE(golden);
}

TEST_F(AutoStatusTest, EnteringShowsZoneOneAndMalformedTimesStillSetBothFields) {
    Store(1, u"Mon", u"8:5", u"abc");
    Store(1, u"Tues", u"", u"23:59");
    Store(1, u"Wedn", u" 07:30 ", u"17");
    Exec(u"update AtuoFN set FNID = 3 where SpaceID = 1");
    Check("zone1", [] {
        EXPECT_EQ(Selector(kZoneSelector)->GetCurSelValue(), 1);
        EXPECT_TRUE(FocusIn(kZoneSelector));
        EXPECT_EQ(Selector(kStatusSelector)->GetCurSelText(), u"F2");
        const std::u16string expected[] = {u"08:05", u"00:00", u"00:00", u"23:59", u"07:30", u"00:17", u"00:00"};
        for (int k = 0; k < 7; ++k) EXPECT_EQ(Shown(k), expected[k]) << "time " << k;
    });
    RunOnPage(142, {"check zone1"});
    EXPECT_EQ(Row(1), u"8:5 abc  23:59 00:00 00:00 00:00 3") << "leaving stores nothing";
}

TEST_F(AutoStatusTest, AStatusWithoutAnItemShowsTheEntryStatusNotThePreviousZones) {
    Exec(u"update AtuoFN set FNID = 3 where SpaceID = 1");
    Exec(u"update AtuoFN set FNID = 9 where SpaceID = 2");
    Check("zone1", [] { EXPECT_EQ(Selector(kStatusSelector)->GetCurSelText(), u"F2"); });
    Check("zone2", [] { EXPECT_EQ(Selector(kStatusSelector)->GetCurSelValue(), 0) << "IN, as on entering"; });
    RunOnPage(142, {"check zone1", "key RIGHT", "check zone2", "answer yes", "key F1"});
    EXPECT_EQ(Int(u"select FNID from AtuoFN where SpaceID = 2"), 0);
    EXPECT_EQ(Int(u"select FNID from AtuoFN where SpaceID = 1"), 3);
}

// F1 sets, and its key messages still go on to the focused field.
TEST_F(AutoStatusTest, F1SetsAndGoesOnToTheFocusedField) {
    Store(1, u"Mon", u"8:5", u"9:0");
    Check("spy", [] {
        ASSERT_TRUE(FocusIn(kZoneSelector));
        F1Spy::Start();
    });
    Check("unspy", [] { F1Spy::Stop(); });
    RunOnPage(142, {"check spy", "answer yes", "key F1", "check unspy"});
    EXPECT_EQ(Text(u"select MonStart || ' ' || MonEnd from AtuoFN where SpaceID = 1"), u"08:05 09:00") << "set as shown";
    EXPECT_EQ(F1Spy::seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(AutoStatusTest, SetWritesTheStatusAndAllFourteenTimes) {
    Store(3, u"Sun", u"01:00", u"02:00");
    // Zone 3, status two items on (IN -> OUT -> F1), Monday 08:00-12:30.
    std::vector<std::string> lines = Join({{"key RIGHT", "key RIGHT", "key DOWN", "key RIGHT", "key RIGHT", "key DOWN"},
                                           Window("0800", "1230"),
                                           {"answer no", "key F1", "check refused", "answer yes", "tap 160 207", "check set"}});
    Check("refused", [] {
        EXPECT_EQ(Row(3), u"00:00 00:00 00:00 00:00 00:00 00:00 02:00 0");
        EXPECT_TRUE(FocusIn(kZoneSelector));
    });
    Check("set", [] { EXPECT_TRUE(FocusIn(kZoneSelector)); });
    RunOnPage(142, lines);
    EXPECT_EQ(Row(3), u"08:00 12:30 00:00 00:00 00:00 00:00 02:00 2");
    EXPECT_EQ(Text(u"select SunStart from AtuoFN where SpaceID = 3"), u"01:00");
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where FNID <> 0"), 1) << "no other zone changed";
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Save this time zone?", u"Save this time zone?"}));
}

// A new status alone is checked with the times shown, as stored by other
// means: a stored start after its end, then a stored overlap, refuse it.
TEST_F(AutoStatusTest, ANewStatusAloneStillRunsEveryCheck) {
    Store(1, u"Tues", u"12:00", u"11:00");
    const std::vector<std::string> newStatus{"key DOWN", "key RIGHT", "answer yes", "answer ok", "key F1"};
    RunOnPage(142, newStatus);
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Save this time zone?", u"Tuesday: start is after end"}));
    Store(1, u"Tues", u"00:00", u"00:00");
    Store(1, u"Fri", u"09:00", u"11:00");
    Store(2, u"Fri", u"10:00", u"12:00");
    RunOnPage(142, newStatus);
    EXPECT_EQ(LastBox(), u"Overlaps zone 2 (Friday 10:00~12:00). Please change it.");
    EXPECT_EQ(Int(u"select FNID from AtuoFN where SpaceID = 1"), 0) << "the new status was never written";
}

TEST_F(AutoStatusTest, AStartAfterItsEndIsRefusedBeforeAnyOverlap) {
    Store(2, u"Mon", u"08:00", u"10:00");
    Check("tuesday", [] { EXPECT_TRUE(FocusIn(kMondayStart + 2)) << "the focus is on Tuesday's start"; });
    RunOnPage(142, Join({ToDay(0), Window("0900", "0930"), Window("1200", "1100"),
                         {"answer yes", "answer ok", "key F1", "check tuesday"}}));
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Save this time zone?", u"Tuesday: start is after end"}));
    EXPECT_EQ(Row(1), u"00:00 00:00 00:00 00:00 00:00 00:00 00:00 0");
}

TEST_F(AutoStatusTest, OverlapsAreFoundToTheMinuteAndTouchingWindowsPass) {
    Store(2, u"Mon", u"09:15", u"10:00");
    Check("monday", [] { EXPECT_TRUE(FocusIn(kMondayStart)); });
    // 08:00-09:30 shares a quarter of an hour with 09:15-10:00.
    RunOnPage(142, Join({ToDay(0), Window("0800", "0930"), {"answer yes", "answer ok", "key F1", "check monday"}}));
    EXPECT_EQ(LastBox(), u"Overlaps zone 2 (Monday 09:15~10:00). Please change it.");
    EXPECT_EQ(Row(1), u"00:00 00:00 00:00 00:00 00:00 00:00 00:00 0");
    // 08:00-09:15 only touches it.
    RunOnPage(142, Join({ToDay(0), Window("0800", "0915"), {"answer yes", "key F1"}}));
    EXPECT_EQ(Row(1), u"08:00 09:15 00:00 00:00 00:00 00:00 00:00 0");
    EXPECT_EQ(LastBox(), u"Save this time zone?");
}

TEST_F(AutoStatusTest, EveryOtherZoneIsCheckedAndEmptyWindowsNeverConflict) {
    // Zone 2 comes first in the table but its Monday window is empty; zone
    // 5 overlaps on Monday and Friday, zone 6 on Tuesday. The first
    // conflicting zone is reported with its last conflicting weekday.
    Store(2, u"Mon", u"09:00", u"09:00");
    Store(5, u"Mon", u"11:00", u"13:00");
    Store(5, u"Fri", u" 07:00 ", u"08:30");
    Store(6, u"Tues", u"10:00", u"11:00");
    // The zone's own stored row never conflicts.
    Store(1, u"Mon", u"08:00", u"18:00");
    Check("friday", [] { EXPECT_TRUE(FocusIn(kMondayStart + 8)); });
    std::vector<std::string> lines = Join({ToDay(0), Window("0800", "1200"), Window("0800", "1200"),
                                           {"key DOWN", "key DOWN", "key DOWN", "key DOWN"}, Window("0800", "1200"),
                                           {"answer yes", "answer ok", "key F1", "check friday"}});
    RunOnPage(142, lines);
    EXPECT_EQ(LastBox(), u"Overlaps zone 5 (Friday 07:00~08:30). Please change it.");
    EXPECT_EQ(Row(1), u"08:00 18:00 00:00 00:00 00:00 00:00 00:00 0");
}

TEST_F(AutoStatusTest, AnEmptyNewWindowInsideAnotherZonesWindowIsStored) {
    Store(4, u"Mon", u"08:00", u"10:00");
    RunOnPage(142, Join({ToDay(0), Window("0900", "0900"), {"answer yes", "key F1"}}));
    EXPECT_EQ(Row(1), u"09:00 09:00 00:00 00:00 00:00 00:00 00:00 0");
}

TEST_F(AutoStatusTest, AZoneWithoutARowWritesNothingAndSaysNothing) {
    Exec(u"delete from AtuoFN where SpaceID = 2");
    Check("focus", [] { EXPECT_TRUE(FocusIn(kZoneSelector)); });
    RunOnPage(142, Join({{"key RIGHT"}, ToDay(0), Window("0100", "0200"), {"answer yes", "key F1", "check focus"}}));
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 15);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where MonStart <> '00:00'"), 0);
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Save this time zone?"});
}

TEST_F(AutoStatusTest, EnterSetsOnlyOnTheSetButtonAndAnEmptyStatusTableWritesZero) {
    Exec(u"delete from StatusBase");
    Exec(u"update AtuoFN set FNID = 5 where SpaceID = 1");
    std::vector<std::string> lines{"wait 600", "key ENTER"};
    for (int i = 0; i < 16; ++i) lines.push_back("key DOWN");
    lines.insert(lines.end(), {"answer yes", "key ENTER"});
    RunOnPage(142, lines);
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Save this time zone?"}) << "Enter on the zone selector sets nothing";
    EXPECT_EQ(Int(u"select FNID from AtuoFN where SpaceID = 1"), 0);
}

TEST_F(AutoStatusTest, HostileStoredValuesAreReadByTheRuleAndQuotesNeverReachTheStatement) {
    const std::u16string longText(200, u'7');
    CString sql;
    sql.Format(u"update AtuoFN set MonStart = 'x'';--', MonEnd = '4294967296:30', TuesStart = '%s', "
               u"TuesEnd = '99:99' where SpaceID = 7",
               longText.c_str());
    Exec(sql);
    Exec(u"update StatusBase set StatuName = 'O''Brien \"%s\"' where ID = 1");
    Exec(u"update AtuoFN set FNID = 1 where SpaceID = 2");
    Check("zone7", [] {
        EXPECT_EQ(Shown(0), u"00:00");
        EXPECT_EQ(Shown(1), u"255:30");
        EXPECT_EQ(Shown(2), u"00:255");
        EXPECT_EQ(Shown(3), u"99:99");
    });
    Check("zone2", [] { EXPECT_EQ(Selector(kStatusSelector)->GetCurSelText(), u"O'Brien \"%s\""); });
    // Zone 7's Monday reads as 00:00 to 255:30: it covers the whole day.
    RunOnPage(142, {"key LEFT", "key LEFT", "key LEFT", "key LEFT", "key LEFT", "key LEFT", "key LEFT",
                    "key LEFT", "key LEFT", "key LEFT", "check zone7", "key LEFT", "key LEFT", "key LEFT",
                    "key LEFT", "key LEFT", "check zone2", "key DOWN", "key DOWN", "key 0", "key 1", "key RIGHT",
                    "key 0", "key 2", "key LEFT", "key DOWN", "key 0", "key 3", "answer yes", "answer ok",
                    "key F1"});
    EXPECT_EQ(LastBox(), u"Overlaps zone 7 (Monday x';--~4294967296:30). Please change it.");
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where SpaceID = 7 and MonStart = 'x'';--'"), 1);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 16);
}

TEST_F(AutoStatusTest, ATranslatedOverlapTextWithOtherConversionsGivesWayToTheDefault) {
    std::ifstream file(DeviceToHostPath(GetLanguageFilePath().str()));
    std::stringstream content;
    content << file.rdbuf();
    std::string text = content.str();
    const std::string english = "Overlaps zone %d (%s %s~%s). Please change it.";
    ASSERT_NE(text.find(english), std::string::npos);
    text.replace(text.find(english), english.size(), "Zone %s overlaps on %d");
    ASSERT_TRUE(g_LangDoc.ParseText(Utf8ToUtf16(text).c_str()));
    Store(2, u"Mon", u"09:00", u"10:00");
    RunOnPage(142, Join({ToDay(0), Window("0800", "0930"), {"answer yes", "answer ok", "key F1"}}));
    EXPECT_EQ(LastBox(), u"*与时间段 2Monday 09:00~10:00有冲突，请从新设置");
}

}  // namespace
