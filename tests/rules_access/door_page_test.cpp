// The door, alarm and Wiegand page (node 164): the stored settings shown,
// the two numbers checked on leaving, the settings written as typed and the
// two alarm-check frames sent to the I/O controller on every leave.
#include "core/ConfigXml.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "platform/base/utf.h"
#include "tests/rules_access/rules_fixture.h"

namespace {

constexpr int kRelayMode = 1245;
constexpr int kWiegandMode = 1247;
constexpr int kTamper = 1309;
constexpr int kDoorSensor = 1310;
constexpr int kFacilityCode = 1249;
constexpr int kLockDelay = 1256;

const std::u16string kFacilityRefused = u"Site code must be 0-254. Please correct it.";
const std::u16string kDelayRefused = u"Lock delay must be 0-15 s. Please correct it.";

using Bytes = std::vector<BYTE>;

class DoorPage : public RulesTest {
protected:
    // The frames of one passed leave with the two checks as given.
    static Bytes Frames(int doorSensor, int tamper) {
        const BYTE d = static_cast<BYTE>(doorSensor);
        const BYTE t = static_cast<BYTE>(tamper);
        return {0xF5, d, d, 0xF5, 0xF4, t, t, 0xF4};
    }
    // Relay mode 7, Wiegand format 5, tamper 2 and door sensor -1: values
    // no item lists, in the file and in force.
    static void StoreUnlistedChoices() {
        CMachineConfig& c = g_MachineConfig;
        const std::pair<const char16_t*, int*> stored[] = {
            {u"RING", &c.RING}, {u"WIEGANDMODE", &c.WIEGANDMODE}, {u"FCCHECKALARM", &c.FCCHECKALARM},
            {u"MCCHECKALARM", &c.MCCHECKALARM}};
        const int values[] = {7, 5, 2, -1};
        for (size_t i = 0; i < std::size(stored); ++i) {
            CString text;
            text.Format(u"%d", values[i]);
            SetConfigValue(stored[i].first, text, i + 1 == std::size(stored));
            *stored[i].second = values[i];
        }
    }
    void LeaveWith(const std::string& facility, const std::string& delay) {
        TryLeave(164, {kFacilityCode, facility}, {kLockDelay, delay}, g_MachineConfig.WIEGANDHEAD,
                 g_MachineConfig.LOCKDELAY);
    }
};

TEST_F(DoorPage, TheStoredSettingsAreShownAndAnUnchangedLeaveStillSendsAndSaves) {
    std::vector<CString> shown;
    look = [&](int) {
        for (int id : {kRelayMode, kWiegandMode, kTamper, kDoorSensor, kFacilityCode, kLockDelay})
            shown.push_back(Shown(id));
        shown.push_back(CString() + static_cast<char16_t>(u'0' + FocusId() % 10));
    };
    const ino_t before = ConfigInode();
    const std::string file = ConfigFile();
    OnPage(164, {"look"});
    ASSERT_EQ(shown.size(), 7u);
    EXPECT_EQ(shown[0], u"1-Bell 2-Lock");
    EXPECT_EQ(shown[1], u"Wiegand 26");
    EXPECT_EQ(shown[2], u"Yes") << "the tamper row shows FCCHECKALARM";
    EXPECT_EQ(shown[3], u"No");
    EXPECT_EQ(shown[4], u"0");
    EXPECT_EQ(shown[5], u"10");
    EXPECT_EQ(shown[6], u"5") << "the focus starts on the relay mode (1245)";
    EXPECT_EQ(Sent(), Frames(1, 0));
    EXPECT_NE(ConfigInode(), before) << "the settings file is saved on every leave";
    EXPECT_EQ(ConfigFile(), file) << "with the same values";
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DoorPage, TheChoicesReachTheSettingsTheFileAndTheController) {
    // Relay "Lock" (3), Wiegand "Fixed-code Wiegand" (2), tamper No, door
    // sensor Yes.
    OnPage(164, {"key LEFT", "key LEFT", "key DOWN", "key LEFT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT"});
    const CMachineConfig& c = g_MachineConfig;
    EXPECT_EQ(c.RING, 3);
    EXPECT_EQ(c.WIEGANDMODE, 2);
    EXPECT_EQ(c.FCCHECKALARM, 0);
    EXPECT_EQ(c.MCCHECKALARM, 1);
    EXPECT_EQ(StoredConfig(u"RING"), CString(u"3"));
    EXPECT_EQ(StoredConfig(u"WIEGANDMODE"), CString(u"2"));
    EXPECT_EQ(StoredConfig(u"FCCHECKALARM"), CString(u"0"));
    EXPECT_EQ(StoredConfig(u"MCCHECKALARM"), CString(u"1"));
    EXPECT_EQ(Sent(), Frames(0, 1));

    // Coming back shows them; tamper Yes and door sensor No send F5 01 and F4 00.
    std::vector<CString> shown;
    look = [&](int) {
        for (int id : {kRelayMode, kWiegandMode, kTamper, kDoorSensor}) shown.push_back(Shown(id));
    };
    OnPage(164, {"look", "key DOWN", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT"});
    EXPECT_EQ(shown, (std::vector<CString>{u"Lock", u"Fixed-code Wiegand", u"No", u"Yes"}));
    EXPECT_EQ(Sent(), Frames(1, 0));
}

// Values the file holds that the selectors do not list (written by another
// program) show as what they mean: a relay mode beyond the list drives
// neither relay ("None"), a check not 0 is on in the controller ("Yes"),
// and a Wiegand format of no item shows its number. A visit that leaves a
// selector alone keeps the value as the file holds it; an item the person
// leaves a selector on is stored, even the one it showed at first.
TEST_F(DoorPage, ValuesTheSelectorsDoNotListShowWhatTheyMeanAndAChosenItemIsStored) {
    StoreUnlistedChoices();
    const CMachineConfig& c = g_MachineConfig;
    const auto inForce = [&c] { return std::vector<int>{c.RING, c.WIEGANDMODE, c.FCCHECKALARM, c.MCCHECKALARM}; };
    const auto inFile = [this] {
        std::vector<std::optional<CString>> texts;
        for (const char16_t* key : {u"RING", u"WIEGANDMODE", u"FCCHECKALARM", u"MCCHECKALARM"})
            texts.push_back(StoredConfig(key));
        return texts;
    };
    using Texts = std::vector<std::optional<CString>>;
    std::vector<CString> shown;
    int wiegandItems = 0;
    look = [&](int) {
        shown.clear();
        for (int id : {kRelayMode, kWiegandMode, kTamper, kDoorSensor}) shown.push_back(Shown(id));
        wiegandItems = ItemCount(kWiegandMode);
    };
    OnPage(164, {"look", Put(kLockDelay, "5")});
    EXPECT_EQ(shown, (std::vector<CString>{u"None", u"5", u"Yes", u"Yes"}));
    EXPECT_EQ(wiegandItems, 4) << "the three formats and the stored one";
    EXPECT_EQ(c.LOCKDELAY, 5);
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(u"5"));
    EXPECT_EQ(inForce(), (std::vector<int>{7, 5, 2, -1}));
    EXPECT_EQ(inFile(), (Texts{CString(u"7"), CString(u"5"), CString(u"2"), CString(u"-1")}));
    EXPECT_EQ(Sent(), Frames(1, 1));

    // Tamper "Yes" moved to "No": the check is off, the rest stays.
    OnPage(164, {"key DOWN", "key DOWN", "key RIGHT"});
    EXPECT_EQ(inForce(), (std::vector<int>{7, 5, 0, -1}));
    EXPECT_EQ(inFile(), (Texts{CString(u"7"), CString(u"5"), CString(u"0"), CString(u"-1")}));
    EXPECT_EQ(Sent(), Frames(0, 1));

    // Stepped on and back, relay mode and door sensor store the items they
    // show; the Wiegand format's own item is the stored number itself.
    OnPage(164, {"key RIGHT", "key LEFT", "key DOWN", "key RIGHT", "key LEFT", "key DOWN", "key DOWN", "key LEFT",
                 "key RIGHT"});
    EXPECT_EQ(inForce(), (std::vector<int>{4, 5, 0, 1}));
    EXPECT_EQ(inFile(), (Texts{CString(u"4"), CString(u"5"), CString(u"0"), CString(u"1")}));

    // A listed format chosen, the stored number's item is gone next time.
    OnPage(164, {"key DOWN", "key RIGHT"});
    EXPECT_EQ(c.WIEGANDMODE, 0);
    EXPECT_EQ(StoredConfig(u"WIEGANDMODE"), CString(u"0"));
    OnPage(164, {"look"});
    EXPECT_EQ(shown, (std::vector<CString>{u"None", u"Wiegand 26", u"No", u"Yes"}));
    EXPECT_EQ(wiegandItems, 3);
    EXPECT_TRUE(Boxes().empty());
}

// A flash with no room: the leave says the settings were not saved; the
// old relay mode, checks and numbers stay in force (the controller is told
// the old checks), and a later save writes none of the refused values.
TEST_F(DoorPage, ASaveThatFailsIsToldAndTheOldSettingsStayInForce) {
    const std::string file = ConfigFile();
    BlockConfigSave();
    // Relay "Lock", tamper No, door sensor Yes, lock delay 5.
    OnPage(164, {"key LEFT", "key LEFT", "key DOWN", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT",
                 Put(kLockDelay, "5"), "answer ok"});
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kConfigNotSaved});
    const CMachineConfig& c = g_MachineConfig;
    EXPECT_EQ(c.RING, 0);
    EXPECT_EQ(c.FCCHECKALARM, 1);
    EXPECT_EQ(c.MCCHECKALARM, 0);
    EXPECT_EQ(c.LOCKDELAY, 10);
    EXPECT_EQ(Sent(), Frames(1, 0)) << "the checks in force";
    UnblockConfigSave(file);
    OnPage(164, {});
    EXPECT_EQ(ConfigFile(), file);
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(DoorPage, NumbersAreWrittenAsTypedAndOnlyWhenTheyChange) {
    // The file spells the facility code "000": an unchanged number leaves
    // it so, and a change of the Wiegand format alone writes only that.
    ASSERT_TRUE(SetConfigValue(u"WIEGANDHEAD", u"000", TRUE));
    OnPage(164, {"key DOWN", "key RIGHT"});
    EXPECT_EQ(StoredConfig(u"WIEGANDHEAD"), CString(u"000"));
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(u"10"));
    EXPECT_EQ(StoredConfig(u"WIEGANDMODE"), CString(u"1"));

