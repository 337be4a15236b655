// How the terminal ends when the end comes from outside: its display going
// away, its window's close button, SIGTERM. Each ends at once, with the
// database closed (its write-ahead log folded back into the file) and the
// log's last line written, as at a normal end; and a finger an earlier run
// left on the sensor is gone when the next run starts.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include <sys/stat.h>

#include "core/ProcessExit.h"
#include "tests/core_startup/ChildProcess.h"
#if defined(QUILLON_X11_TEST)
#include "tests/core_startup/XDisplaySupport.h"
#endif

namespace {

class ProgramEndTest : public ProgramTest {
protected:
    bool Ready() const { return Log().find("main window ready") != std::string::npos; }
    // The database and the log as a normal end leaves them.
    void ExpectEndedNormally() const {
        EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/DB/KD4700.DB-wal")))
            << "the database was not closed\n" << ReadHost(errorsPath) << Log();
        const std::string log = Log();
        EXPECT_NE(log.find("Log finished"), std::string::npos) << log;
    }
    const std::string errorsPath = root.HostPath("terminal.err");
};

TEST_F(ProgramEndTest, SigtermEndsTheTerminalAsANormalEnd) {
    Child terminal;
    ASSERT_TRUE(terminal.Start({QUILLON_PROGRAM, "--root", root.Host(), "--headless"}, nullptr, -1, errorsPath));
    auto waitReady = [this] {
        for (int i = 0; i < 600 && !Ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return Ready();
    };
    ASSERT_TRUE(waitReady());
    terminal.Signal(SIGTERM);
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitNormal)) << ReadHost(errorsPath);
    ExpectEndedNormally();
}

