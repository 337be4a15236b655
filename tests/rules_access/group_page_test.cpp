// The access groups page (node 166): a group's zones shown from the
// in-memory group table, set after a question into the table and the
// SpaceGroup row, and nothing stored on leaving.
#include <algorithm>

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "panel/ControlPanel.h"
#include "platform/ui/display.h"
#include "tests/rules_access/rules_fixture.h"
#include "widgets/JHSelectBox.h"

namespace {

constexpr int kGroupBox = 1272;
constexpr int kZoneBoxes[] = {1274, 1276, 1278, 1280};

class GroupPage : public RulesTest {
protected:
    static CString Shown(int id) {
        return static_cast<CJHSelectBox*>(CControlPanel::Open()->PageOf(166)->GetDlgItem(id))->GetCurSelText();
    }
    // The group and its four zones as shown, one text per look.
    std::vector<std::u16string> seen;
    void LookAtSelectors() {
        look = [this](int) {
            std::u16string row = Shown(kGroupBox).str();
            for (int id : kZoneBoxes) row += u"," + Shown(id).str();
            seen.push_back(row);
        };
    }
    static AccessGroupEntry Group(int number) {
        AccessGroupEntry entry;
        EXPECT_TRUE(g_MachineConfig.AccessGroupTable.Get(number, entry));
        return entry;
    }
    static std::vector<int> Zones(const AccessGroupEntry& e) {
        return {e.FirstSpace, e.SecondSpace, e.ThirdSpace, e.FourSpace};
    }
    // From None on the group selector to group `g` (2 to 16).
    static std::vector<std::string> ToGroup(int g) {
        return std::vector<std::string>(static_cast<size_t>(g - 1), "key RIGHT");
    }
};

TEST_F(GroupPage, SetAskedAndConfirmedStoresTheZonesInMemoryAndTable) {
    LookAtSelectors();
    // Group 5, zone 1 = 3, the others None; F1 sets.
    std::vector<std::string> lines = ToGroup(5);
    lines.insert(lines.end(), {"look", "key DOWN", "key RIGHT", "key RIGHT", "key RIGHT", "answer yes", "key F1", "look"});
    OnPage(166, lines);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], u"Save this group's zones?");
    EXPECT_EQ(seen[0], u"5,None,None,None,None") << "a group without a row shows no zones";
    EXPECT_EQ(seen[1], u"5,3,None,None,None");
    EXPECT_EQ(Zones(Group(5)), (std::vector<int>{3, 0, 0, 0}));
    EXPECT_EQ(Group(5).GroupID, 0) << "the set writes the zones only";
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"5|3|0|0|0"}));

    // Shown again from memory; a second set updates the one row. Enter on
    // the Set button sets too.
    seen.clear();
    lines = ToGroup(5);
    lines.insert(lines.end(), {"look", "key DOWN", "key DOWN", "key RIGHT", "key DOWN", "key DOWN", "key DOWN",
                               "answer yes", "key ENTER", "look"});
    OnPage(166, lines);
    EXPECT_EQ(seen[0], u"5,3,None,None,None");
    EXPECT_EQ(seen[1], u"5,3,1,None,None");
    EXPECT_EQ(Zones(Group(5)), (std::vector<int>{3, 1, 0, 0}));
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"5|3|1|0|0"}));
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(GroupPage, NoneSetsNothingAndNoStoresNothing) {
    // None: F1, Enter and a tap on Set ask nothing.
    OnPage(166, {"key F1", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "key ENTER", "tap 160 168"});
    EXPECT_TRUE(Boxes().empty());
    // Answered no: neither memory nor table changes.
    std::vector<std::string> lines = ToGroup(7);
    lines.insert(lines.end(), {"key DOWN", "key RIGHT", "answer no", "tap 160 168"});
    OnPage(166, lines);
    EXPECT_EQ(Boxes().size(), 1u) << "a tap on Set asks";
    EXPECT_EQ(Zones(Group(7)), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_TRUE(Rows(u"Select * from SpaceGroup").empty());
    // Zones changed and the page left without a set: nothing asked or stored.
    lines = ToGroup(7);
    lines.insert(lines.end(), {"key DOWN", "key RIGHT", "key DOWN", "key LEFT"});
    OnPage(166, lines);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Zones(Group(7)), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_TRUE(Rows(u"Select * from SpaceGroup").empty());
}

TEST_F(GroupPage, AStoredZoneWithoutAnItemShowsNone) {
    // Zone numbers 40 and -1 came from elsewhere; group 5 shows zone 3.
    g_MachineConfig.AccessGroupTable.Set(5, AccessGroupEntry{5, 3, 3, 3, 3});
    g_MachineConfig.AccessGroupTable.Set(6, AccessGroupEntry{6, 40, 2, -1, 33});
    LookAtSelectors();
    std::vector<std::string> lines = ToGroup(5);
    lines.insert(lines.end(), {"look", "key RIGHT", "look", "answer yes", "key F1"});
    OnPage(166, lines);
    EXPECT_EQ(seen[0], u"5,3,3,3,3");
    EXPECT_EQ(seen[1], u"6,None,2,None,None") << "not group 5's zones";
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Zones(Group(6)), (std::vector<int>{0, 2, 0, 0})) << "the set stores what is shown";
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"6|0|2|0|0"}));
}