    // Typed on the keypad: 007 is kept as typed and read as 7.
    // A field reached with the arrows has its text selected; RIGHT puts
    // the caret after it.
    OnPage(164, {"key DOWN", "key DOWN", "key DOWN", "key DOWN", "key RIGHT", "key BACK", "key 0", "key 0", "key 7",
                 "key DOWN", "key RIGHT", "key RIGHT", "key BACK", "key BACK", "key 5"});
    EXPECT_EQ(StoredConfig(u"WIEGANDHEAD"), CString(u"007"));
    EXPECT_EQ(g_MachineConfig.WIEGANDHEAD, 7);
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(u"5"));
    EXPECT_EQ(g_MachineConfig.LOCKDELAY, 5);
    // 7 typed again is no change: the file keeps 007.
    OnPage(164, {Put(kFacilityCode, "7")});
    EXPECT_EQ(StoredConfig(u"WIEGANDHEAD"), CString(u"007"));
    EXPECT_TRUE(Boxes().empty());
}

// A person moves to a number with the arrows and types the new one: it
// replaces the number shown (0 and 10 here), rather than being put in
// front of it (990, 510: both refused).
TEST_F(DoorPage, ANumberTypedInAFieldReachedWithTheArrowsReplacesTheOldOne) {
    OnPage(164, {"key DOWN", "key DOWN", "key DOWN", "key DOWN", "key 9", "key 9", "key DOWN", "key 5"});
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(StoredConfig(u"WIEGANDHEAD"), CString(u"99"));
    EXPECT_EQ(g_MachineConfig.WIEGANDHEAD, 99);
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(u"5"));
}

