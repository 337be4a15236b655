// The attendance-record settings page (node 154): the repeat-punch
// interval, the record alarm threshold and the work-code switch, checked
// and stored when the page is left.
#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "platform/ui/display.h"
#include "tests/rules_access/rules_fixture.h"

namespace {

constexpr int kWorkCode = 1233;
constexpr int kInterval = 1254;
constexpr int kThreshold = 1252;

const std::u16string kIntervalRefused = u"Repeat gap must be 0-250 min. Please correct it.";
const std::u16string kThresholdRefused = u"Alarm level must be 0-5000. Please correct it.";

class RecordPage : public RulesTest {
protected:
    static void StoreUnlistedWorkCode() {
        SetConfigValue(u"WORKCODE", u"9", TRUE);
        g_MachineConfig.WORKCODE = 9;
    }
    void LeaveWith(const std::string& interval, const std::string& threshold) {
        TryLeave(154, {kInterval, interval}, {kThreshold, threshold}, g_MachineConfig.REATTIMEGAP,
                 g_MachineConfig.WARNINGNUM);
    }
};

TEST_F(RecordPage, TheStoredSettingsAreShownAndEveryLeaveSavesTheWorkCode) {
    std::vector<CString> shown;
    look = [&](int) {
        for (int id : {kInterval, kThreshold, kWorkCode}) shown.push_back(Shown(id));
        shown.push_back(FocusId() == kInterval ? u"interval" : u"elsewhere");
    };
    const ino_t before = ConfigInode();
    const std::string file = ConfigFile();
    OnPage(154, {"look"});
    EXPECT_EQ(shown, (std::vector<CString>{u"0", u"1000", u"No", u"interval"}));
    EXPECT_NE(ConfigInode(), before) << "the settings file is saved on every leave";
    EXPECT_EQ(ConfigFile(), file) << "WORKCODE rewritten with its own value";
    EXPECT_TRUE(Boxes().empty());

    // Work code Yes (Down, Down reaches the switch) and new numbers.
    OnPage(154, {Put(kInterval, "250"), Put(kThreshold, "5000"), "key DOWN", "key DOWN", "key RIGHT"});
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 250);
    EXPECT_EQ(g_MachineConfig.WARNINGNUM, 5000);
    EXPECT_EQ(g_MachineConfig.WORKCODE, 1);
    EXPECT_EQ(StoredConfig(u"REATTIMEGAP"), CString(u"250"));
    EXPECT_EQ(StoredConfig(u"WARNINGNUM"), CString(u"5000"));
    EXPECT_EQ(StoredConfig(u"WORKCODE"), CString(u"1"));
    shown.clear();
    OnPage(154, {"look"});
    EXPECT_EQ(shown, (std::vector<CString>{u"250", u"5000", u"Yes", u"interval"}));
}

// A work-code value the switch does not list (written by another program)
// shows as its number, an item of its own. A visit that leaves the switch
// alone or steps back to it keeps the value; another item chosen is stored.
TEST_F(RecordPage, AWorkCodeTheSwitchDoesNotListShowsItsNumberAndAChosenItemIsStored) {
    StoreUnlistedWorkCode();
    std::vector<CString> shown;
    std::vector<int> counts;
    look = [&](int) {
        shown.push_back(Shown(kWorkCode));
        counts.push_back(ItemCount(kWorkCode));
    };
    OnPage(154, {"look", Put(kInterval, "30")});
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 30);
    EXPECT_EQ(g_MachineConfig.WORKCODE, 9);
    EXPECT_EQ(StoredConfig(u"WORKCODE"), CString(u"9"));
    OnPage(154, {"key DOWN", "key DOWN", "key RIGHT", "key LEFT"});
    EXPECT_EQ(g_MachineConfig.WORKCODE, 9);
    EXPECT_EQ(StoredConfig(u"WORKCODE"), CString(u"9"));
    OnPage(154, {"key DOWN", "key DOWN", "key LEFT"});
    EXPECT_EQ(g_MachineConfig.WORKCODE, 1);
    EXPECT_EQ(StoredConfig(u"WORKCODE"), CString(u"1"));
    OnPage(154, {"look"});
    EXPECT_EQ(shown, (std::vector<CString>{u"9", u"Yes"}));
    EXPECT_EQ(counts, (std::vector<int>{3, 2})) << "No, Yes and the stored number; then No and Yes";
    EXPECT_TRUE(Boxes().empty());
}

