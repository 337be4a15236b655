// The access time zones page (node 165): a zone's times come from the
// in-memory zone table, Set writes memory and table OpenDoorSpace, leaving
// with unset changes asks time by time.
#include "core/AccessTables.h"
#include "core/MachineConfig.h"
#include "tests/rules_attendance/rules_fixture.h"
#include "widgets/LDDateCtrl.h"
#include "widgets/JHSelectBox.h"

namespace space_setting_test {
namespace {

constexpr int kZoneSelector = 1262;
constexpr int kMondayStart = 1124;

class SpaceSettingTest : public RulesTest {
protected:
    static int SelectedZone() { return dynamic_cast<CJHSelectBox*>(Control(kZoneSelector))->GetCurSelValue(); }
    static AccessZoneEntry Zone(int zone) {
        AccessZoneEntry entry;
        g_MachineConfig.AccessZoneTable.Get(zone, entry);
        return entry;
    }
    static void PutZone(int zone, std::vector<const char16_t*> texts) {
        AccessZoneEntry entry;
        const auto fields = ZoneTexts(entry);
        for (size_t k = 0; k < texts.size(); ++k) *fields[k] = texts[k];
        entry.SpaceID = zone;
        g_MachineConfig.AccessZoneTable.Set(zone, entry);
    }
    // From the zone selector: `steps` zones on, then into the Monday start
    // hour.
    static std::vector<std::string> ToZone(int steps) {
        std::vector<std::string> lines(steps, "key RIGHT");
        return lines;
    }
};

TEST_F(SpaceSettingTest, GoldenAsEntered) {
    RunOnPage(165, {"golden rules_space_setting"});
    EXPECT_TRUE(golden);
}

TEST_F(SpaceSettingTest, ChoosingAZoneShowsItsStoredTimesAndNoneClearsThem) {
    PutZone(2, {u"8:30", u"", u"abc", u"12", u"23:59", u"7:", u":45", u"300:70", u"09:05", u"18:00", u"00:00",
                u"00:00", u"00:00", u"00:00"});
    Check("entered", [] {
        EXPECT_EQ(SelectedZone(), 33);
        EXPECT_TRUE(FocusIn(kZoneSelector));
        for (int k = 0; k < 14; ++k) EXPECT_EQ(Shown(k), u"00:00");
    });
    Check("zone2", [] {
        EXPECT_EQ(SelectedZone(), 2);
        const std::u16string expected[] = {u"08:30", u"00:00", u"00:00", u"00:12", u"23:59", u"07:00", u"00:45",
                                           u"44:70", u"09:05", u"18:00"};
        for (int k = 0; k < 10; ++k) EXPECT_EQ(Shown(k), expected[k]) << "time " << k;
    });
    Check("none", [] {
        EXPECT_EQ(SelectedZone(), 33);
        for (int k = 0; k < 14; ++k) EXPECT_EQ(Shown(k), u"00:00");
    });
    RunOnPage(165, {"check entered", "key RIGHT", "key RIGHT", "check zone2", "key LEFT", "key LEFT", "check none"});
    EXPECT_TRUE(Boxes().empty()) << "leaving at None asks nothing";
    // Coming back starts at None again.
    RunOnPage(165, {"key RIGHT", "key ESC", "key ENTER", "check entered"});
    EXPECT_TRUE(Boxes().empty()) << "zone 1 shows its stored times exactly";
    // A stored text that is not in the two-digit form differs from what the
    // pickers show: leaving asks about it.
    RunOnPage(165, {"key RIGHT", "key RIGHT", "answer no", "answer yes", "key ESC", "check zone2", "answer no",
                    "answer no", "answer no", "answer no", "answer no", "answer no", "answer no"});
    const std::vector<std::u16string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 9u);
    EXPECT_EQ(boxes[0], u"Monday start changed. Save it?");
    EXPECT_EQ(boxes[1], u"Monday end changed. Save it?");
    EXPECT_EQ(boxes[8], u"Thursday end changed. Save it?");
}

TEST_F(SpaceSettingTest, SetStoresTheTypedTimesInMemoryAndTable) {
    std::vector<std::string> lines = Join({ToZone(5), {"key DOWN"}, TypeTime("0905"), TypeTime("1730"),
                                           {"answer no", "key F1", "check unchanged", "answer yes", "key F1",
                                            "check set"}});
    Check("unchanged", [] {
        EXPECT_EQ(Zone(5).MonStart, u"00:00");
        EXPECT_EQ(Text(u"select MonStart from OpenDoorSpace where SpaceID = 5"), u"00:00");
    });
    Check("set", [] {
        EXPECT_TRUE(FocusIn(kZoneSelector)) << "the focus goes back to the zone selector";
        EXPECT_EQ(Zone(5).MonStart, u"09:05");
        EXPECT_EQ(Zone(5).MonEnd, u"17:30");
        EXPECT_EQ(Zone(5).TuesStart, u"00:00");
    });
    RunOnPage(165, lines);
    EXPECT_EQ(Text(u"select MonStart || ' ' || MonEnd || ' ' || SunEnd from OpenDoorSpace where SpaceID = 5"),
              u"09:05 17:30 00:00");
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace where MonStart <> '00:00'"), 1) << "no other zone changed";
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Save this time zone?", u"Save this time zone?"}));
}

TEST_F(SpaceSettingTest, AZoneWithoutARowIsInsertedOnceThenUpdated) {
    Exec(u"delete from OpenDoorSpace where SpaceID = 32");
    // A start after its end is stored as typed.
    RunOnPage(165, Join({{"key LEFT", "key DOWN"}, TypeTime("1800"), TypeTime("0800"),
                         {"answer yes", "key F1"}}));
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace where SpaceID = 32"), 1);
    EXPECT_EQ(Text(u"select MonStart || '-' || MonEnd || '-' || TuesStart from OpenDoorSpace where SpaceID = 32"),
              u"18:00-08:00-00:00");
    // A tap on Set.
    RunOnPage(165, Join({{"key LEFT", "key DOWN", "key DOWN"}, TypeTime("1915"),
                         {"answer yes", "tap 160 207"}}));
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace where SpaceID = 32"), 1);
    EXPECT_EQ(Text(u"select MonStart || '-' || MonEnd from OpenDoorSpace where SpaceID = 32"), u"18:00-19:15");
    EXPECT_EQ(Zone(32).MonEnd, u"19:15");
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace"), 32);
}

TEST_F(SpaceSettingTest, SetWithNoZoneAsksNothingAndEnterWorksOnlyOnTheButton) {
    RunOnPage(165, {"key F1", "tap 160 207"});
    EXPECT_TRUE(Boxes().empty());
    // Enter on the zone selector moves on to Monday start; Enter on the Set
    // button sets.
    Check("moved", [] { EXPECT_TRUE(FocusIn(kMondayStart)); });
    std::vector<std::string> lines{"key RIGHT", "wait 600", "key ENTER", "check moved"};
    for (int i = 0; i < 14; ++i) lines.push_back("key DOWN");
    lines.insert(lines.end(), {"answer yes", "key ENTER"});
    RunOnPage(165, lines);
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Save this time zone?"});
}

// F1 sets and stops at the page: unlike on the automatic-status page, the
// focused field never sees it.
TEST_F(SpaceSettingTest, F1SetsAndNeverReachesTheFocusedField) {
    Check("spy", [] {
        ASSERT_TRUE(FocusIn(kZoneSelector));
        F1Spy::Start();
    });
    Check("unspy", [] { F1Spy::Stop(); });
    RunOnPage(165, {"key RIGHT", "key RIGHT", "check spy", "answer yes", "key F1", "check unspy"});
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Save this time zone?"});
    EXPECT_EQ(Zone(2).MonStart, u"00:00") << "zone 2 was set";
    EXPECT_TRUE(F1Spy::seen.empty());
}

TEST_F(SpaceSettingTest, LeavingAsksForEachChangedTimeInOrder) {
    // Monday end and Friday start changed: no to the first question, yes
    // to the second keeps the page; then no to both leaves.
    Check("stayed", [] {
        EXPECT_NE(Control(kZoneSelector), nullptr) << "the page is still shown";
        EXPECT_EQ(Shown(1), u"11:00");
    });
    std::vector<std::string> lines = Join({{"key RIGHT", "key DOWN", "key DOWN"}, TypeTime("1100"),
                                           {"key DOWN", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "key DOWN"},
                                           TypeTime("0600"), {"answer no", "answer yes", "key ESC", "check stayed",
                                                                  "answer no", "answer no"}});
    RunOnPage(165, lines);
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Monday end changed. Save it?", u"Friday start changed. Save it?",
                                                    u"Monday end changed. Save it?",
                                                    u"Friday start changed. Save it?"}));
    EXPECT_EQ(Zone(1).MonEnd, u"00:00") << "nothing was stored";
    EXPECT_EQ(Zone(1).FriStart, u"00:00");
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace where MonEnd <> '00:00' or FriStart <> '00:00'"), 0);
}

