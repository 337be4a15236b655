// What reaches the display when the user-interface thread paints without
// going back to its message loop: a round of paints forced at once shows
// whole as soon as it is over, in no more pictures than frames went by.
#include <algorithm>
#include <chrono>

#include "platform/ui/display.h"
#include "tests/ui/recorder.h"

namespace {

// Keeps the last picture it was given and counts them.
class KeptPicture : public DisplayBackend {
public:
    KeptPicture(Surface& last, int& count) : m_last(last), m_count(count) {}
    void Present(const Surface& screen) override {
        ++m_count;
        m_last = Surface(screen.Width(), screen.Height());
        for (int y = 0; y < screen.Height(); ++y) std::copy_n(screen.Row(y), screen.Width(), m_last.Row(y));
    }
    void PumpEvents() override {}
    bool NeedsPolling() const override { return false; }

private:
    Surface& m_last;
    int& m_count;
};

using PresentTest = RecordingTest;

TEST_F(PresentTest, ARoundOfPaintsForcedAtOnceShowsWholeWhenItIsOverInAPictureAFrameAtMost) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    rec.eraseColor[page] = RGB(0, 128, 255);
    constexpr int kRows = 12;
    for (int row = 0; row < kRows; ++row) {
        HWND strip = rec.Create(page, RECT{10, 20 * row, 310, 20 * row + 15});
        rec.eraseColor[strip] = RGB(20 * row, 255 - 20 * row, 0);
    }
    Surface last;
    int pictures = 0;
    StartDisplayWith(std::make_unique<KeptPicture>(last, pictures));
    const auto start = std::chrono::steady_clock::now();
    RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const auto frames = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start) /
                        std::chrono::milliseconds(16);
    StartDisplay(DisplayMode::Headless);

    EXPECT_EQ(rec.WindowsThatGot(WM_PAINT).size(), 1u + kRows) << "every window painted";
    EXPECT_GE(pictures, 1);
    EXPECT_LE(pictures, frames + 2) << "the first paint, one a frame, and the last";
    const Surface& screen = ScreenSurface();
    ASSERT_EQ(last.Width(), screen.Width());
    for (int y = 0; y < screen.Height(); ++y)
        ASSERT_TRUE(std::equal(screen.Row(y), screen.Row(y) + screen.Width(), last.Row(y)))
            << "the last picture is the screen as the round left it; row " << y;
}

}  // namespace