// A flash with no room: the leave says the settings were not saved, and
// the old values stay in force, on the page and in the settings document,
// so that a later save does not write what was refused.
TEST_F(RecordPage, ASaveThatFailsIsToldAndTheOldValuesStay) {
    const std::string file = ConfigFile();
    BlockConfigSave();
    OnPage(154, {Put(kInterval, "30"), Put(kThreshold, "4000"), "key DOWN", "key DOWN", "key RIGHT", "answer ok"});
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kConfigNotSaved});
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 0);
    EXPECT_EQ(g_MachineConfig.WARNINGNUM, 1000);
    EXPECT_EQ(g_MachineConfig.WORKCODE, 0);
    CString inDocument;
    GetConfigValue(u"WARNINGNUM", inDocument);
    EXPECT_EQ(inDocument, CString(u"1000"));
    std::vector<CString> shown;
    look = [&](int) {
        for (int id : {kInterval, kThreshold, kWorkCode}) shown.push_back(Shown(id));
    };
    UnblockConfigSave(file);
    OnPage(154, {"look"});
    EXPECT_EQ(shown, (std::vector<CString>{u"0", u"1000", u"No"}));
    EXPECT_EQ(ConfigFile(), file) << "nothing of the failed leave written later";
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(RecordPage, NumbersAreKeptAsTypedAndWrittenOnlyWhenTheyChange) {
    // 007 is written as typed and read as 7; a threshold below 200 is kept.
    OnPage(154, {Put(kInterval, "007"), Put(kThreshold, "150")});
    EXPECT_EQ(StoredConfig(u"REATTIMEGAP"), CString(u"007"));
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 7);
    EXPECT_EQ(StoredConfig(u"WARNINGNUM"), CString(u"150"));
    EXPECT_EQ(g_MachineConfig.WARNINGNUM, 150);
    // The same numbers typed otherwise are no change.
    OnPage(154, {Put(kInterval, "7"), Put(kThreshold, "+150")});
    EXPECT_EQ(StoredConfig(u"REATTIMEGAP"), CString(u"007"));
    EXPECT_EQ(StoredConfig(u"WARNINGNUM"), CString(u"150"));
    // Letters read as 0, which is a change here, and are kept as typed.
    OnPage(154, {Put(kInterval, "abc")});
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 0);
    EXPECT_EQ(StoredConfig(u"REATTIMEGAP"), CString(u"abc"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordPage, NumbersOutOfRangeAreRefusedAndNothingIsWritten) {
    const std::string file = ConfigFile();
    LeaveWith("251", "1000");
    LeaveWith("-1", "1000");
    LeaveWith("", "1000");
    LeaveWith("0", "5001");
    LeaveWith("0", "");
    LeaveWith("300", "-5");
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{kIntervalRefused, kIntervalRefused, kIntervalRefused,
                                                    kThresholdRefused, kThresholdRefused, kIntervalRefused}))
        << "with both wrong only the interval is named";
    EXPECT_EQ(focusAfterLeave, std::vector<int>(6, kInterval)) << "the page stays with the focus where it was";
    using Kept = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(keptAfterLeave,
              (Kept{{"251", "1000"}, {"-1", "1000"}, {"", "1000"}, {"0", "5001"}, {"0", ""}, {"300", "-5"}}))
        << "a refused leave keeps what was typed for correction";
    EXPECT_EQ(ConfigFile(), file);
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 0);
    EXPECT_EQ(g_MachineConfig.WARNINGNUM, 1000);
}

TEST_F(RecordPage, HostileTextsAreRefusedOrStoredLiterally) {
    const std::string file = ConfigFile();
    LeaveWith("4294967296", "1000");
    LeaveWith("0", "4294967296");
    LeaveWith("0", "4294972296");
    LeaveWith(std::string(200, '2'), "1000");
    EXPECT_EQ(Boxes(),
              (std::vector<std::u16string>{kIntervalRefused, kThresholdRefused, kThresholdRefused, kIntervalRefused}));
    EXPECT_EQ(ConfigFile(), file);

    g_MachineConfig.REATTIMEGAP = 5;
    g_MachineConfig.WARNINGNUM = 5;
    const std::string letters(200, 'z');
    OnPage(154, {Put(kInterval, "'; DROP TABLE x; --"), Put(kThreshold, letters)});
    EXPECT_EQ(StoredConfig(u"REATTIMEGAP"), CString(u"'; DROP TABLE x; --"));
    EXPECT_EQ(StoredConfig(u"WARNINGNUM"), CString(std::u16string(200, u'z').c_str()));
    EXPECT_EQ(g_MachineConfig.REATTIMEGAP, 0);
    EXPECT_EQ(g_MachineConfig.WARNINGNUM, 0);
    EXPECT_EQ(Boxes().size(), 4u);
}

TEST_F(RecordPage, EachEntryListsTheWorkCodeOptionsOnce) {
    std::vector<CString> seen;
    int count = 0;
    look = [&](int) {
        seen.push_back(Shown(kWorkCode));
        count = ItemCount(kWorkCode);
    };
    // Entered, left to its menu and entered again in one session.
    OnPage(154, {"key ESC", "goto 154", "key DOWN", "key DOWN", "look", "key RIGHT", "look", "key RIGHT", "look"});
    EXPECT_EQ(seen, (std::vector<CString>{u"No", u"Yes", u"No"}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(g_MachineConfig.WORKCODE, 0);
    // The switch at the foot of the page answers a tap on its arrow.
    seen.clear();
    OnPage(154, {"tap 293 201", "look"});
    EXPECT_EQ(seen, (std::vector<CString>{u"Yes"}));
    EXPECT_EQ(g_MachineConfig.WORKCODE, 1);
}

// Chinese has no spaces between words: the help text still wraps inside
// its field, onto more lines, instead of running off the screen's edge.
TEST_F(RecordPage, TheChineseHelpWrapsInsideTheScreen) {
    g_MachineConfig.LanguageName = u"Chinese";
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    int lowerLines = -1;
    look = [&](int) {
        const Surface& screen = ScreenSurface();
        RECT help;
        ShownPage()->GetDlgItem(1218)->GetWindowRect(&help);
        lowerLines = 0;
        for (int y = help.top + 18; y < help.top + 40; ++y)
            for (int x = help.left; x < help.right; ++x)
                lowerLines += GetRValue(ColorRefFromPixel(screen.At(x, y))) < 100;
    };
    OnPage(154, {"look"});
    EXPECT_GT(lowerLines, 20) << "the help goes on below its first line";
}

TEST_F(RecordPage, Golden) {
    OnPage(154, {"golden rules_records"});
    EXPECT_TRUE(golden);
}

TEST_F(RecordPage, GoldenWithAWorkCodeNoItemLists) {
    StoreUnlistedWorkCode();
    OnPage(154, {"golden rules_records_unlisted"});
    EXPECT_TRUE(golden);
}

}  // namespace
