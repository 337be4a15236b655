// A page that hands the administrator to another page and gets him back
// shows again as he left it: its fields, list and buttons shown, the row he
// was on still selected.
#include <map>
#include <tuple>

#include "panel/ControlPanel.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/display.h"
#include "tests/tour/tour_fixture.h"
#include "users/UserFormPage.h"

namespace {

// What shows of the page: where it lies, the controls on it that show (each
// by id, place and, for a list, its selected row), and the task bar's pixels
// below the panel.
struct Look {
    CRect page;
    std::vector<std::tuple<int, CRect, LRESULT>> controls;
    std::vector<Pixel> bar;
};

Look LookNow() {
    Look look;
    CCPTreeBase* page = CControlPanel::Open() ? CControlPanel::Open()->ShownPage() : nullptr;
    if (page == nullptr || !page->IsWindowVisible()) return look;
    page->GetWindowRect(look.page);
    for (CWnd* control = page->GetWindow(GW_CHILD); control != nullptr; control = control->GetNextWindow()) {
        if (!control->IsWindowVisible()) continue;
        CRect place;
        control->GetWindowRect(place);
        const LRESULT selected = control->SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        look.controls.emplace_back(control->GetDlgCtrlID(), place, selected);
    }
    CRect panel;
    CControlPanel::Open()->GetWindowRect(panel);
    const Surface& screen = ScreenSurface();
    for (int y = panel.bottom; y < screen.Height(); ++y)
        look.bar.insert(look.bar.end(), screen.Row(y), screen.Row(y) + screen.Width());
    return look;
}

class RoundTripTest : public TourTest {
protected:
    // Each trip: the step after which the page is left, the step that
    // brings the administrator back to it, and whether the page's hint must
    // show again (a page whose jump moved the focus shows that field's).
    struct Trip {
        std::string left, back;
        bool sameHint;
    };
    void ExpectBackAsLeft(const std::vector<TourStep>& steps, const std::vector<Trip>& trips) {
        std::map<std::string, Look> seen;
        AfterEachStep([&seen](const std::string& step) { seen[step] = LookNow(); });
        Walk(u"English", steps);
        for (const auto& [left, back, sameHint] : trips) {
            ASSERT_TRUE(seen.count(left) && seen.count(back)) << left;
            const Look& before = seen[left];
            const Look& after = seen[back];
            ASSERT_FALSE(before.page.IsRectEmpty()) << left << ": a page shows";
            EXPECT_EQ(after.page, before.page) << back << ": the same page shows";
            EXPECT_EQ(after.controls, before.controls) << back << ": the controls that showed show again";
            if (sameHint) {
                EXPECT_TRUE(after.bar == before.bar) << back << ": the task bar shows the page's hint again";
            }
        }
    }
};

TEST_F(RoundTripTest, TheFindListComesBackFromTheEditPageAndTheCardWithItsRowSelected) {
    ExpectBackAsLeft({{"124 a row selected", {"goto 124", "key F1", "key RIGHT", "key DOWN"}},
                      {"124 to 122 edit", {"key F2"}},
                      {"122 back to 124", {"key ESC"}},
                      {"124 to the card", {"key ENTER"}},
                      {"the card back to 124", {"key ESC"}}},
                     {{"124 a row selected", "122 back to 124", true}, {"124 a row selected", "the card back to 124", true}});
}

TEST_F(RoundTripTest, TheAddAndEditPagesComeBackFromEnrolment) {
    const auto enroll = [](unsigned node) { return "tapon " + std::to_string(node) + " " + std::to_string(IDC_USER_ENROLL); };
    ExpectBackAsLeft({{"121 a user typed", {"goto 121", "key 3", "key 0", "key ENTER"}},
                      {"121 to 11", {enroll(121)}},
                      {"11 back to 121", {"key ESC"}},
                      {"121 left", {"key ESC"}},
                      {"122 a user loaded", {"goto 122", "key 1", "key ENTER"}},
                      {"122 to 11", {enroll(122)}},
                      {"11 back to 122", {"key ESC"}}},
                     {{"121 a user typed", "11 back to 121", false}, {"122 a user loaded", "11 back to 122", false}});
}

}  // namespace
