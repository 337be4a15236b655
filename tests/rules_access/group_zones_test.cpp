// The last access group with four different zones: each zone reaches its
// own column of a new row and of an existing one, its own field in memory,
// and its own selector when the group is shown again.
#include "core/MachineConfig.h"
#include "panel/ControlPanel.h"
#include "tests/rules_access/rules_fixture.h"
#include "widgets/JHSelectBox.h"

namespace group_zones_test {
namespace {

constexpr int kGroupBox = 1272;
constexpr int kZoneBoxes[] = {1274, 1276, 1278, 1280};

class GroupZonesTest : public RulesTest {
protected:
    static std::u16string ShownRow() {
        CWnd* page = CControlPanel::Open()->PageOf(166);
        std::u16string row = static_cast<CJHSelectBox*>(page->GetDlgItem(kGroupBox))->GetCurSelText().str();
        for (int id : kZoneBoxes) row += u"," + static_cast<CJHSelectBox*>(page->GetDlgItem(id))->GetCurSelText().str();
        return row;
    }
    static std::vector<int> Zones(int group) {
        AccessGroupEntry e;
        EXPECT_TRUE(g_MachineConfig.AccessGroupTable.Get(group, e));
        return {e.FirstSpace, e.SecondSpace, e.ThirdSpace, e.FourSpace};
    }
    // On the next zone selector, `steps` items on (negative: back).
    static std::vector<std::string> Step(int steps) {
        std::vector<std::string> keys{"key DOWN"};
        for (int i = 0; i < std::abs(steps); ++i) keys.push_back(steps > 0 ? "key RIGHT" : "key LEFT");
        return keys;
    }
    static std::vector<std::string> Lines(std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> lines;
        for (auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
        return lines;
    }
    std::vector<std::u16string> seen;
};

TEST_F(GroupZonesTest, EachOfTheFourZonesKeepsItsPlaceWhenInsertedUpdatedAndShown) {
    look = [this](int) { seen.push_back(ShownRow()); };
    // None, then groups 2 to 16: fifteen steps reach the last group. Zone
    // selectors go None, 1, ... 32.
    const std::vector<std::string> toLastGroup(15, "key RIGHT");
    OnPage(166, Lines({toLastGroup, Step(4), Step(9), Step(17), Step(32), {"answer yes", "key F1", "look"}}));
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"16|4|9|17|32"}));
    EXPECT_EQ(Zones(16), (std::vector<int>{4, 9, 17, 32}));

    OnPage(166, Lines({toLastGroup, {"look"}, Step(1), Step(1), Step(1), Step(-1), {"answer yes", "key F1", "look"}}));
    EXPECT_EQ(Rows(u"Select * from SpaceGroup"), (std::vector<std::string>{"16|5|10|18|31"}));
    EXPECT_EQ(Zones(16), (std::vector<int>{5, 10, 18, 31}));
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"16,4,9,17,32", u"16,4,9,17,32", u"16,5,10,18,31"}));
}

}  // namespace

}  // namespace group_zones_test
