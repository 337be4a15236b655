// The page base on a panel held open without its modal loop: the life cycle
// of a page, its keys, and the jumps between two pages for one user.
#include "tests/page_support/panel_fixture.h"

#include <memory>

namespace {

class PageBaseTest : public PanelTest {
protected:
    void SetUp() override {
        AddTestPage(121);
        AddTestPage(122);
        AddTestPage(11);
        panel = std::make_unique<CControlPanel>(&main);
        ASSERT_TRUE(panel->Create(CControlPanel::IDD, &main));
        panel->ShowWindow(SW_SHOW);
        session.Pump();
    }
    void TearDown() override {
        panel->DestroyWindow();
        panel.reset();
    }
    CTestPage& Page(UINT node) { return *TestPage(*panel, node); }
    // Opens the node's page and returns it.
    CTestPage& Enter(UINT node) {
        EXPECT_EQ(panel->GotoNode(node, TRUE), panel->PageOf(node));
        session.Pump();
        return Page(node);
    }
    static BOOL Translate(CCPTreeBase& page, UINT message, WPARAM key) {
        MSG msg{page.GetSafeHwnd(), message, key, 0, 0, {0, 0}};
        return page.PreTranslateMessage(&msg);
    }

    std::unique_ptr<CControlPanel> panel;
};

TEST_F(PageBaseTest, APageIsMadeOnceAndEnteredOnEveryVisit) {
    CTestPage& page = Page(121);
    EXPECT_EQ(page.GetSafeHwnd(), nullptr) << "the window waits for the first visit";
    EXPECT_EQ(page.m_bHidden, 1);
    EXPECT_EQ(page.m_bEnteredFromMenu, 1);
    EXPECT_EQ(g_nControlPanelState, ControlPanelShowsMenu);

    Enter(121);
    const HWND first = page.GetSafeHwnd();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(::GetParent(first), panel->GetSafeHwnd());
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_EQ(page.m_bHidden, 0);
    EXPECT_EQ(g_nControlPanelState, ControlPanelShowsPage);
    EXPECT_EQ(panel->Title().GetTitle(), u"Add User");
    EXPECT_EQ(panel->CurrentNode(), 12u);

    EXPECT_TRUE(page.LeavePage());
    session.Pump();
    EXPECT_FALSE(page.IsWindowVisible());
    EXPECT_EQ(page.m_bHidden, 1);
    EXPECT_EQ(g_nControlPanelState, ControlPanelShowsMenu);
    EXPECT_EQ(panel->ShownPage(), nullptr);
    EXPECT_EQ(panel->Title().GetTitle(), u"Users") << "the title goes back to the parent entry";
    ASSERT_FALSE(main.hints.empty());
    EXPECT_EQ(main.hints.back(), std::make_pair(CString(), 1)) << "leaving empties the task bar's hint";

    Enter(121);
    EXPECT_EQ(page.GetSafeHwnd(), first);
    EXPECT_EQ(page.fullEntries, 2);
    EXPECT_EQ(page.leaves, 1);
}

TEST_F(PageBaseTest, ALockedPageStaysUntilUnlocked) {
    CTestPage& page = Enter(121);
    page.SetLock(TRUE);
    session.Run("key ESC");
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_EQ(page.m_bHidden, 0);
    EXPECT_EQ(g_nControlPanelState, ControlPanelShowsPage);
    EXPECT_EQ(panel->ShownPage(), &page);
    page.SetLock(FALSE);
    session.Run("key ESC");
    EXPECT_FALSE(page.IsWindowVisible());
    EXPECT_EQ(panel->ShownPage(), nullptr);
}

TEST_F(PageBaseTest, EscLeavesWhenTheKeyComesUp) {
    CTestPage& page = Enter(121);
    session.Run("keydown ESC");
    EXPECT_EQ(panel->ShownPage(), &page);
    session.Run("keyup ESC");
    EXPECT_EQ(panel->ShownPage(), nullptr);
    EXPECT_EQ(page.leaves, 1);
    EXPECT_EQ(panel->CurrentNode(), 12u);
    EXPECT_EQ(panel->SelectedNode(), 121u) << "the grid comes back on the page's entry";
}

TEST_F(PageBaseTest, UpAndDownMoveTheFocusOnKeyUp) {
    CTestPage& page = Enter(121);
    ASSERT_EQ(CWnd::GetFocus(), &page.Field(0));
    session.Run("keydown DOWN");
    EXPECT_EQ(CWnd::GetFocus(), &page.Field(0));
    session.Run("keyup DOWN");
    EXPECT_EQ(CWnd::GetFocus(), &page.Field(1));
    session.Run("key DOWN");
    EXPECT_EQ(CWnd::GetFocus(), &page.Field(2));
    session.Run("key UP");
    session.Run("key UP");
    EXPECT_EQ(CWnd::GetFocus(), &page.Field(0));
}

TEST_F(PageBaseTest, F12IsSwallowedAndOtherKeysGoToTheDialog) {
    CTestPage& page = Enter(121);
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        EXPECT_TRUE(Translate(page, message, VK_F12));
        EXPECT_TRUE(Translate(page, message, VK_UP));
        EXPECT_TRUE(Translate(page, message, VK_ESCAPE));
    }
    EXPECT_EQ(page.m_bHidden, 1) << "the ESC key-up above left the page";
    Enter(121);
    session.Run("key 7");
    EXPECT_EQ(page.Field(0).GetWindowTextLength(), 1) << "a digit reaches the focused field";
}