TEST_F(GroupPage, EveryVisitStartsAtNoneAndListsEachNumberOnce) {
    std::vector<std::u16string> groups;
    std::vector<std::u16string> zones;
    std::vector<int> counts;
    look = [&](int) {
        groups.push_back(Shown(kGroupBox).str());
        zones.push_back(Shown(kZoneBoxes[0]).str());
        counts.push_back(ItemCount(kGroupBox) * 100 + ItemCount(kZoneBoxes[0]));
    };
    // A visit that moves both boxes, then the page left to its menu and
    // entered again in the same session, twice.
    std::vector<std::string> lines = {"key RIGHT", "key DOWN", "key RIGHT", "key ESC", "goto 166", "look"};
    for (int i = 0; i < 16; ++i) lines.insert(lines.end(), {"key RIGHT", "look"});
    lines.insert(lines.end(), {"key ESC", "goto 166", "key DOWN", "look"});
    for (int i = 0; i < 33; ++i) lines.insert(lines.end(), {"key RIGHT", "look"});
    OnPage(166, lines);
    ASSERT_EQ(groups.size(), 51u);
    EXPECT_TRUE(std::all_of(counts.begin(), counts.end(), [](int n) { return n == 16 * 100 + 33; }))
        << "every visit lists fifteen groups and None, thirty-two zones and None";
    groups.resize(17);
    EXPECT_EQ(groups.front(), u"None");
    EXPECT_EQ(groups[1], u"2") << "groups 0 and 1 are not offered";
    EXPECT_EQ(groups[15], u"16");
    EXPECT_EQ(groups.back(), u"None") << "fifteen groups and None, each once";
    EXPECT_EQ(zones.front(), u"None");

    zones.erase(zones.begin(), zones.begin() + 17);
    ASSERT_EQ(zones.size(), 34u);
    EXPECT_EQ(zones[0], u"None");
    EXPECT_EQ(zones[1], u"1");
    EXPECT_EQ(zones[32], u"32");
    EXPECT_EQ(zones.back(), u"None");
}

TEST_F(GroupPage, FocusGoesBackToTheGroupAfterASet) {
    std::vector<int> focus;
    look = [&](int) { focus.push_back(FocusId()); };
    std::vector<std::string> lines = ToGroup(3);
    lines.insert(lines.end(), {"look", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "key DOWN", "look",
                               "answer yes", "key ENTER", "look"});
    OnPage(166, lines);
    EXPECT_EQ(focus, (std::vector<int>{kGroupBox, 1270, kGroupBox}));
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"3|0|0|0|0"}));
}

// The box that held the focus when the set was asked loses it once the
// question has closed: what is on the screen then must be what a full
// redraw of the page shows, with no part of the question's area left bare.
TEST_F(GroupPage, ASetLeavesNoStalePixelsWhereTheQuestionWas) {
    int differing = -1;
    look = [&](int) {
        const Surface& screen = ScreenSurface();
        std::vector<Pixel> before;
        for (int y = 0; y < screen.Height(); ++y)
            before.insert(before.end(), screen.Row(y), screen.Row(y) + screen.Width());
        ShownPage()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        differing = 0;
        for (int y = 0, i = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x, ++i) differing += before[static_cast<size_t>(i)] != screen.At(x, y);
    };
    std::vector<std::string> lines = ToGroup(2);
    lines.insert(lines.end(), {"key DOWN", "key RIGHT", "answer yes", "key F1", "look"});
    OnPage(166, lines);
    EXPECT_EQ(differing, 0) << "pixels that differ from a full redraw";
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"2|1|0|0|0"}));
}

TEST_F(GroupPage, Golden) {
    OnPage(166, {"golden rules_groups"});
    EXPECT_TRUE(golden);
}

TEST_F(GroupPage, GoldenInChinese) {
    g_MachineConfig.LanguageName = u"Chinese";
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    // Group 2 with its first zone 4.
    g_MachineConfig.AccessGroupTable.Set(2, AccessGroupEntry{2, 4, 0, 0, 0});
    OnPage(166, {"key RIGHT", "golden rules_groups_cn"});
    EXPECT_TRUE(golden);
}

}  // namespace
