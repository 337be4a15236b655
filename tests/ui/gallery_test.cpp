// The gallery on the screen, pixel for pixel, and driven like a person would.
#include <gtest/gtest.h>

#include "platform/ui/display.h"
#include "tests/support/golden.h"
#include "tests/support/ui_session.h"
#include "tools/gallery/gallery_pages.h"

namespace {

CString TextOf(CWnd& page, int id) {
    CString text;
    page.GetDlgItemText(id, text);
    return text;
}

class GalleryTest : public ::testing::Test {
protected:
    GalleryTest() {
        // The modal dialog is checked from inside its own loop.
        ScriptDriver::RegisterCommand("golden", [this](const std::vector<std::string>& args, std::string*) {
            goldenInLoop = MatchesGolden(ScreenSurface(), args.at(0));
            return true;
        });
    }
    ~GalleryTest() override { ScriptDriver::RegisterCommand("golden", nullptr); }

    UiSession session;
    CGalleryPage page;
    ::testing::AssertionResult goldenInLoop = ::testing::AssertionFailure() << "not checked";
};

TEST_F(GalleryTest, PageLooksAsItDid) {
    ASSERT_TRUE(page.CreatePage());
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "ui_gallery_page"));
}

TEST_F(GalleryTest, ModalDialogOverThePageAndItsAnswer) {
    ASSERT_TRUE(page.CreatePage());
    session.Pump();
    session.RunWhenIdle({"golden ui_gallery_dialog", "key ESC", "quit"});
    session.Run("tap 50 110");
    EXPECT_TRUE(goldenInLoop);
    EXPECT_EQ(TextOf(page, kGalleryStatus), CString(u"Result: Cancel"));
    // The page repaints what the dialog covered.
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "ui_gallery_after_dialog"));
    session.RunWhenIdle({"tap 110 145", "quit"});
    session.Run("tap 50 110");
    EXPECT_EQ(TextOf(page, kGalleryStatus), CString(u"Result: OK"));
}

TEST_F(GalleryTest, TapsReachControlsAndDisabledOnesIgnoreThem) {
    ASSERT_TRUE(page.CreatePage());
    session.Pump();
    session.Run("tap 20 75");
    session.Run("tap 20 75");
    EXPECT_EQ(TextOf(page, kGalleryCounter), CString(u"Taps: 2"));
    session.Run("tap 150 110");
    EXPECT_EQ(TextOf(page, kGalleryStatus), CString(u"Result: -"));
    session.Run("tap 190 140");
    EXPECT_EQ(page.IsDlgButtonChecked(kGalleryRadioTwo), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(page.IsDlgButtonChecked(kGalleryRadioOne), static_cast<UINT>(BST_UNCHECKED));
    session.Run("tap 20 140");
    EXPECT_EQ(page.IsDlgButtonChecked(kGalleryCheck), static_cast<UINT>(BST_CHECKED));
}

}  // namespace
