// What a person sees when something goes wrong, run as the program runs:
// every failure is shown and named, the exit status says how the run went,
// and repairing a device folder loses nothing the terminal wrote.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>


#include "tests/support/golden.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDamaged[] = "message box: Database has been damaged, please contact the administrator!\n";

using FailureProgramTest = ProgramTest;

TEST_F(FailureProgramTest, ForceRepairsAFolderInUseAndKeepsEverythingTheTerminalWrote) {
    Execute(u"insert into Userinfo (Userid, Name) values ('5', 'Ann')");
    Execute(u"insert into FPinfo values (0, '5', randomblob(338))");
    Execute(u"insert into Checkinout (Userid, CheckTime) values ('5', '2014-09-01 08:00:00')");
    Edit("registry.reg", "\"UnitName\"=\"VELTO\"", "\"UnitName\"=\"GATE 3\"");
    Edit(kConfig, "<LOCKDELAY>10<", "<LOCKDELAY>25<");
    root.PutFile("NandFlash/zeta42/DB/back/KD4700.bak", Read("NandFlash/zeta42/DB/KD4700.DB"));
    root.PutFile("NandFlash/zeta42/ICON/5.jpg", "photo");
    root.PutFile("NandFlash/zeta42/Snap/5_1.jpg", "snapshot");
    root.PutFile("NandFlash/zeta42/log/KD4700.log", "last run\r\n");
    const std::vector<std::string> kept = {"NandFlash/zeta42/DB/KD4700.DB", "NandFlash/zeta42/DB/back/KD4700.bak",
                                           "registry.reg", kConfig, "NandFlash/zeta42/ICON/5.jpg",
                                           "NandFlash/zeta42/Snap/5_1.jpg", "NandFlash/zeta42/log/KD4700.log"};
    std::vector<std::string> before;
    for (const std::string& file : kept) before.push_back(Read(file));
    const std::string splash = "NandFlash/zeta42/Skin/loading.png";
    const std::string factorySplash = Read(splash);
    Remove(splash);

    const ProgramRun run = Launch("--init-root " + root.Host() + " --force");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(Read(kept[i]), before[i]) << kept[i];
    EXPECT_EQ(Read(splash), factorySplash);
    EXPECT_EQ(Count(u"select count(*) from Userinfo"), 1);

    // Without --force the folder is refused, and the refusal says what
    // --force keeps.
    const ProgramRun refused = Launch("--init-root " + root.Host());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("--force"), std::string::npos) << refused.errors;
    EXPECT_NE(refused.errors.find("database"), std::string::npos) << refused.errors;
}

TEST_F(FailureProgramTest, AFolderThatIsNotADeviceFolderIsNamedWithTheWayToMakeOne) {
    const std::string nowhere = root.HostPath("nowhere");
    ProgramRun run = Launch("--root " + nowhere + " --headless");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.errors.find(nowhere + " is missing"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("quillon --init-root " + nowhere), std::string::npos) << run.errors;

    Remove("NandFlash");
    run = Launch("--root " + root.Host() + " --headless");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.errors.find(root.HostPath("NandFlash/zeta42") + " is missing"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("message box"), std::string::npos) << run.errors;
}

TEST_F(FailureProgramTest, CommandLinesThatCannotWorkAreUsageErrors) {
    const struct {
        std::string arguments;
        std::string error;
    } kCases[] = {
        {"--root", "--root needs a folder"},
        {"--init-root", "--init-root needs a folder"},
        {"--root --headless", "--root needs a folder"},
        {"--headless --window", "--headless and --window cannot be used together"},
        {"--init-root " + root.HostPath("new") + " --root " + root.Host(), "--init-root and --root cannot be used"},
        {"--force --root " + root.Host(), "--force goes with --init-root"},
        {"--sideways", "unknown argument --sideways"},
    };
    for (const auto& c : kCases) {
        const ProgramRun run = Launch(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.errors.find("quillon: " + c.error), std::string::npos) << c.arguments << "\n" << run.errors;
        EXPECT_NE(run.errors.find("usage: quillon"), std::string::npos) << c.arguments;
    }
    EXPECT_FALSE(fs::exists(root.HostPath("new")));
}

