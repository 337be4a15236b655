// The verify-type page (node 163): the stored code shown by row, the code
// built from the choice and stored on leaving, and stored fields that no
// item of their row offers kept as they are.
#include "core/ConfigXml.h"
#include "core/MachineConfig.h"
#include "panel/ControlPanel.h"
#include "tests/rules_access/rules_fixture.h"
#include "widgets/JHSelectBox.h"

namespace {

constexpr int kFingerBox = 1190;
constexpr int kCardBox = 1191;
constexpr int kIdBox = 1109;

class VerifyTypePage : public RulesTest {
protected:
    static CWnd* Control(int id) { return CControlPanel::Open()->PageOf(163)->GetDlgItem(id); }
    static CString Shown(int id) { return static_cast<CJHSelectBox*>(Control(id))->GetCurSelText(); }
    static CString Label(int id) {
        CString text;
        Control(id)->GetWindowText(text);
        return text;
    }
    // What the three rows and their trailing labels show, in row order.
    std::vector<CString> seen;
    void LookAtRows() {
        look = [this](int) {
            for (int id : {kFingerBox, kCardBox, kIdBox}) seen.push_back(Shown(id));
            for (int id : {1082, 1081, 1083}) seen.push_back(Label(id));
        };
    }
    void StoreCode(int code) {
        g_MachineConfig.VERTIFYTYPE = code;
        CString text;
        text.Format(u"%d", code);
        ASSERT_TRUE(SetConfigValue(u"VERTIFYTYPE", text, TRUE));
    }
};

TEST_F(VerifyTypePage, TheFactoryCodeIsShownAndAnUntouchedLeaveWritesNothing) {
    LookAtRows();
    const std::string before = ConfigFile();
    OnPage(163, {"look"});
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], u"Pass") << "201: a fingerprint passes alone";
    EXPECT_EQ(seen[1], u"Password");
    EXPECT_EQ(seen[2], u"Password");
    EXPECT_EQ(seen[3], u"");
    EXPECT_EQ(seen[4], u"Pass");
    EXPECT_EQ(seen[5], u"Pass");
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 201);
    EXPECT_EQ(ConfigFile(), before);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(VerifyTypePage, TheChoiceIsPackedAndStoredOnLeaving) {
    LookAtRows();
    std::vector<int> focus;
    // Fingerprint: Pass -> Card; card: Password -> Finger+Password; ID:
    // Password -> Refuse -> Pass (the list wraps).
    OnPage(163, {"key LEFT", "key DOWN", "key RIGHT", "key RIGHT", "key DOWN", "key LEFT", "key LEFT", "look"});
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], u"Card");
    EXPECT_EQ(seen[1], u"Finger+Password");
    EXPECT_EQ(seen[2], u"Pass");
    EXPECT_EQ(seen[3], u"Pass") << "the fingerprint row's label follows its choice";
    EXPECT_EQ(seen[4], u"Pass");
    EXPECT_EQ(seen[5], u"") << "passing at once needs no trailing word";
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 2 * 64 + 3 * 8 + 7);
    EXPECT_EQ(StoredConfig(u"VERTIFYTYPE"), CString(u"159"));

    // Coming back shows the stored code; going there and back is no change.
    seen.clear();
    const std::string before = ConfigFile();
    OnPage(163, {"look", "key RIGHT", "key LEFT"});
    EXPECT_EQ(seen[0], u"Card");
    EXPECT_EQ(ConfigFile(), before);
}

// A flash with no room: the new code is not taken, the box says so, and
// the page shows the stored code again.
TEST_F(VerifyTypePage, ACodeThatCannotBeSavedIsToldAndNotTaken) {
    const std::string file = ConfigFile();
    BlockConfigSave();
    OnPage(163, {"key LEFT", "answer ok"});
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kConfigNotSaved});
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 201);
    UnblockConfigSave(file);
    LookAtRows();
    OnPage(163, {"look"});
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0], u"Pass");
    EXPECT_EQ(ConfigFile(), file);
}

