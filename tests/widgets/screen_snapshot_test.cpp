// The saved piece of screen a pop-up puts back when it closes: exactly the
// pixels that were there, only where they were saved, and only once.
#include <vector>

#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/ScreenSnapshot.h"

namespace {

const CRect kScreen(0, 0, 320, 240);

class ScreenSnapshotTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage(nullptr));
        session.Pump();
    }
    // Covers the whole page, as a pop-up would.
    void Cover(COLORREF color) {
        CClientDC dc(&page);
        dc.FillSolidRect(kScreen, color);
    }
};

TEST_F(ScreenSnapshotTest, RestorePutsBackExactlyWhatWasSaved) {
    const std::vector<Pixel> before = ScreenPixels(kScreen);
    CScreenSnapshot snapshot(&page);
    snapshot.Capture(kScreen);
    EXPECT_TRUE(snapshot.HasPixels());
    Cover(RGB(0xFF, 0, 0));
    ASSERT_NE(ScreenPixels(kScreen), before);
    snapshot.Restore();
    EXPECT_EQ(ScreenPixels(kScreen), before);
    EXPECT_FALSE(snapshot.HasPixels());
}

TEST_F(ScreenSnapshotTest, PartOffTheScreenIsLeftOutAndNothingElseIsPainted) {
    const CRect saved(0, 0, 100, 90);
    const std::vector<Pixel> before = ScreenPixels(saved);
    CScreenSnapshot snapshot(&page);
    const CRect reachingOff(-30, -20, 100, 90);
    snapshot.Capture(reachingOff);
    Cover(RGB(0, 0, 0xFF));
    const std::vector<Pixel> covered = ScreenPixels(CRect(100, 0, 320, 240));
    snapshot.Restore();
    EXPECT_EQ(ScreenPixels(saved), before);
    EXPECT_EQ(ScreenPixels(CRect(100, 0, 320, 240)), covered);
}

TEST_F(ScreenSnapshotTest, SecondRestoreAndEmptyCapturePaintNothing) {
    CScreenSnapshot snapshot(&page);
    snapshot.Capture(kScreen);
    snapshot.Restore();
    Cover(RGB(0, 0xFF, 0));
    const std::vector<Pixel> covered = ScreenPixels(kScreen);
    snapshot.Restore();
    EXPECT_EQ(ScreenPixels(kScreen), covered);
    const CRect empty(50, 50, 50, 80);
    snapshot.Capture(empty);
    EXPECT_FALSE(snapshot.HasPixels());
}

}  // namespace
