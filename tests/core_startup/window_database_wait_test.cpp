// A wait for another program that holds the database, watched at a real
// window: Add User stores a new ID while another program holds the write
// lock. Meanwhile a window laid over the terminal and taken away leaves no
// trace, a key pressed does nothing, and the wait ends as the other
// program lets go (the ID is stored, without a word), or the close button
// or a stop signal ends the terminal at once.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include "core/ProcessExit.h"
#include "tests/core_startup/XDisplaySupport.h"
#include "tests/support/database_held.h"
#endif

namespace {

#if defined(QUILLON_X11_TEST)

enum class WaitEnd { Release, Close, StopSignal };

class WindowDatabaseWaitTest : public ProgramTest, public ::testing::WithParamInterface<WaitEnd> {
protected:
    std::string Errors() const { return ReadHost(errorsPath); }
    static void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    int UsersNamedFive() const { return Count(u"select count(*) from Userinfo where Userid = '5'"); }

    const std::string errorsPath = root.HostPath("terminal.err");
    VirtualDisplay display;
    TerminalWindow terminal{display};
};

TEST_P(WindowDatabaseWaitTest, TheWindowLivesWhileAnotherProgramHoldsTheDatabase) {
    if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
    ASSERT_TRUE(terminal.Start({"--root", root.Host(), "--window"}, errorsPath));
    ASSERT_TRUE(terminal.FindWindow(20)) << "no window named Terminal on " << display.Name();
    ASSERT_TRUE(WaitUntil([this] { return Log().find("main window ready") != std::string::npos; }, 30));
    // Menu, Users, Add User, the ID 5.
    for (KeySym key : {XK_m, XK_Right, XK_Return, XK_Return}) terminal.Key(key);
    Pause(800);
    terminal.Key(XK_5);
    Pause(300);

    DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile), "BEGIN IMMEDIATE");
    terminal.Key(XK_Return);
    const auto waitBegan = std::chrono::steady_clock::now();
    Pause(400);
    const Surface waiting = terminal.Screen();
    const Window cover = terminal.LayWindowOver();
    Pause(300);
    ASSERT_GT(DifferingPixels(waiting, terminal.Screen()), 60000) << "the window laid over covers the terminal";
    terminal.TakeAway(cover);
    // An Escape now would leave the page once the wait is over.
    terminal.Key(XK_Escape);
    Pause(300);
    EXPECT_EQ(DifferingPixels(waiting, terminal.Screen()), 0) << "the terminal was painted again";
    ASSERT_EQ(terminal.Wait(0), -1) << "still waiting:\n" << Errors();
    EXPECT_EQ(Errors().find("message box:"), std::string::npos) << Errors();

    const auto ended = std::chrono::steady_clock::now();
    switch (GetParam()) {
    case WaitEnd::Release: {
        // Two seconds into a wait of five: the ID is stored then.
        std::this_thread::sleep_until(waitBegan + std::chrono::seconds(2));
        other.Release();
        ASSERT_TRUE(WaitUntil([this] { return UsersNamedFive() == 1; }, 10)) << Errors();
        Pause(500);
        EXPECT_EQ(Errors().find("message box:"), std::string::npos) << "no word of a failure:\n" << Errors();
        EXPECT_LT(DifferingPixels(waiting, terminal.Screen()), 10000) << "the page is still shown: Escape was dropped";
        terminal.Close();
        EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitNormal)) << Errors();
        return;
    }
    case WaitEnd::Close:
        terminal.Close();
        break;
    case WaitEnd::StopSignal:
        terminal.Signal(SIGTERM);
        break;
    }
    EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitNormal)) << Errors();
    // Within a second; a loaded machine may take a little longer, but not
    // the rest of the wait, nor another one at the end.
    EXPECT_LT(std::chrono::steady_clock::now() - ended, std::chrono::milliseconds(2500)) << Errors();
    EXPECT_EQ(Errors().find("message box:"), std::string::npos) << "nothing said while ending:\n" << Errors();
    EXPECT_NE(Log().find("Log finished"), std::string::npos) << Log();
    other.Release();
    EXPECT_EQ(UsersNamedFive(), 0) << "the write that waited was not made";
}

INSTANTIATE_TEST_SUITE_P(WaitEnds, WindowDatabaseWaitTest,
                         ::testing::Values(WaitEnd::Release, WaitEnd::Close, WaitEnd::StopSignal),
                         [](const ::testing::TestParamInfo<WaitEnd>& end) {
                             switch (end.param) {
                             case WaitEnd::Release:
                                 return "Release";
                             case WaitEnd::Close:
                                 return "CloseButton";
                             case WaitEnd::StopSignal:
                                 return "StopSignal";
                             }
                             return "";
                         });

#else

TEST(WindowDatabaseWaitTest, TheWindowLivesWhileAnotherProgramHoldsTheDatabase) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