TEST_F(FailureProgramTest, AFailedScriptEndsWithStatusTwoAndSaysWhichLine) {
    const struct {
        std::string script;
        std::string error;
    } kCases[] = {
        {"wait 100\nfly away\n", "script line 2: unknown command 'fly'"},
        {"wait soon\n", "script line 1: wait needs a number of milliseconds"},
        {"shot " + root.HostPath("no/such/folder/x.png") + "\n", "script line 1: cannot write"},
    };
    for (const auto& c : kCases) {
        const ProgramRun run = Start(c.script);
        EXPECT_EQ(run.exitCode, 2) << c.script;
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << c.script << "\n" << run.errors;
    }
}

TEST_F(FailureProgramTest, AScriptThatEndsWhileABoxWaitsFailsNamingTheBox) {
    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "");
    const ProgramRun run = Start("wait 100\n");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errors.find("script ended while the message box \"Database has been damaged, please contact the "
                              "administrator!\" waited for an answer"),
              std::string::npos)
        << run.errors;
}

TEST_F(FailureProgramTest, TheDamagedDatabaseBoxIsDrawnInFrontOfTheSplashAndAnsweredByItsKey) {
    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "");
    const ProgramRun run = Start("wait 200\n" + ShotLine("box.png") + "key ENTER\nwait 200\n");
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find(kDamaged), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("script ended"), std::string::npos) << run.errors;
    EXPECT_TRUE(MatchesGolden(SplashCalmRows(Shot("box.png")), "startup_system_box_damaged_database"));

    // Headless without a script nobody can answer: the box gives its text
    // and its answer at once.
    const ProgramRun unattended = Launch("--root " + root.Host() + " --headless");
    EXPECT_EQ(unattended.exitCode, 1);
    EXPECT_NE(unattended.errors.find(kDamaged), std::string::npos) << unattended.errors;
}

