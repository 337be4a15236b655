// The stale-paint check: what it finds, what it lets pass, and that it
// leaves the screen as it found it.
#include "platform/ui/display.h"
#include "platform/ui/afxwin.h"
#include "tests/support/fresh_paint.h"
#include "tests/ui/recorder.h"

namespace {

class FreshPaintTest : public RecordingTest {
protected:
    void SetUp() override {
        page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
        widget = rec.Create(page, RECT{100, 100, 140, 120}, WS_VISIBLE, 7);
        rec.eraseColor[page] = RGB(0, 128, 255);
        rec.eraseColor[widget] = RGB(255, 0, 0);
        session.Pump();
    }
    // Pixels drawn straight onto the screen, as a window left them behind.
    static void Scribble(int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) ScreenSurface().At(x, y) = PixelFromColorRef(RGB(1, 2, 3));
    }
    HWND page = nullptr;
    HWND widget = nullptr;
};

TEST_F(FreshPaintTest, ASettledScreenHasNoStalePaint) {
    EXPECT_TRUE(FindStalePaint({}).empty()) << Describe(FindStalePaint({}));
}

TEST_F(FreshPaintTest, PixelsNoWindowPaintsAreFoundAsOneAreaEachAndTheScreenKeepsThem) {
    Scribble(10, 10, 20, 15);
    Scribble(105, 105, 110, 108);
    const std::vector<StalePaint> stale = FindStalePaint({});
    ASSERT_EQ(stale.size(), 2u) << Describe(stale);
    EXPECT_EQ(CRect(stale[0].area), CRect(10, 10, 20, 15));
    EXPECT_EQ(stale[0].pixels, 50);
    EXPECT_EQ(CRect(stale[1].area), CRect(105, 105, 110, 108));
    EXPECT_NE(stale[1].window.find("#7"), std::string::npos) << "named after the window over it: " << stale[1].window;
    EXPECT_EQ(ScreenSurface().At(12, 12), PixelFromColorRef(RGB(1, 2, 3))) << "the check paints elsewhere";
    EXPECT_FALSE(GetUpdateRect(page, nullptr, FALSE)) << "nothing is left to paint";
}

TEST_F(FreshPaintTest, AWindowAnAllowanceCoversMayDiffer) {
    Scribble(105, 105, 110, 108);
    const PaintAllowance live{[this](HWND hwnd) { return hwnd == widget; }, "a live picture"};
    EXPECT_TRUE(FindStalePaint({live}).empty());
}

TEST_F(FreshPaintTest, AChildThatMissedItsRepaintIsFound) {
    // The page repainted over the widget, and the widget was told it had
    // nothing to paint.
    InvalidateRect(page, nullptr, TRUE);
    UpdateWindow(page);
    ValidateRect(widget, nullptr);
    const std::vector<StalePaint> stale = FindStalePaint({});
    ASSERT_EQ(stale.size(), 1u) << Describe(stale);
    EXPECT_EQ(CRect(stale[0].area), CRect(100, 100, 140, 120));
}

}  // namespace