TEST_F(PageBaseTest, CharactersWithTheCodesOfKeysAreTyped) {
    CTestPage& page = Enter(121);
    // '(' is VK_DOWN's code, '&' VK_UP's, '{' F12's and 27 ESC's.
    for (char16_t ch : {u'(', u'&', u'{'}) page.Field(0).PostMessage(WM_CHAR, ch, 0);
    page.Field(0).PostMessage(WM_CHAR, VK_ESCAPE, 0);
    session.Pump();
    CString typed;
    page.Field(0).GetWindowText(typed);
    EXPECT_EQ(typed, u"(&{");
    EXPECT_EQ(CWnd::GetFocus(), &page.Field(0));
    EXPECT_EQ(panel->ShownPage(), &page) << "the ESC character does not leave the page";
    EXPECT_EQ(page.m_bHidden, 0);
}

TEST_F(PageBaseTest, AJumpForOneUserAndTheReturn) {
    CTestPage& caller = Enter(121);
    caller.Field(1).SetWindowText(u"kept");
    // The calling page jumps to the target, which is entered the full way,
    // and hands it the user.
    CCPTreeBase* jumped = panel->GotoNode(11, TRUE);
    ASSERT_EQ(jumped, panel->PageOf(11));
    CTestPage& target = Page(11);
    target.TakeUser(121, &caller);
    session.Pump();
    EXPECT_EQ(target.fullEntries, 1);
    EXPECT_EQ(target.m_bEnteredFromMenu, 1);
    EXPECT_TRUE(target.IsWindowVisible());
    EXPECT_FALSE(caller.IsWindowVisible());
    EXPECT_EQ(panel->ShownPage(), &target);
    EXPECT_EQ(panel->Title().GetTitle(), u"Enroll FP");
    EXPECT_EQ(panel->CurrentNode(), 1u);

    // Leaving the target hands the user back: the caller is entered by the
    // return branch and keeps what it held.
    session.Run("key ESC");
    EXPECT_EQ(caller.returns, 1);
    EXPECT_EQ(caller.fullEntries, 1);
    EXPECT_EQ(caller.m_bEnteredFromMenu, 1) << "set again by the return";
    EXPECT_EQ(target.leaves, 0);
    EXPECT_EQ(target.m_bHidden, 1);
    EXPECT_FALSE(target.IsWindowVisible());
    EXPECT_TRUE(caller.IsWindowVisible());
    EXPECT_EQ(panel->ShownPage(), &caller);
    EXPECT_EQ(panel->Title().GetTitle(), u"Add User");
    EXPECT_EQ(g_nControlPanelState, ControlPanelShowsPage);
    CString kept;
    caller.Field(1).GetWindowText(kept);
    EXPECT_EQ(kept, u"kept");

    session.Run("key ESC");
    EXPECT_EQ(panel->ShownPage(), nullptr);
    EXPECT_EQ(panel->CurrentNode(), 12u);
}

TEST_F(PageBaseTest, GotoNodeKnowsOnlyTheMenusNodes) {
    EXPECT_EQ(panel->GotoNode(99, TRUE), nullptr);
    EXPECT_EQ(panel->GotoNode(143, TRUE), nullptr) << "a node without a page is not in the menu";
    EXPECT_EQ(panel->ShownPage(), nullptr);
    EXPECT_EQ(panel->GotoNode(13, TRUE), nullptr) << "an entry with children shows its grid and has no page";
    EXPECT_EQ(panel->CurrentNode(), 13u);
    EXPECT_EQ(panel->Title().GetTitle(), u"Data");
    // Refresh or not, the grid behind a page is its parent's.
    panel->GotoNode(122, FALSE);
    EXPECT_EQ(panel->CurrentNode(), 12u);
    EXPECT_EQ(panel->SelectedNode(), 122u);
}

TEST_F(PageBaseTest, TheTitleBarIsAChildWindowAcrossTheTop) {
    CWnd* title = panel->GetDlgItem(12346);
    ASSERT_EQ(title, &panel->Title());
    EXPECT_EQ(title->GetStyle() & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    CRect rect;
    title->GetWindowRect(&rect);
    panel->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(0, 0, panel->Title().GetBarWidth(), panel->Title().GetBarHeight()));
}

}  // namespace
