// A thread of the terminal that the system will not start (it has no thread
// to give), run as the program runs: the refusal is never silent, and the
// terminal goes on only where it can still do its work.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR) && defined(QUILLON_REFUSING_THREAD_PROGRAM)
#include "core/ProcessExit.h"
#include "tests/core_startup/ChildProcess.h"

namespace {

class ThreadStartProgramTest : public ProgramTest {
protected:
    ThreadStartProgramTest() { program = QUILLON_REFUSING_THREAD_PROGRAM; }

    static std::string Refusing(const std::string& thread) { return "QUILLON_REFUSED_THREAD=" + thread; }

    // Runs the program headless with `thread` refused and the script's lines.
    ProgramRun StartRefusing(const std::string& thread, const std::string& script) {
        const std::string scriptPath = root.HostPath("test.script");
        std::ofstream(scriptPath) << script;
        return Launch("--root " + root.Host() + " --headless --script " + scriptPath, Refusing(thread));
    }

    // The terminal started headless and unscripted with `thread` refused,
    // once its main window is up.
    void StartTerminal(Child& terminal, const std::string& thread) {
        std::vector<std::string> environment = {Refusing(thread)};
        for (char** variable = environ; *variable; ++variable) environment.push_back(*variable);
        std::vector<char*> pointers;
        for (std::string& variable : environment) pointers.push_back(variable.data());
        pointers.push_back(nullptr);
        ASSERT_TRUE(terminal.Start({program, "--root", root.Host(), "--headless"}, pointers.data(), -1, errorsPath));
        ASSERT_TRUE(WaitUntil([&] { return Log().find("main window ready") != std::string::npos; }, kSlowStartSeconds))
            << ReadHost(errorsPath);
    }

    const std::string errorsPath = root.HostPath("terminal.err");
};

TEST_F(ThreadStartProgramTest, WithoutTheSplashThreadStartUpGoesOnAndSaysSo) {
    const ProgramRun run = StartRefusing("splash", "wait 500\nkey MENU\nwait 300\nkey ESC\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("quillon: the splash thread could not be started"), std::string::npos) << run.errors;
    EXPECT_NE(Log().find("main window ready"), std::string::npos);
}

TEST_F(ThreadStartProgramTest, WithoutTheIoControllerStartUpStopsWithAMessage) {
    const ProgramRun run = StartRefusing("io", "");
    EXPECT_EQ(run.exitCode, static_cast<int>(kExitStartFailed)) << run.errors;
    EXPECT_NE(run.errors.find("quillon: the I/O controller thread could not be started"), std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("message box: The I/O controller could not start: the terminal stops."),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(Log().find("main window ready"), std::string::npos) << "no main window over a dead controller";
}

TEST_F(ThreadStartProgramTest, WithoutTheCommunicationLinkTheMainScreenSaysSoAndWorksOn) {
    const std::string script = "answer ok\nkey MENU\nwait 300\nkey ESC\nwait 300\nquit\n";
    const ProgramRun run = Start(script);
    const ProgramRun refused = StartRefusing("comm", script);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find("Communication could not start"), std::string::npos) << run.errors;
    EXPECT_EQ(refused.exitCode, 0) << refused.errors;
    EXPECT_NE(refused.errors.find("quillon: the communication thread could not be started"), std::string::npos)
        << refused.errors;
    EXPECT_NE(refused.errors.find(
                  "message box: Communication could not start: the terminal works offline. Please restart it."),
              std::string::npos)
        << refused.errors;
}

TEST_F(ThreadStartProgramTest, WithoutTheScreenFilesWriterTheScreenIsWrittenInLine) {
    const ProgramRun run = StartRefusing("screen", "wait 1500\n" + ShotLine("shown.png") + "quit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("quillon: the screen file's writer thread could not be started"), std::string::npos)
        << run.errors;
    EXPECT_TRUE(SameAboveTheBar(Shot("screen.png"), Shot("shown.png")));
}

TEST_F(ThreadStartProgramTest, WithoutTheFontLoaderStartUpSaysSoAndTextLooksTheSame) {
    const std::string script = "wait 500\nkey MENU\nwait 300\n" + ShotLine("menu.png") + "key ESC\nquit\n";
    const ProgramRun run = Start(script);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Surface loaded = Shot("menu.png");
    const ProgramRun refused = StartRefusing("fonts", script);
    EXPECT_EQ(refused.exitCode, 0) << refused.errors;
    EXPECT_NE(refused.errors.find("quillon: the font loader thread could not be started"), std::string::npos)
        << refused.errors;
    EXPECT_TRUE(SameAboveTheBar(loaded, Shot("menu.png")));
}

TEST_F(ThreadStartProgramTest, WithoutTheSimulatedControllersThreadTheTerminalSaysItRunsWithoutIt) {
    const std::string scriptPath = root.HostPath("test.script");
    std::ofstream(scriptPath) << "wait 300\nquit\n";
    const std::string arguments = "--root " + root.Host() + " --headless --simulate-io --script " + scriptPath;
    const ProgramRun simulated = Launch(arguments);
    EXPECT_EQ(simulated.errors.find("simulated I/O controller could not be started"), std::string::npos)
        << simulated.errors;
    const ProgramRun refused = Launch(arguments, Refusing("iosim"));
    EXPECT_NE(refused.errors.find("quillon: the simulated I/O controller could not be started"), std::string::npos)
        << refused.errors;
}

TEST_F(ThreadStartProgramTest, WithoutTheSignalWatcherATerminationSignalStillEndsTheTerminal) {
    Child terminal;
    StartTerminal(terminal, "signals");
    EXPECT_NE(ReadHost(errorsPath).find("quillon: the signal watcher thread could not be started"), std::string::npos)
        << ReadHost(errorsPath);
    terminal.Signal(SIGTERM);
    EXPECT_EQ(terminal.Wait(10), -1);
    EXPECT_EQ(terminal.EndingSignal(), SIGTERM) << ReadHost(errorsPath);
}

TEST_F(ThreadStartProgramTest, WithoutTheEndsDeadlineATerminationSignalEndsTheTerminalAtOnce) {
    Child terminal;
    StartTerminal(terminal, "deadline");
    terminal.Signal(SIGTERM);
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitNormal)) << ReadHost(errorsPath);
    EXPECT_NE(ReadHost(errorsPath).find("quillon: the end's deadline thread could not be started"), std::string::npos)
        << ReadHost(errorsPath);
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/DB/KD4700.DB-wal")))
        << "the database was not closed";
}

}  // namespace
#endif
