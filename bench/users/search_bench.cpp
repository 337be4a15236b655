// The user search list as the administrator waits for it, on a terminal
// with 5000 users: a search by name, and the jump to the last page of all
// users. Each figure is one page shown: the queries, the rows put in the
// list and the page painted. Run once per repetition so that the median and
// the 95th percentile describe single pages.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/percentile.h"
#include "core/DatabaseOpen.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/UserStorage.h"
#include "panel/ControlPanel.h"
#include "platform/base/clock.h"
#include "platform/base/device_fs.h"
#include "platform/ui/display.h"
#include "platform/ui/script.h"
#include "users/CPTreeSearchUser.h"
#include "widgets/WidgetRules.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUsers = 5000;

// A factory terminal whose user table is full, with the search page shown.
class FullTerminal {
public:
    FullTerminal() {
        m_root = fs::absolute("bench-users").string();
        fs::remove_all(m_root);
        fs::copy(QUILLON_FACTORY_IMAGE_DIR, m_root, fs::copy_options::recursive);
        SetDeviceRoot(m_root);
        InitSystemLocks();
        g_MachineConfig.SkinDir = u"\\NandFlash\\zeta42\\Skin\\flower\\";
        g_MachineConfig.LanguageName = u"English";
        g_LangDoc.ReadFromFile(GetLanguageFilePath());
        OpenDatabase();
        g_pDatabase->DirectStatement(u"begin");
        g_pDatabase->DirectStatement(
            u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 5000) "
            u"SELECT n, '', 'user' || n, '0', '', 1, 6, '', 0, '', 0, 1 FROM s");
        g_pDatabase->DirectStatement(u"INSERT INTO FPinfo SELECT 0, userid, randomblob(338) FROM Userinfo");
        g_pDatabase->DirectStatement(u"commit");
        m_users = std::make_unique<CUserStorage>(*g_pDatabase);
        g_pUserStorage = m_users.get();
        UseVirtualClock(true);
        StartDisplay(DisplayMode::Headless);
        m_panel = std::make_unique<CControlPanel>(nullptr);
        m_panel->Create(CControlPanel::IDD, nullptr);
        m_panel->ShowWindow(SW_SHOW);
        page = static_cast<CCPTreeSearchUser*>(m_panel->GotoNode(CCPTreeSearchUser::kNode, TRUE));
        ScriptDriver::PumpUntilIdle();
    }
    ~FullTerminal() {
        m_panel->DestroyWindow();
        g_pUserStorage = nullptr;
        CloseDatabase();
        fs::remove_all(m_root);
    }

    // Enter on a control of the page, and the page painted.
    void Press(int controlId) {
        page->SendMessage(EditEnterMessage(), static_cast<WPARAM>(controlId));
        ScriptDriver::PumpUntilIdle();
    }

    CCPTreeSearchUser* page = nullptr;

private:
    std::string m_root;
    std::unique_ptr<CUserStorage> m_users;
    std::unique_ptr<CControlPanel> m_panel;
};

FullTerminal& Terminal() {
    static FullTerminal terminal;
    return terminal;
}

void FindByName(benchmark::State& state) {
    FullTerminal& terminal = Terminal();
    terminal.page->GetDlgItem(1031)->SetWindowText(u"");
    terminal.page->GetDlgItem(1201)->SetWindowText(u"user4321");
    for (auto _ : state) terminal.Press(1037);
    if (terminal.page->MatchCount() != 1) state.SkipWithError("the name was not found once");
}

void LastPageOfAllUsers(benchmark::State& state) {
    FullTerminal& terminal = Terminal();
    terminal.page->GetDlgItem(1201)->SetWindowText(u"");
    terminal.Press(1037);
    for (auto _ : state) terminal.Press(1034);
    if (terminal.page->Page() != (kUsers - 1) / CCPTreeSearchUser::kRowsPerPage)
        state.SkipWithError("not on the last page");
}

BENCHMARK(FindByName)->Iterations(1)->Repetitions(40)->ReportAggregatesOnly(true)
    ->ComputeStatistics("p95", Percentile95)->Unit(benchmark::kMillisecond);
BENCHMARK(LastPageOfAllUsers)->Iterations(1)->Repetitions(40)->ReportAggregatesOnly(true)
    ->ComputeStatistics("p95", Percentile95)->Unit(benchmark::kMillisecond);

}  // namespace
