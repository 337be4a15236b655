// The splash: the marker's sweep over the loading picture, and the
// animation thread's priority.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/WelcomDlg.h"
#include "platform/base/threads.h"
#include "platform/ui/display.h"
#include "platform/ui/dc.h"
#include "platform/ui/region.h"
#include "tests/support/device_root.h"
#include "tests/support/ui_session.h"

namespace {

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
        ASSERT_TRUE(splash->LoadImages());
    }
    void TearDown() override { delete splash; }
    // One frame at position p, drawn into a 320 x 240 picture.
    Surface Frame(int p) {
        Surface picture(320, 240);
        const HDC dc = CreateSurfaceDC(&picture, POINT{0, 0}, Region(RECT{0, 0, 320, 240}));
        splash->DrawFrame(dc, p);
        ReleaseSurfaceDC(dc);
        return picture;
    }
    // The columns of row `y` where two frames differ: where the marker lies
    // in one and not in the other.
    static std::pair<int, int> DifferingColumns(const Surface& a, const Surface& b, int y) {
        int first = -1, last = -1;
        for (int x = 0; x < 320; ++x) {
            if (a.At(x, y) == b.At(x, y)) continue;
            if (first < 0) first = x;
            last = x;
        }
        return {first, last};
    }

    ScopedDeviceRoot root;
    UiSession session;
    CWelcomDlg* splash = new CWelcomDlg(nullptr);
};

TEST_F(SplashTest, TheMarkerSweepsFrom87To239AndBack) {
    const Surface first = Frame(0), last = Frame(19);
    const CxImage marker(u"\\NandFlash\\zeta42\\SKIN\\loading.png", CXIMAGE_FORMAT_PNG);
    const int width = static_cast<int>(marker.GetWidth());
    ASSERT_GT(width, 0);
    // Position 0 puts the marker at x 87, position 19 at x 239, on row 201.
    const auto sweep = DifferingColumns(first, last, 201 + static_cast<int>(marker.GetHeight()) / 2);
    EXPECT_EQ(sweep.first, 87);
    EXPECT_EQ(sweep.second, 239 + width - 1);
    EXPECT_EQ(DifferingColumns(first, last, 200).first, -1) << "nothing above row 201 moves";

    // Counting frames: up to 19, back to 0, up again.
    bool down = false;
    int p = 0;
    std::vector<int> positions{p};
    for (int frame = 0; frame < 40; ++frame) positions.push_back(p = NextSplashPosition(p, down));
    EXPECT_EQ(positions[19], 19);
    EXPECT_EQ(positions[20], 18);
    EXPECT_EQ(positions[38], 0);
    EXPECT_EQ(positions[39], 1);
}

// Before the animation draws, and wherever the window is painted again (a
// box over it closing), the window shows the frame the animation is at.
TEST_F(SplashTest, TheWindowPaintsTheFrameTheAnimationShows) {
    ASSERT_TRUE(splash->Create(CWelcomDlg::IDD, nullptr));
    splash->ShowWindow(SW_SHOW);
    splash->MakeFullScreen();
    splash->UpdateWindow();
    auto screenIs = [](const Surface& frame) {
        const Surface& screen = ScreenSurface();
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                if ((screen.At(x, y) & 0xFFFFFF) != (frame.At(x, y) & 0xFFFFFF)) return false;
        return true;
    };
    EXPECT_TRUE(screenIs(Frame(0))) << "the first frame, before the animation's thread draws";

    splash->SetShownPosition(7);
    splash->InvalidateRect(nullptr, TRUE);
    splash->UpdateWindow();
    EXPECT_TRUE(screenIs(Frame(7))) << "painted again at the animation's position";
    EXPECT_FALSE(screenIs(Frame(0)));
}

TEST_F(SplashTest, TheAnimationRunsAtTheHighestPriority) {
    ASSERT_TRUE(splash->Create(CWelcomDlg::IDD, nullptr));
    CWinThread* thread = StartSplashThread(splash);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_HIGHEST);
    // Once released, the thread ends by asking the splash to close, which
    // deletes itself.
    const HWND window = splash->GetSafeHwnd();
    ReleaseSplash();
    // The thread wakes in virtual time and then runs in real time.
    for (int round = 0; round < 200 && IsWindow(window); ++round) {
        session.Run("wait 100");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(IsWindow(window)) << "the splash did not close";
    splash = nullptr;
}

}  // namespace
