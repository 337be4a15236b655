// The hint the pages and fields send to the main window's bottom task bar.
#include "main/TaskBarHint.h"
#include "tests/widgets/widget_page.h"

namespace {

class TaskBarHintTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage(nullptr));
        ASSERT_TRUE(bar.Create(&page, g_MachineConfig.SkinDir.Get()));
        panel.CreateEx(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0);
        session.Pump();
    }
    void TearDown() override {
        SetControlPanelWindow(nullptr);
        panel.DestroyWindow();
    }
    void Hint(const char16_t* text, int mode) {
        const CString hint(text);
        EXPECT_EQ(ApplyTaskBarHint(bar, &hint, mode), 1);
    }

    CBottomTaskBar bar;
    CWnd panel;
};

TEST_F(TaskBarHintTest, OneLevelOfHistory) {
    Hint(u"#/Keyboard", 1);
    EXPECT_EQ(bar.Text(), CString(u"#/Keyboard"));
    Hint(u"<-/Try Again", 2);
    Hint(u"", -1);
    EXPECT_EQ(bar.Text(), CString(u"#/Keyboard"));
    EXPECT_EQ(bar.Mode(), 1);
    Hint(u"", -1);  // a second restore changes nothing
    EXPECT_EQ(bar.Text(), CString(u"#/Keyboard"));
    EXPECT_EQ(ApplyTaskBarHint(bar, nullptr, 1), 1);
    EXPECT_EQ(bar.Text(), CString());
}

TEST_F(TaskBarHintTest, TheOpenControlPanelIsKeptClearOfTheBar) {
    Hint(u"x", 1);
    CRect rect;
    panel.GetWindowRect(&rect);
    EXPECT_EQ(rect.Height(), 240);  // no panel registered
    SetControlPanelWindow(&panel);
    panel.SetWindowPos(nullptr, 0, 8, 320, 240, SWP_NOZORDER);
    Hint(u"y", 1);
    panel.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(0, 8, 320, 8 + 240 - bar.Height()));
    EXPECT_GT(bar.Height(), 0);
}

}  // namespace