// A database folder the terminal may not write is told as what it is; its
// database is not damaged.
TEST_F(FailureProgramTest, AReadOnlyDatabaseFolderIsToldAsSuchAndNotAsDamage) {
    fs::permissions(root.HostPath("NandFlash/zeta42/DB"), fs::perms::all & ~fs::perms::owner_write &
                                                               ~fs::perms::group_write & ~fs::perms::others_write);
    // The system's administrator writes any folder: the terminal runs as a
    // user without rights of its own then, to whom every folder here is
    // read-only.
    if (geteuid() == 0) {
        if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "no setpriv to run as another user";
        fs::permissions(root.Host(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
        program = "setpriv --reuid=65534 --regid=65534 --clear-groups " + program;
    }
    const ProgramRun run = Start("wait 200\nkey ENTER\nwait 100\n");
    fs::permissions(root.HostPath("NandFlash/zeta42/DB"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("message box: The database or its folder is read-only. Please contact the "
                              "administrator!\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find(kDamaged), std::string::npos) << run.errors;
}

TEST_F(FailureProgramTest, AMissingConfigFileIsShownBeforeTheSkinIsKnown) {
    Remove(kConfig);
    const ProgramRun run = Start("wait 200\n" + ShotLine("box.png") + "key ENTER\nwait 200\n");
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("message box: Can not find '\\NandFlash\\zeta42\\config\\config.xml' file!\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("script ended"), std::string::npos) << run.errors;
    EXPECT_TRUE(MatchesGolden(SplashCalmRows(Shot("box.png")), "startup_system_box_missing_config"));
}

TEST_F(FailureProgramTest, ASkinnedBoxIsOnStandardErrorAndAnsweredWhileItShows) {
    Execute(u"INSERT INTO Userinfo VALUES ('7','','','0','2468',0,6,'',1,'',0,0)");
    const ProgramRun run =
        Start("wait 500\nkey MENU\nkey 7\nkey ENTER\nkey 1\nkey 1\nkey ENTER\nwait 100\nanswer ok\nwait 100\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("message box: Only an administrator may open the menu\n"), std::string::npos)
        << run.errors;
}

TEST_F(FailureProgramTest, AWindowThatCannotBeOpenedEndsAtOnceNamingTheDisplay) {
    const std::string quiet = "-u WAYLAND_DISPLAY -u SDL_VIDEODRIVER";
    // When SDL cannot reach the X server, libdbus keeps a buffer that SDL
    // has no way to release: not this program's leak, so the leak check of
    // sanitizer builds is off for that run.
    ProgramRun run = Launch("--root " + root.Host() + " --window",
                            quiet + " ASAN_OPTIONS=detect_leaks=0 DISPLAY=:97 timeout 20");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.errors.find("cannot open a window on the display DISPLAY=:97"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("--headless"), std::string::npos) << run.errors;

    run = Launch("--root " + root.Host() + " --window", quiet + " -u DISPLAY timeout 20");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.errors.find("DISPLAY is empty"), std::string::npos) << run.errors;

    // With no display at all the program says once where the screen goes.
    std::ofstream(root.HostPath("quit.script")) << "quit\n";
    run = Launch("--root " + root.Host() + " --script " + root.HostPath("quit.script"), quiet + " -u DISPLAY");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    const std::string said = "running headless, the screen goes to " + root.Host() + "/screen.png\n";
    const size_t at = run.errors.find(said);
    EXPECT_NE(at, std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find(said, at + 1), std::string::npos) << run.errors;
}

// A socket listening on a port the system chose (`taken`, -1 when none
// could be had), and that port.
int ListenOnAFreePort(int& taken) {
    taken = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    socklen_t length = sizeof address;
    if (taken < 0 || bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(taken, 1) != 0 || getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (taken >= 0) close(taken);
        taken = -1;
        return 0;
    }
    return ntohs(address.sin_port);
}

TEST_F(FailureProgramTest, ATakenPortIsReportedOnStandardError) {
    int taken = -1;
    const int port = ListenOnAFreePort(taken);
    ASSERT_GE(taken, 0);
    Edit(kConfig, "<NETPORT>5010<", "<NETPORT>" + std::to_string(port) + "<");

    // The link starts after the main window, in real time.
    const std::string expected = "quillon: the TCP server cannot listen on port " + std::to_string(port) + "\n";
    const std::string errors =
        RunInBackground([&](const std::string& text) { return text.find(expected) != std::string::npos; });
    close(taken);
    EXPECT_NE(errors.find(expected), std::string::npos) << errors;
}

// A port above 65535 whose low 16 bits name a taken port: the terminal
// once listened (or failed to) there; now it says so and takes the default.
TEST_F(FailureProgramTest, APortOutOfRangeIsToldAndNotCutToSixteenBits) {
    int taken = -1;
    const int port = 65536 + ListenOnAFreePort(taken);
    ASSERT_GE(taken, 0);
    Edit(kConfig, "<NETPORT>5010<", "<NETPORT>" + std::to_string(port) + "<");

    const std::string told = "message box: Network port " + std::to_string(port) +
                             " is out of range (1-65535): port 5010 is used.\n";
    const std::string cut = "cannot listen on port " + std::to_string(port);
    const std::string errors = RunInBackground([&](const std::string& text) {
        return text.find(told) != std::string::npos || text.find(cut) != std::string::npos;
    });
    close(taken);
    EXPECT_NE(errors.find(told), std::string::npos) << errors;
    EXPECT_EQ(errors.find(cut), std::string::npos) << errors;
}

TEST_F(FailureProgramTest, HelpSaysWhatForceKeepsAndWhatTheExitStatusesMean) {
    const std::string out = root.HostPath("help.txt");
    ASSERT_EQ(std::system((std::string(QUILLON_PROGRAM) + " --help >" + out).c_str()), 0);
    const std::string help = ReadHost(out);
    for (const char* word : {"--force", "repairs", "database", "registry.reg", "config.xml", "photos", "snapshots",
                             "log", "exit status", "3 no device folder"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

}  // namespace
#endif
