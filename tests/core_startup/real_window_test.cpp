// The terminal in a real window: the SDL back end on a virtual X server
// that the test starts itself. A damaged database shows its message in the
// window, a key press on the X server answers it, and the program ends with
// the start-up failure status.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include "core/ProcessExit.h"
#include "tests/core_startup/XDisplaySupport.h"
#include "tests/support/golden.h"
#endif

namespace {

#if defined(QUILLON_X11_TEST)

using RealWindowTest = ProgramTest;

TEST_F(RealWindowTest, ADamagedDatabaseIsShownInTheWindowAndEnterEndsTheStart) {
    VirtualDisplay display;
    if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "");
    TerminalWindow terminal(display);
    const std::string errors = root.HostPath("terminal.err");
    ASSERT_TRUE(terminal.Start({"--root", root.Host(), "--window"}, errors));
    ASSERT_TRUE(terminal.FindWindow(10)) << "no window named Terminal on " << display.Name();

    // The box is light grey across the middle of the screen.
    Surface screen;
    const bool boxShown = WaitUntil(
        [&] {
            screen = terminal.Screen();
            return screen.Width() > 0 && (screen.At(160, 100) & 0xFFFFFF) == 0xC0C0C0 &&
                   (screen.At(30, 100) & 0xFFFFFF) == 0xC0C0C0;
        },
        10);
    ASSERT_TRUE(boxShown) << "the message box did not appear in the window";
    // Its text and button may come a frame after its grey.
    ::testing::AssertionResult boxDrawn = ::testing::AssertionFailure();
    WaitUntil(
        [&] {
            boxDrawn = MatchesGolden(SplashCalmRows(terminal.Screen()), "startup_system_box_damaged_database");
            return static_cast<bool>(boxDrawn);
        },
        10);
    EXPECT_TRUE(boxDrawn);

    EXPECT_EQ(terminal.Wait(1), -1) << "the box waits for a person";
    terminal.Key(XK_Return);
    EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitStartFailed));
    EXPECT_NE(ReadHost(errors).find("message box: Database has been damaged, please contact the administrator!\n"),
              std::string::npos)
        << ReadHost(errors);
}

#else

TEST(RealWindowTest, ADamagedDatabaseIsShownInTheWindowAndEnterEndsTheStart) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