TEST_F(SpaceSettingTest, AZoneNeverLoadedCountsEveryTimeAsChanged) {
    // No row at start-up: fourteen empty texts, so "00:00" differs from each.
    g_MachineConfig.AccessZoneTable.Set(3, AccessZoneEntry{});
    RunOnPage(165, {"key RIGHT", "key RIGHT", "key RIGHT", "answer no", "answer no", "answer no", "answer no",
                    "answer no", "answer no", "answer no", "answer no", "answer no", "answer no", "answer no",
                    "answer no", "answer no", "answer no"});
    const std::vector<std::u16string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 14u);
    EXPECT_EQ(boxes.front(), u"Monday start changed. Save it?");
    EXPECT_EQ(boxes.back(), u"Sunday end changed. Save it?");
}

TEST_F(SpaceSettingTest, HostileStoredTextsAreShownByTheRuleAndReplacedOnlyBySet) {
    // Texts written by other means: quotes, 200 characters, a number beyond
    // 32 bits. The page shows them by the hour-and-minute rule; setting
    // writes the shown times literally, quotes never reach the statement.
    const std::u16string longText(200, u'9');
    Exec(u"update OpenDoorSpace set MonStart = 'x'';--', TuesStart = '4294967296:7' where SpaceID = 4");
    PutZone(4, {u"x';--", u"00:00", u"4294967296:7", u"00:00", longText.c_str(), u"00:00", u"00:00", u"00:00",
                u"00:00", u"00:00", u"00:00", u"00:00", u"00:00", u"00:00"});
    Check("shown", [] {
        EXPECT_EQ(Shown(0), u"00:00");
        EXPECT_EQ(Shown(2), u"255:07") << "the hour saturates at the long's limit, whose low byte is 255";
        EXPECT_EQ(Shown(4), u"00:255");
    });
    // Typing beyond a field's range starts the field again at the digit.
    std::vector<std::string> lines = Join({{"key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "check shown",
                                            "key DOWN"},
                                           TypeTime("9999"), {"answer yes", "key F1"}});
    RunOnPage(165, lines);
    EXPECT_EQ(Text(u"select MonStart || '|' || TuesStart || '|' || WednStart from OpenDoorSpace where SpaceID = 4"),
              u"09:09|255:07|00:255");
    EXPECT_EQ(Zone(4).MonStart, u"09:09");
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace"), 32);
}

}  // namespace

}  // namespace space_setting_test
