// The bar of a backup and of a restore runs once from 0 to 100 over all the
// steps of the job, never back.
#include <vector>

#include "tests/maintenance/DatabaseCopiesTest.h"
#include "transfer/TransferPage.h"

// Named: the sources of a test program are compiled together.
namespace copy_progress_test {

// Every percentage the page's bar is painted at, in order.
std::vector<UINT> g_painted;
CPogressBar* g_bar = nullptr;
WNDPROC g_barProc = nullptr;

LRESULT WatchBar(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && (g_painted.empty() || g_bar->GetPos() != g_painted.back()))
        g_painted.push_back(g_bar->GetPos());
    return CallWindowProcW(g_barProc, hwnd, message, wParam, lParam);
}

class CopyProgressTest : public DatabaseCopiesTest {
protected:
    // The percentages the job on `node` paints, from the storage on the flash.
    std::vector<UINT> Painted(UINT node) {
        g_painted.clear();
        OnPage(node, Choose(1, {"call", "answer ok", "key ENTER", "wait 600"}), {[] {
                   g_bar = &ShownPage<CTransferPage>()->ProgressBar();
                   g_barProc = reinterpret_cast<WNDPROC>(
                       SetWindowLongPtrW(g_bar->GetSafeHwnd(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchBar)));
               }});
        return g_painted;
    }
    static void ExpectForwardTo100(const std::vector<UINT>& painted) {
        ASSERT_GT(painted.size(), 4u);
        for (size_t i = 1; i < painted.size(); ++i)
            EXPECT_GT(painted[i], painted[i - 1]) << "step " << i << " of " << ::testing::PrintToString(painted);
        EXPECT_EQ(painted.back(), 100u);
    }
};

TEST_F(CopyProgressTest, TheBarOfABackupAndOfARestoreOnlyMovesForwardAndEndsFull) {
    AddUsersToTheLog(1000, 4000);
    SCOPED_TRACE("backup");
    ExpectForwardTo100(Painted(kBackupNode));
    SCOPED_TRACE("restore");
    ExpectForwardTo100(Painted(kRestoreNode));
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kRestored}));
}

}  // namespace copy_progress_test
