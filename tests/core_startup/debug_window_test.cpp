// The technician's debug window: lines from any thread, and the memory
// report.
#include <chrono>
#include <future>
#include <thread>

#include "core/DebugPrint.h"
#include "core/DebugWin.h"
#include "core/MachineConfig.h"
#include "platform/ui/display.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/support/ui_session.h"

namespace {

constexpr int kMemoryButton = 1028;

class DebugWindowTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        m_savedChannel = g_MachineConfig.DebugChannel;
        m_savedMode = g_MachineConfig.DEBUGMODE;
        window = OpenDebugWindow(nullptr);
    }
    void TearDown() override {
        SetDebugWindow(nullptr);
        g_MachineConfig.DebugChannel = m_savedChannel;
        g_MachineConfig.DEBUGMODE = m_savedMode;
        StartupTest::TearDown();
    }
    static size_t MemoryLines() {
        size_t lines = 0;
        for (const std::u16string& text : Journal(kJournalDebug))
            if (text.find(u"\tMemory Load:") != std::u16string::npos) ++lines;
        return lines;
    }

    // The tests after these show their messages without a display again.
    struct DisplayStopper {
        ~DisplayStopper() { StopDisplay(); }
    } stopper;
    UiSession session;
    CDebugWin* window = nullptr;

private:
    int m_savedChannel = 0;
    int m_savedMode = 0;
};

// At every start the three switches are 0: the sensor is read only once
// the technician unchecks "NO FP Process"; the list shows its two columns.
TEST_F(DebugWindowTest, TheSwitchesStartAtZeroAndTheListHasItsTwoColumns) {
    const CMachineConfig atStart;
    EXPECT_EQ(atStart.DebugSensorCapture, 0);
    EXPECT_EQ(atStart.DebugSaveImages, 0);
    EXPECT_EQ(atStart.DebugChannel, 0);
    const CListCtrl& list = window->List();
    ASSERT_NE(list.GetSafeHwnd(), nullptr);
    EXPECT_EQ(::GetDlgCtrlID(list.GetSafeHwnd()), CDebugWin::kListId);
    std::vector<std::pair<CString, int>> columns;
    for (int i = 0;; ++i) {
        char16_t heading[32] = {};
        LVCOLUMN column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = heading;
        column.cchTextMax = 32;
        if (!list.GetColumn(i, &column)) break;
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        columns.emplace_back(CString(heading), column.cx);
    }
    EXPECT_EQ(columns, (std::vector<std::pair<CString, int>>{{u"序号", 60}, {u"信息", 460}}));
}

TEST_F(DebugWindowTest, AWorkerHandsItsLineOverWithoutWaitingForTheUserInterface) {
    g_MachineConfig.DebugChannel = 1;
    DebugPrint(u"on the window's own thread");
    ASSERT_EQ(window->Rows().size(), 1u);

    // This thread, the window's, handles no message until the worker is
    // through; a worker that waited for it would never finish.
    std::promise<void> printed;
    std::thread worker([&printed] {
        DebugPrint(u"card %d read", 42);
        printed.set_value();
    });
    const bool finished = printed.get_future().wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    session.Pump();
    worker.join();
    EXPECT_TRUE(finished);
    ASSERT_EQ(window->Rows().size(), 2u);
    EXPECT_EQ(window->Rows().front().text, CString(u"card 42 read"));
    EXPECT_EQ(window->Rows().back().text, CString(u"on the window's own thread"));
}

TEST_F(DebugWindowTest, TheMemoryButtonWritesTheMemoryLineEveryTenSeconds) {
    g_MachineConfig.DEBUGMODE = 1;  // debug output reaches the journal
    const HWND button = GetDlgItem(window->GetSafeHwnd(), kMemoryButton);
    ASSERT_NE(button, nullptr);
    SendMessageW(button, BM_CLICK, 0, 0);
    session.Pump();
    JournalClear();
    session.Run("wait 9999");
    EXPECT_EQ(MemoryLines(), 0u);
    session.Run("wait 1");
    EXPECT_EQ(MemoryLines(), 1u);
    session.Run("wait 20000");
    EXPECT_EQ(MemoryLines(), 3u);
}

}  // namespace