// Work that never unwinds: the script's finger is read from a pipe that
// nobody writes into, which holds the user-interface thread. SIGTERM still
// ends the terminal, by its deadline (five seconds; the wait is generous
// for a loaded machine), as a normal end with the database left as it
// stands under the work.
TEST_F(ProgramEndTest, SigtermEndsTheTerminalByItsDeadlineWhenTheWorkDoesNotUnwind) {
    const std::string finger = root.HostPath("finger.fifo");
    ASSERT_EQ(mkfifo(finger.c_str(), 0600), 0);
    const std::string scriptPath = root.HostPath("test.script");
    std::ofstream(scriptPath) << "finger " << finger << "\nquit\n";
    Child terminal;
    ASSERT_TRUE(terminal.Start({QUILLON_PROGRAM, "--root", root.Host(), "--headless", "--script", scriptPath}, nullptr,
                               -1, errorsPath));
    // The pipe opens for writing once the terminal reads it.
    int pipe = -1;
    ASSERT_TRUE(WaitUntil([&] { return (pipe = open(finger.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; },
                          kSlowStartSeconds))
        << ReadHost(errorsPath);
    terminal.Signal(SIGTERM);
    const int status = terminal.Wait(30);
    close(pipe);
    EXPECT_EQ(status, static_cast<int>(kExitNormal)) << ReadHost(errorsPath);
    EXPECT_NE(Log().find("Log finished"), std::string::npos) << Log();
    EXPECT_TRUE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/DB/KD4700.DB-wal")))
        << "the database was closed under the work";
}

// A script that ends with the finger still on the sensor; the next run's
// administrator check must not take that finger for a new press.
TEST_F(ProgramEndTest, AFingerLeftOnTheSensorByAnEarlierRunIsLiftedAtTheNextStart) {
    const std::string samples = root.HostPath("samples/");
    const std::string enrolAdministrator =
        "wait 800\nkey MENU\nwait 300\nkey ENTER\nwait 300\nanswer yes\nkey 5\nkey ENTER\nwait 500\n"
        "key DOWN\nkey DOWN\nkey DOWN\nkey RIGHT\nkey ESC\nwait 300\nkey ENTER\nwait 300\n"
        "finger " + samples + "user1_finger0_press1.bmp\nwait 300\nlift\nwait 700\n"
        "finger " + samples + "user1_finger0_press2.bmp\nwait 300\nlift\nwait 300\nanswer ok\nkey ENTER\nwait 300\n"
        "key ESC\nwait 300\nkey ESC\nwait 300\nkey ESC\nwait 300\n"
        "finger " + samples + "user1_finger0_press1.bmp\nquit\n";
    ASSERT_EQ(Start(enrolAdministrator).exitCode, 0);
    ASSERT_EQ(Count(u"SELECT count(*) FROM Userinfo WHERE Userid = '5' AND AdminFlag = 1"), 1);
    ASSERT_EQ(Count(u"SELECT count(*) FROM FPinfo WHERE Userid = '5'"), 1);
    const std::string leftFinger = root.HostPath("NandFlash/zeta42/Sensor/finger.bmp");
    ASSERT_TRUE(std::filesystem::exists(leftFinger)) << "the earlier run left its finger";

    // The menu key with nobody's finger on the sensor: the panel stays shut.
    const std::string menuThenLook = "wait 500\nkey MENU\nwait 1000\nkey RIGHT\nwait 200\n" + ShotLine("after.png") +
                                     "key ESC\nwait 200\nkey ESC\nwait 200\nquit\n";
    ASSERT_EQ(Start(menuThenLook).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(leftFinger));
    EXPECT_FALSE(SameAboveTheBar(Shot("after.png"), GoldenPicture("panel_grid")))
        << "the earlier run's finger opened the panel";

    // The same look with his finger pressed now: the panel opens.
    ASSERT_EQ(Start("finger " + samples + "user1_finger0_press1.bmp\n" + menuThenLook).exitCode, 0);
    EXPECT_TRUE(SameAboveTheBar(Shot("after.png"), GoldenPicture("panel_grid")));
}

#if defined(QUILLON_X11_TEST)

class WindowEndTest : public ProgramEndTest {
protected:
    void SetUp() override {
        ProgramEndTest::SetUp();
        if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
        ASSERT_TRUE(terminal.Start({"--root", root.Host(), "--window"}, errorsPath));
        ASSERT_TRUE(terminal.FindWindow(20)) << "no window named Terminal on " << display.Name();
        ASSERT_TRUE(WaitUntil([this] { return Ready(); }, 30));
    }
    VirtualDisplay display;
    TerminalWindow terminal{display};
};

TEST_F(WindowEndTest, TheDisplayGoingAwayEndsTheTerminalAtOnceNamingTheDisplay) {
    const std::string name = display.Name();
    display.Kill();
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitCannotStart)) << ReadHost(errorsPath);
    EXPECT_NE(ReadHost(errorsPath).find("quillon: the display DISPLAY=" + name + " has gone away"), std::string::npos)
        << ReadHost(errorsPath);
    ExpectEndedNormally();
}

TEST_F(WindowEndTest, TheWindowsCloseButtonIsANormalEnd) {
    terminal.Close();
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitNormal)) << ReadHost(errorsPath);
    ExpectEndedNormally();
}

// Another program destroys the window (`xdotool windowclose`): the
// terminal's next drawing on it fails on the X server, and that ends the
// terminal as its close button does.
TEST_F(WindowEndTest, AWindowDestroyedByAnotherProgramIsANormalEnd) {
    terminal.Destroy();
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitNormal)) << ReadHost(errorsPath);
    ExpectEndedNormally();
    EXPECT_EQ(ReadHost(errorsPath).find("X Error"), std::string::npos) << ReadHost(errorsPath);
}

// A window manager's kill (`xdotool windowkill`): the X server cuts the
// terminal's connection and runs on. The window is gone with it, and that
// is a normal end, not the display's going away.
TEST_F(WindowEndTest, AConnectionCutByTheServerThatRunsOnIsANormalEnd) {
    terminal.Kill();
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitNormal)) << ReadHost(errorsPath);
    ExpectEndedNormally();
    EXPECT_EQ(ReadHost(errorsPath).find("has gone away"), std::string::npos) << ReadHost(errorsPath);
}

#else

TEST(WindowEndTest, TheDisplayGoingAwayEndsTheTerminalAtOnceNamingTheDisplay) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

TEST(WindowEndTest, AWindowDestroyedByAnotherProgramIsANormalEnd) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

TEST(WindowEndTest, AConnectionCutByTheServerThatRunsOnIsANormalEnd) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
