// One key answers one box at a real window: the box that follows stays on
// the screen until a fresh key closes it.
// - Delete User's question, answered with Enter while another program
//   holds the database: the delete waits, and Enter pressed again during
//   the wait and let go only once the refusal shows does not answer it.
// - Start-up's system boxes answer on a key's press: Enter held on the
//   settings-reset question answers it alone; its repeats and its release
//   leave the notice that follows on the screen.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include "core/ProcessExit.h"
#include "tests/core_startup/XDisplaySupport.h"
#include "tests/support/database_held.h"
#endif

namespace {

#if defined(QUILLON_X11_TEST)

// Longer than the X server's delay before a held key repeats.
constexpr int kHeldMs = 2000;

class WindowOneKeyTest : public ProgramTest {
protected:
    // False when no X server can run here.
    bool StartTerminal() {
        if (!display.Start(root.HostPath("xvfb.err"))) return false;
        EXPECT_TRUE(terminal.Start({"--root", root.Host(), "--window"}, errorsPath));
        EXPECT_TRUE(terminal.FindWindow(20)) << "no window named Terminal on " << display.Name();
        return true;
    }
    std::string Errors() const { return ReadHost(errorsPath); }
    ::testing::AssertionResult Says(const std::string& box) const {
        if (WaitUntil([&] { return Errors().find("message box: " + box + "\n") != std::string::npos; }, 15))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no box said \"" << box << "\":\n" << Errors();
    }
    size_t Boxes() const { return Occurrences(Errors(), "message box: "); }
    static void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    const std::string errorsPath = root.HostPath("terminal.err");
    VirtualDisplay display;
    TerminalWindow terminal{display};
};

TEST_F(WindowOneKeyTest, AnEnterHeldThroughTheDatabaseWaitLeavesTheRefusalOnTheScreen) {
    Execute(u"INSERT INTO Userinfo(Userid, Name) VALUES ('5', 'Five')");
    if (!StartTerminal()) GTEST_SKIP() << display.Why();
    ASSERT_TRUE(WaitUntil([this] { return Log().find("main window ready") != std::string::npos; }, 30));
    // Menu, Users, Delete User, the ID 5: its card; F3 asks.
    for (KeySym key : {XK_m, XK_Right, XK_Return, XK_Right, XK_Right, XK_Return}) terminal.Key(key);
    Pause(800);
    for (KeySym key : {XK_5, XK_Return}) terminal.Key(key);
    Pause(600);
    terminal.Key(XK_F3);
    ASSERT_TRUE(Says("Delete the user with ID 5?"));
    Pause(300);

    DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile), "BEGIN IMMEDIATE");
    terminal.Key(XK_Return);
    Pause(1000);
    terminal.Hold(XK_Return, true);
    ASSERT_TRUE(Says("The database is in use by another program: the change was not saved!"));
    Pause(kHeldMs);
    const Surface refusal = terminal.Screen();
    terminal.Hold(XK_Return, false);
    Pause(800);
    EXPECT_EQ(DifferingPixels(refusal, terminal.Screen()), 0) << "the refusal is still shown";
    EXPECT_EQ(Boxes(), 2u) << Errors();

    // A fresh Enter closes it: the page shows again, the ID kept to try
    // again, and nothing more is asked.
    other.Release();
    terminal.Key(XK_Return);
    Pause(800);
    EXPECT_GT(DifferingPixels(refusal, terminal.Screen()), 10000) << "the refusal is gone";
    EXPECT_EQ(Boxes(), 2u) << Errors();
    EXPECT_EQ(Count(u"select count(*) from Userinfo where Userid = '5'"), 1);
    terminal.Close();
    EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitNormal)) << Errors();
}

TEST_F(WindowOneKeyTest, EnterHeldOnTheSettingsResetQuestionAnswersItAlone) {
    Edit("registry.reg", "\"UnitName\"=\"VELTO\"\n", "");
    if (!StartTerminal()) GTEST_SKIP() << display.Why();
    ASSERT_TRUE(Says("If loading config file fail, reset or not? "));
    Pause(500);
    terminal.Hold(XK_Return, true);
    const std::string notice = "Initialising takes a while. Press OK, then wait up to 10 minutes.";
    ASSERT_TRUE(Says(notice));
    Pause(300);
    // The splash's marker below it moves on.
    const Surface shown = SplashCalmRows(terminal.Screen());
    Pause(kHeldMs);
    terminal.Hold(XK_Return, false);
    Pause(800);
    EXPECT_EQ(Boxes(), 2u) << "the notice waits for a key of its own:\n" << Errors();
    EXPECT_EQ(DifferingPixels(shown, SplashCalmRows(terminal.Screen())), 0) << "the notice is still shown";

    terminal.Key(XK_Return);
    ASSERT_TRUE(Says("Initialised. Press OK to exit."));
    EXPECT_EQ(terminal.Wait(0), -1) << "the last notice waits too:\n" << Errors();
    terminal.Key(XK_Return);
    EXPECT_EQ(terminal.Wait(20), 0) << Errors();
    EXPECT_NE(Read("registry.reg").find("\"UnitName\"=\"VELTO\""), std::string::npos) << "the settings were reset";
}

#else

TEST(WindowOneKeyTest, AnEnterHeldThroughTheDatabaseWaitLeavesTheRefusalOnTheScreen) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

TEST(WindowOneKeyTest, EnterHeldOnTheSettingsResetQuestionAnswersItAlone) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
