// Every one of the fourteen weekday times reaches its own column, and every
// weekday's text is the one of its own key: each time below differs from
// all the others, so a time written to its neighbour's column, or a
// weekday named by its neighbour's text, shows.
#include "core/AccessTables.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "tests/rules_attendance/rules_fixture.h"

namespace {

constexpr int kWeekTimes = 14;
const char16_t* const kDays[] = {u"Mon", u"Tues", u"Wedn", u"Thur", u"Fri", u"Sat", u"Sun"};

// Day d (0 = Monday) runs from (d+1):(10+d) to (d+1):(40+d).
std::string TypedTime(int k) {
    const int day = k / 2;
    const int hour = day + 1;
    const int minute = (k % 2 == 0 ? 10 : 40) + day;
    return {char('0' + hour / 10), char('0' + hour % 10), char('0' + minute / 10), char('0' + minute % 10)};
}
std::u16string ShownTime(int k) {
    const std::string typed = TypedTime(k);
    return Utf8ToUtf16(typed.substr(0, 2) + ":" + typed.substr(2, 2));
}

class WeekColumnsTest : public RulesTest {
protected:
    // The fourteen distinct times typed from Monday's start on.
    static std::vector<std::string> AllTimes() {
        std::vector<std::string> lines;
        for (int k = 0; k < kWeekTimes; ++k) {
            const std::vector<std::string> time = TypeTime(TypedTime(k));
            lines.insert(lines.end(), time.begin(), time.end());
        }
        return lines;
    }
    // The fourteen stored times of a row, in weekday order, as one text.
    static std::u16string StoredRow(const char16_t* table, int zone) {
        CString columns;
        for (const char16_t* day : kDays) {
            if (!columns.IsEmpty()) columns += u"||' '||";
            columns += CString(day) + u"Start||' '||" + day + u"End";
        }
        CString sql;
        sql.Format(u"select %s from %s where SpaceID = %d", columns.GetString(), table, zone);
        return Text(sql);
    }
    static std::u16string Expected() {
        std::u16string text;
        for (int k = 0; k < kWeekTimes; ++k) text += (k ? u" " : u"") + ShownTime(k);
        return text;
    }
    static CString Lang(const char16_t* section, const char16_t* key) {
        CString text;
        GetLangText(section, key, u"", text);
        return text;
    }
};

TEST_F(WeekColumnsTest, AutoStatusSetWritesEachTimeToItsOwnColumn) {
    // Zone 4 with the third status; the other zones stay empty.
    RunOnPage(142, Join({{"key RIGHT", "key RIGHT", "key RIGHT", "key DOWN", "key RIGHT", "key RIGHT", "key DOWN"},
                         AllTimes(),
                         {"answer yes", "key F1"}}));
    EXPECT_EQ(StoredRow(u"AtuoFN", 4), Expected());
    EXPECT_EQ(Int(u"select FNID from AtuoFN where SpaceID = 4"), 2);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where SpaceID <> 4 and (MonStart <> '00:00' or SunEnd <> '00:00')"),
              0);
}

TEST_F(WeekColumnsTest, AccessZoneSetWritesEachTimeToItsOwnColumnAndField) {
    RunOnPage(165, Join({{"key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "key DOWN"},
                         AllTimes(),
                         {"answer yes", "key F1"}}));
    EXPECT_EQ(StoredRow(u"OpenDoorSpace", 6), Expected());
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(6, zone));
    const CString* fields[kWeekTimes] = {&zone.MonStart, &zone.MonEnd,  &zone.TuesStart, &zone.TuesEnd,
                                         &zone.WednStart, &zone.WednEnd, &zone.ThurStart, &zone.ThurEnd,
                                         &zone.FriStart,  &zone.FriEnd,  &zone.SatStart,  &zone.SatEnd,
                                         &zone.SunStart,  &zone.SunEnd};
    for (int k = 0; k < kWeekTimes; ++k) EXPECT_EQ(fields[k]->str(), ShownTime(k)) << "time " << k;
    // Start-up reads the row back into the same fields.
    g_MachineConfig.AccessZoneTable.Clear();
    LoadAccessTimeZones();
    AccessZoneEntry loaded;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(6, loaded));
    EXPECT_EQ(loaded.SatStart, u"06:15");
    EXPECT_EQ(loaded.SatEnd, u"06:45");
    EXPECT_EQ(loaded.WednEnd, u"03:42");
}

