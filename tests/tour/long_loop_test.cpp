// The screen while an export and an import work through thousands of
// records without going back to the message loop: at several percentages
// what reaches the display is what the windows paint afresh (the answered
// question gone, the page whole) with the bar at the percentage the loop
// set last.
#include <functional>
#include <map>
#include <set>

#include "data/DataGlobals.h"
#include "panel/ControlPanel.h"
#include "platform/ui/display.h"
#include "tests/tour/paint_allowances.h"
#include "tests/tour/tour_fixture.h"
#include "transfer/TransferPage.h"

namespace long_loop_test {
namespace {

constexpr int kUsers = 3000;
const std::set<UINT> kCheckedPercents{1, 35, 70, 99};

// A display that hands each picture it is given to the test.
class WatchedDisplay : public DisplayBackend {
public:
    explicit WatchedDisplay(std::function<void()> watch) : m_watch(std::move(watch)) {}
    void Present(const Surface&) override {
        // The check paints afresh, and what it paints comes here too.
        if (m_watching) return;
        m_watching = true;
        m_watch();
        m_watching = false;
    }
    void PumpEvents() override {}
    bool NeedsPolling() const override { return false; }

private:
    std::function<void()> m_watch;
    bool m_watching = false;
};

class LongLoopScreenTest : public TourTest {
protected:
    LongLoopScreenTest() {
        CString users;
        users.Format(u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1000 UNION ALL SELECT n + 1 FROM s "
                     u"WHERE n < %d) SELECT n, '', 'user' || n, '0', '', 1, 6, '', 0, '', 0, 1 FROM s",
                     999 + kUsers);
        g_pDatabase->DirectStatement(users);
        g_pDatabase->DirectStatement(u"INSERT INTO FPinfo SELECT 0, userid, randomblob(338) FROM Userinfo");
        StartDisplayWith(std::make_unique<WatchedDisplay>([this] { CheckPresented(); }));
    }
    ~LongLoopScreenTest() override { StartDisplay(DisplayMode::Headless); }

    // A picture presented while the bar stands at a chosen percentage is
    // the screen painted afresh.
    void CheckPresented() {
        CControlPanel* panel = CControlPanel::Open();
        auto* page = panel != nullptr ? dynamic_cast<CTransferPage*>(panel->ShownPage()) : nullptr;
        if (page == nullptr || loop.empty()) return;
        const UINT percent = page->ProgressBar().GetPos();
        if (kCheckedPercents.count(percent) == 0 || !checked[loop].insert(percent).second) return;
        const std::string at = loop + "-" + std::to_string(percent);
        const std::vector<StalePaint> stale = FindStalePaint(LivePaint(), "long-loop-" + at);
        EXPECT_TRUE(stale.empty()) << at << "%:\n" << Describe(stale);
    }
    std::string Loop(const std::string& name) {
        return Probe([this, name] { loop = name; });
    }

    std::string loop;
    std::map<std::string, std::set<UINT>> checked;
};

TEST_F(LongLoopScreenTest, ThePresentedScreenIsWholeWithTheBarAsSetWhileThousandsOfUsersGoOutAndComeBack) {
    // The question is painted and answered before each loop starts.
    Walk(u"English", {{"users and templates exported",
                       {Loop("export"), "goto 1331", "key DOWN", "key ENTER", "answer yes", "answer ok"}},
                      {"users and templates imported",
                       {Loop("import"), "goto 132", "key DOWN", "key ENTER", "answer yes", "answer ok"}}});
    EXPECT_EQ(checked["export"], kCheckedPercents) << "the export's bar reached the display at each percentage";
    EXPECT_EQ(checked["import"], kCheckedPercents) << "the import's bar reached the display at each percentage";
}

}  // namespace

}  // namespace long_loop_test
