// The gallery's page of edits, list and tree on the screen, pixel for pixel,
// and driven by taps and keys.
#include <gtest/gtest.h>

#include "platform/ui/display.h"
#include "tests/support/golden.h"
#include "tests/support/ui_session.h"
#include "tools/gallery/controls_page.h"

namespace {

class ControlsGalleryTest : public ::testing::Test {
protected:
    CString TextOf(int id) {
        CString text;
        page.GetDlgItemText(id, text);
        return text;
    }

    UiSession session;
    CControlsPage page;
};

TEST_F(ControlsGalleryTest, PageLooksAsItDid) {
    ASSERT_TRUE(page.CreatePage());
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "ui_controls_page"));
}

TEST_F(ControlsGalleryTest, TypingTapsAndKeysReachTheControls) {
    ASSERT_TRUE(page.CreatePage());
    session.Pump();
    EXPECT_EQ(TextOf(kControlsRowStatus), CString(u"Row: Anna Berg"));
    EXPECT_EQ(TextOf(kControlsDeptStatus), CString(u"Dept: Works"));
    session.Run("key 7");
    EXPECT_EQ(TextOf(kControlsId), CString(u"10247"));
    // The fourth row: the list begins at y 52, below its header.
    CListCtrl* list = static_cast<CListCtrl*>(page.GetDlgItem(kControlsList));
    CRect row;
    list->GetItemRect(3, row, LVIR_BOUNDS);
    session.Run("tap 40 " + std::to_string(52 + row.top + 2));
    EXPECT_EQ(TextOf(kControlsRowStatus), CString(u"Row: Omar Haddad"));
    session.Run("key UP");
    EXPECT_EQ(TextOf(kControlsRowStatus), CString(u"Row: 李娜"));
    session.Run("key DOWN");
    session.Run("key DOWN");
    EXPECT_EQ(TextOf(kControlsRowStatus), CString(u"Row: 王芳"));
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "ui_controls_after_input"));
}

}  // namespace