TEST_F(DoorPage, NumbersOutOfRangeAreRefusedWithTheFocusOnTheirField) {
    const std::string file = ConfigFile();
    LeaveWith("255", "10");
    LeaveWith("-1", "10");
    LeaveWith("", "10");
    LeaveWith("0", "16");
    LeaveWith("0", "");
    LeaveWith("300", "99");
    const std::vector<std::u16string> boxes = Boxes();
    EXPECT_EQ(boxes, (std::vector<std::u16string>{kFacilityRefused, kFacilityRefused, kFacilityRefused,
                                                  kDelayRefused, kDelayRefused, kFacilityRefused}))
        << "with both wrong only the facility code is named";
    EXPECT_EQ(focusAfterLeave, (std::vector<int>{kFacilityCode, kFacilityCode, kFacilityCode, kLockDelay,
                                                   kLockDelay, kFacilityCode}));
    using Kept = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(keptAfterLeave, (Kept{{"255", "10"}, {"-1", "10"}, {"", "10"}, {"0", "16"}, {"0", ""}, {"300", "99"}}))
        << "a refused leave keeps what was typed for correction";
    // Each refused leave stored and sent nothing; the leaves that followed
    // with the stored values sent their frames and saved the same file.
    EXPECT_EQ(Sent().size(), 6u * 8u);
    EXPECT_EQ(ConfigFile(), file);
    EXPECT_EQ(g_MachineConfig.WIEGANDHEAD, 0);
    EXPECT_EQ(g_MachineConfig.LOCKDELAY, 10);

    // The bounds themselves pass.
    OnPage(164, {Put(kFacilityCode, "254"), Put(kLockDelay, "15")});
    EXPECT_EQ(g_MachineConfig.WIEGANDHEAD, 254);
    EXPECT_EQ(g_MachineConfig.LOCKDELAY, 15);
    OnPage(164, {Put(kFacilityCode, "0"), Put(kLockDelay, "0")});
    EXPECT_EQ(StoredConfig(u"WIEGANDHEAD"), CString(u"0"));
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(u"0"));
}