TEST_F(VerifyTypePage, StoredFieldsWithoutAnItemAreKeptUnlessChanged) {
    // Fingerprint 3, card 5, ID 6: the last two only the management
    // software stores.
    StoreCode(3 * 64 + 5 * 8 + 6);
    LookAtRows();
    const std::string before = ConfigFile();
    OnPage(163, {"look"});
    EXPECT_EQ(seen[1], u"Refuse") << "a field without an item shows the first";
    EXPECT_EQ(ConfigFile(), before) << "an untouched leave writes nothing";
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 238);

    // Changing the fingerprint row keeps the card and ID fields.
    OnPage(163, {"key LEFT"});
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 2 * 64 + 5 * 8 + 6);
    EXPECT_EQ(StoredConfig(u"VERTIFYTYPE"), CString(u"174"));

    // A row the administrator steps through takes what it shows at the end.
    OnPage(163, {"key DOWN", "key RIGHT", "key LEFT"});
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 2 * 64 + 0 * 8 + 6);
    EXPECT_EQ(StoredConfig(u"VERTIFYTYPE"), CString(u"134"));
}

TEST_F(VerifyTypePage, AStoredNumberBeyondOneByteIsShownAndWrittenBackAsItsLowByte) {
    // 457 = 256 + 201, and -1 whose low byte is 255 (fields 3, 7, 7).
    for (int code : {457, -1}) {
        StoreCode(code);
        seen.clear();
        LookAtRows();
        OnPage(163, {"look"});
        const int lowByte = code & 0xFF;
        EXPECT_EQ(seen[0], u"Pass");
        EXPECT_EQ(seen[1], code == 457 ? u"Password" : u"Pass");
        EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, lowByte);
        CString text;
        text.Format(u"%d", lowByte);
        EXPECT_EQ(StoredConfig(u"VERTIFYTYPE"), text);
    }
}

TEST_F(VerifyTypePage, EachEntryListsEveryOptionOnce) {
    std::vector<CString> cycle;
    std::vector<int> counts;
    look = [&](int) {
        cycle.push_back(Shown(kFingerBox));
        if (counts.empty())
            for (int id : {kFingerBox, kCardBox, kIdBox}) counts.push_back(ItemCount(id));
    };
    // Four steps bring a four-item list back to where it started; five
    // steps do the same on the card row.
    // Entered, left to its menu and entered again in one session.
    std::vector<std::string> lines = {"key ESC", "goto 163", "look"};
    for (int i = 0; i < 4; ++i) lines.insert(lines.end(), {"key RIGHT", "look"});
    OnPage(163, lines);
    ASSERT_EQ(cycle.size(), 5u);
    EXPECT_EQ(cycle[4], cycle[0]);
    EXPECT_EQ(cycle[1], u"Refuse");
    EXPECT_EQ(cycle[2], u"Password");
    EXPECT_EQ(cycle[3], u"Card");
    EXPECT_EQ(counts, (std::vector<int>{4, 5, 5}));

    std::vector<CString> cardCycle;
    look = [&](int) { cardCycle.push_back(Shown(kCardBox)); };
    lines = {"key DOWN", "look"};
    for (int i = 0; i < 5; ++i) lines.insert(lines.end(), {"key RIGHT", "look"});
    OnPage(163, lines);
    ASSERT_EQ(cardCycle.size(), 6u);
    EXPECT_EQ(cardCycle[5], cardCycle[0]);
    EXPECT_EQ(cardCycle[3], u"Pass");
    EXPECT_EQ(cardCycle[4], u"Refuse");
    EXPECT_EQ(g_MachineConfig.VERTIFYTYPE, 201) << "a full round is no change";
}

TEST_F(VerifyTypePage, FocusWalksTheRows) {
    std::vector<int> focus;
    look = [&](int) { focus.push_back(FocusId()); };
    OnPage(163, {"look", "key DOWN", "look", "key DOWN", "look", "key UP", "look"});
    EXPECT_EQ(focus, (std::vector<int>{kFingerBox, kCardBox, kIdBox, kCardBox}));
}

TEST_F(VerifyTypePage, Golden) {
    OnPage(163, {"golden rules_verify_type"});
    EXPECT_TRUE(golden);
}

}  // namespace