TEST_F(WeekColumnsTest, LeavingAsksAboutEachChangedTimeWithItsOwnText) {
    std::vector<std::string> lines = Join({{"key RIGHT", "key DOWN"}, AllTimes(), {"key ESC"}});
    for (int k = 0; k < kWeekTimes; ++k) lines.push_back("answer no");
    RunOnPage(165, lines);
    const std::vector<std::u16string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), static_cast<size_t>(kWeekTimes));
    for (int k = 0; k < kWeekTimes; ++k) {
        CString key;
        key.Format(u"TSS%04d", 11 + k);
        EXPECT_EQ(boxes[k], Lang(u"CCPTreeSpaceSetting", key).str()) << Utf16ToUtf8(key.str());
    }
}

TEST_F(WeekColumnsTest, AStartAfterItsEndNamesItsOwnWeekday) {
    for (int day = 0; day < 7; ++day) {
        // From the zone selector down past the status and the earlier days.
        std::vector<std::string> lines{"key DOWN", "key DOWN"};
        for (int i = 0; i < 2 * day; ++i) lines.push_back("key DOWN");
        RunOnPage(142, Join({lines, TypeTime("1200"), TypeTime("1100"), {"answer yes", "answer ok", "key F1"}}));
        CString key;
        key.Format(u"AFN%03d", day + 1);
        EXPECT_EQ(LastBox(), (Lang(u"CAutoFNDlg", key) + Lang(u"CAutoFNDlg", u"AFN008")).str()) << Utf16ToUtf8(key.str());
    }
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where MonStart <> '00:00' or SunEnd <> '00:00'"), 0);
}

TEST_F(WeekColumnsTest, WindowsThatTouchPassInBothDirectionsAndAMinuteMoreConflicts) {
    // Zone 2 holds Thursday 09:15-10:00. Zone 1's Thursday is typed in the
    // page: ending where zone 2 starts, or starting where it ends, passes.
    Exec(u"update AtuoFN set ThurStart = '09:15', ThurEnd = '10:00' where SpaceID = 2");
    const std::vector<std::string> toThursday{"key DOWN", "key DOWN", "key DOWN", "key DOWN",
                                              "key DOWN", "key DOWN", "key DOWN", "key DOWN"};
    // A refused set shows a second box, answered with OK.
    const auto set = [&](const std::string& start, const std::string& end, bool refused) {
        std::vector<std::string> answers{"answer yes"};
        if (refused) answers.push_back("answer ok");
        answers.push_back("key F1");
        RunOnPage(142, Join({toThursday, TypeTime(start), TypeTime(end), answers}));
        return Text(u"select ThurStart||'-'||ThurEnd from AtuoFN where SpaceID = 1");
    };
    EXPECT_EQ(set("1000", "1100", false), u"10:00-11:00") << "starting at the other's end";
    EXPECT_EQ(set("0800", "0915", false), u"08:00-09:15") << "ending at the other's start";
    const size_t boxesBefore = Boxes().size();
    EXPECT_EQ(set("0959", "1100", true), u"08:00-09:15") << "a minute inside the other's end";
    EXPECT_EQ(set("0800", "0916", true), u"08:00-09:15") << "a minute inside the other's start";
    const std::vector<std::u16string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), boxesBefore + 4);
    CString refusal;
    refusal.Format(Lang(u"CAutoFNDlg", u"AFN009"), 2, Lang(u"CAutoFNDlg", u"AFN004").GetString(), u"09:15", u"10:00");
    EXPECT_EQ(boxes[boxesBefore + 1], refusal.str());
    EXPECT_EQ(boxes[boxesBefore + 3], refusal.str());
}

}  // namespace