// A lock delay the file holds beyond 15 s (written by another program) is
// refused on every way out of the page: the first Esc of a visit, an Esc
// after Enter took the focus through the fields, an Esc after a tap on a
// selector. Nothing is stored or sent until a delay the page takes is typed.
TEST_F(DoorPage, AStoredLockDelayBeyondItsRangeIsRefusedOnEveryLeave) {
    const auto storeLongDelay = [] {
        ASSERT_TRUE(SetConfigValue(u"LOCKDELAY", u"300", TRUE));
        g_MachineConfig.LOCKDELAY = 300;
    };
    std::vector<int> focus;
    look = [&](int) { focus.push_back(FocusId()); };
    storeLongDelay();
    OnPage(164, {"look", "key ESC", "answer ok", "look", Put(kLockDelay, "15")});
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kDelayRefused});
    EXPECT_EQ(focus, (std::vector<int>{kRelayMode, kLockDelay}));
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(u"15"));
    EXPECT_EQ(Sent().size(), 8u) << "only the leave that passed";

    storeLongDelay();
    const std::string file = ConfigFile();
    focus.clear();
    std::vector<std::string> lines;
    for (int field = 0; field < 5; ++field) lines.insert(lines.end(), {"wait 600", "key ENTER"});
    lines.insert(lines.end(), {"look", "key ESC", "answer ok", "look", "tap 293 11", "key ESC", "answer ok", "look",
                               Put(kLockDelay, "15")});
    look = [&](int) {
        focus.push_back(FocusId());
        if (focus.size() == 3) {
            EXPECT_EQ(ConfigFile(), file) << "the refused leaves stored nothing";
            EXPECT_TRUE(Sent().empty()) << "and sent nothing";
        }
    };
    OnPage(164, lines);
    EXPECT_EQ(Boxes(), std::vector<std::u16string>(3, kDelayRefused));
    EXPECT_EQ(focus, std::vector<int>(3, kLockDelay)) << "Enter went through the fields to the delay";
    EXPECT_EQ(g_MachineConfig.LOCKDELAY, 15);
    EXPECT_EQ(Sent().size(), 8u);
}

TEST_F(DoorPage, HostileTextsAreRefusedOrStoredLiterally) {
    const std::string file = ConfigFile();
    // Beyond 32 bits: never read as 0 (or as any other number).
    LeaveWith("4294967296", "10");
    LeaveWith("0", "4294967296");
    LeaveWith("-4294967296", "10");
    LeaveWith(std::string(200, '1'), "10");
    LeaveWith("0", std::string(200, '9'));
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{kFacilityRefused, kDelayRefused, kFacilityRefused,
                                                    kFacilityRefused, kDelayRefused}));
    EXPECT_EQ(ConfigFile(), file);

    // Texts without a number read as 0 and, when that is a change, are
    // kept as typed: quotes and markup survive the settings file.
    g_MachineConfig.WIEGANDHEAD = 9;
    const std::string letters(200, 'a');
    OnPage(164, {Put(kFacilityCode, "'\"<&>"), Put(kLockDelay, letters)});
    EXPECT_EQ(g_MachineConfig.WIEGANDHEAD, 0);
    EXPECT_EQ(g_MachineConfig.LOCKDELAY, 0);
    EXPECT_EQ(StoredConfig(u"WIEGANDHEAD"), CString(u"'\"<&>"));
    EXPECT_EQ(StoredConfig(u"LOCKDELAY"), CString(Utf8ToUtf16(letters).c_str()));
    EXPECT_EQ(StoredConfig(u"RING"), CString(u"0"));
    EXPECT_EQ(Boxes().size(), 5u);
}

TEST_F(DoorPage, EachEntryListsEveryOptionOnce) {
    std::vector<CString> relay;
    std::vector<int> counts;
    look = [&](int) {
        relay.push_back(Shown(kRelayMode));
        if (counts.empty())
            for (int id : {kRelayMode, kWiegandMode, kTamper, kDoorSensor}) counts.push_back(ItemCount(id));
    };
    // Entered, left to its menu and entered again in one session.
    std::vector<std::string> lines = {"key ESC", "goto 164", "look"};
    for (int i = 0; i < 5; ++i) lines.insert(lines.end(), {"key RIGHT", "look"});
    OnPage(164, lines);
    EXPECT_EQ(relay, (std::vector<CString>{u"1-Bell 2-Lock", u"1-Lock", u"2-Lock", u"Lock", u"None", u"1-Bell 2-Lock"}));
    EXPECT_EQ(counts, (std::vector<int>{5, 3, 2, 2})) << "relay mode, Wiegand format, tamper, door sensor";
    const CMachineConfig& c = g_MachineConfig;
    EXPECT_EQ((std::vector<int>{c.RING, c.WIEGANDMODE, c.FCCHECKALARM, c.MCCHECKALARM}), (std::vector<int>{0, 0, 1, 0}))
        << "counting leaves each selector as it was";
}

TEST_F(DoorPage, Golden) {
    OnPage(164, {"golden rules_door"});
    EXPECT_TRUE(golden);
}

TEST_F(DoorPage, GoldenWithValuesNoItemLists) {
    StoreUnlistedChoices();
    OnPage(164, {"golden rules_door_unlisted"});
    EXPECT_TRUE(golden);
}

TEST_F(DoorPage, GoldenWithValuesNoItemListsInChinese) {
    g_MachineConfig.LanguageName = u"Chinese";
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    StoreUnlistedChoices();
    OnPage(164, {"golden rules_door_unlisted_cn"});
    EXPECT_TRUE(golden);
}

}  // namespace
