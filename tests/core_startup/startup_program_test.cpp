// The terminal program started as a person starts it, on a factory device
// root, with scripts run in virtual time.
#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR) && defined(QUILLON_FP_LIBRARY_DIR)
#include "tests/core_startup/ProgramTestSupport.h"

#include "platform/base/localtime.h"
#include "platform/base/registry.h"

namespace {

namespace fs = std::filesystem;

class StartupProgramTest : public ProgramTest {
protected:
    void ReplaceLibrary(const std::string& variant, const std::string& name) const {
        fs::copy_file(std::string(QUILLON_FP_LIBRARY_DIR) + "/" + variant + ".dll",
                      root.HostPath("NandFlash/zeta42/" + name), fs::copy_options::overwrite_existing);
    }
};

TEST_F(StartupProgramTest, ANormalStartReachesTheMainWindow) {
    fs::create_directories(root.HostPath("NandFlash/zeta42/log"));
    root.PutFile("NandFlash/zeta42/log/KD4700.log", "an older run\r\n");
    const ProgramRun run = Start("wait 1000\nshot " + root.HostPath("main.png") + "\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    const std::string log = Log();
    EXPECT_EQ(log.find("an older run"), std::string::npos);
    EXPECT_NE(log.find(" : =============================================\r\n"), std::string::npos);
    EXPECT_NE(log.find(" : Brisant run.......\r\n"), std::string::npos);
    EXPECT_NE(log.find(" : main window ready\r\n"), std::string::npos) << log;
    const std::string registry = Read("registry.reg");
    EXPECT_NE(registry.find("\"Launch50\"=\"launch.exe\""), std::string::npos);
    // The shell's task bar is hidden: the main screen's own bar is at the bottom.
    std::vector<uint8_t> png;
    Surface shot;
    ASSERT_TRUE(ReadHostFile(root.HostPath("main.png"), png) && DecodePng(png, shot));
    EXPECT_NE(shot.At(160, 236) & 0xFFFFFF, 0x404048u);
}

TEST_F(StartupProgramTest, ASecondInstanceEndsAtOnce) {
    // The second instance starts while the first runs its main window.
    ProgramRun second;
    RunInBackground([&](const std::string&) {
        if (Log().find("main window ready") == std::string::npos) return false;
        second = Start("wait 200\nquit\n");
        return true;
    });
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_NE(second.errors.find("quillon: the terminal is already running"), std::string::npos) << second.errors;
    EXPECT_EQ(second.errors.find("message box"), std::string::npos) << second.errors;
}

TEST_F(StartupProgramTest, TheMaintenanceMarkerReturnsToTheDesktop) {
    fs::create_directories(root.HostPath("USB Disk/velto4720396158273"));
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.errors.find("shell: open \\windows\\explorer.exe"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("\\NandFlash\\windows\\zetawatch.exe"), std::string::npos) << run.errors;
    EXPECT_TRUE(Log().empty());
}

TEST_F(StartupProgramTest, AMissingSplashImageEndsTheStart) {
    Remove("NandFlash/zeta42/Skin/loading.png");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("message box: file can not be found"), std::string::npos) << run.errors;
    EXPECT_EQ(Log().find("main window ready"), std::string::npos);
}

TEST_F(StartupProgramTest, ANewSensorWithAnOldProcessingLibraryAsksForTheUpgrade) {
    ReplaceLibrary("SMControl_WinCE_v7", "SMControl_WinCE.dll");
    ReplaceLibrary("SMProcess_WinCE_v1", "SMProcess_WinCE.dll");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("message box: Please upgrade \"SMProcess_WinCE.dll\" file to ver 2.0!"),
              std::string::npos)
        << run.errors;
}

TEST_F(StartupProgramTest, AMissingConfigFileEndsWithItsMessage) {
    Remove("NandFlash/zeta42/config/config.xml");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(Log().find(" : Brisant run.......\r\n"), std::string::npos);
    EXPECT_EQ(Log().find("main window ready"), std::string::npos);
}

TEST_F(StartupProgramTest, TheAutoFunctionTableIsMadeWhenMissingAndMendedWhenShort) {
    ASSERT_EQ(Count(u"select count(*) from sqlite_master where name = 'AtuoFN'"), 0);
    EXPECT_EQ(Start("quit\n").exitCode, 0);
    EXPECT_EQ(Count(u"select count(*) from AtuoFN"), 16);
    EXPECT_EQ(Count(u"select count(*) from AtuoFN where SpaceID between 1 and 16 and MonStart = '00:00'"), 16);
    {
        CDbSqlite db;
        ASSERT_TRUE(db.Open(kDatabase));
        db.DirectStatement(u"delete from AtuoFN where SpaceID > 1");
        db.DirectStatement(u"update AtuoFN set FNID = 5");
    }
    EXPECT_EQ(Start("quit\n").exitCode, 0);
    EXPECT_EQ(Count(u"select count(*) from AtuoFN"), 16);
    EXPECT_EQ(Count(u"select FNID from AtuoFN where SpaceID = 1"), 5);
}

TEST_F(StartupProgramTest, AnEmptyDatabaseFileIsReportedAsDamaged) {
    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("message box: Database has been damaged, please contact the administrator!"),
              std::string::npos)
        << run.errors;
}

// Headless, the screen file follows the clock: the minute the main screen
// turns to is in the file, not the one it showed before.
TEST_F(StartupProgramTest, TheScreenFileShowsTheMinuteTheClockTurnedTo) {
    // The factory registry came in after the root was set: the clock's
    // offset is written beside what it holds, not in place of it.
    RegistryLoad();
    const std::string script = ShotLine("first.png") + "wait 1500\n" + ShotLine("shown.png") + "quit\n";
    // The device clock is set to one of a minute's last seconds just before
    // the start, so that the minute turns at the first tick. A start that
    // takes a second or more lets the minute turn before the first shot:
    // the run is made again with the clock set a second earlier, and so on.
    bool turned = false;
    for (int second : {59, 58, 57, 56, 59}) {
        std::this_thread::sleep_until(std::chrono::time_point_cast<std::chrono::seconds>(
                                          std::chrono::system_clock::now()) + std::chrono::seconds(1));
        SYSTEMTIME now;
        GetLocalTime(&now);
        now.wSecond = static_cast<WORD>(second);
        now.wMilliseconds = 0;
        ASSERT_TRUE(SetLocalTime(&now));
        const ProgramRun run = Start(script);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        turned = !SameAboveTheBar(Shot("first.png"), Shot("shown.png"));
        if (turned) break;
    }
    ASSERT_TRUE(turned) << "the clock never turned within the run";
    EXPECT_TRUE(SameAboveTheBar(Shot("screen.png"), Shot("shown.png")));
}

// A terminal in use whose settings can no longer be loaded: the unit name
// is gone from the registry, the configuration file has been changed, and
// the database holds a user with two fingers and a record.
class SettingsResetTest : public StartupProgramTest {
protected:
    void SetUp() override {
        StartupProgramTest::SetUp();
        Edit("registry.reg", "\"UnitName\"=\"VELTO\"\n", "");
        Edit(kConfig, "<LOCKDELAY>10<", "<LOCKDELAY>99<");
        Edit(kConfig, "<PASSWORD>80516<", "<PASSWORD>4711<");
        CDbSqlite db;
        ASSERT_TRUE(db.Open(kDatabase));
        db.DirectStatement(u"insert into Userinfo (Userid, Name) values ('5', 'Ann')");
        db.DirectStatement(u"insert into FPinfo values (0, '5', randomblob(338))");
        db.DirectStatement(u"insert into FPinfo values (1, '5', randomblob(338))");
        db.DirectStatement(u"insert into Checkinout (Userid, CheckTime) values ('5', '2014-09-01 08:00:00')");
        db.DirectStatement(u"update BasePara set AllRecordcount = 1, NewRecordcount = 1");
    }
    static constexpr char kQuestion[] = "message box: If loading config file fail, reset or not? \n";
    bool WasReset() const { return Read(kConfig).find("<LOCKDELAY>10<") != std::string::npos; }
};

TEST_F(SettingsResetTest, AnsweredYesTheTerminalGoesBackToItsFactoryState) {
    const ProgramRun run = Start("answer yes\nanswer ok\nanswer ok\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find(kQuestion), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("message box: Initialised. Press OK to exit.\n"), std::string::npos) << run.errors;
    EXPECT_EQ(Log().find("main window ready"), std::string::npos);
    EXPECT_NE(Read("registry.reg").find("\"UnitName\"=\"VELTO\""), std::string::npos);
    const std::string config = Read(kConfig);
    EXPECT_NE(config.find("<LOCKDELAY>10<"), std::string::npos);
    EXPECT_NE(config.find("<PASSWORD>80516<"), std::string::npos);
    EXPECT_EQ(Count(u"select count(*) from Userinfo"), 0);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 0);
    // The record ring is emptied by its counters.
    EXPECT_EQ(Count(u"select AllRecordcount + NewRecordcount from BasePara"), 0);
}

// The database refuses the emptying (its file may not be written): the
// terminal says why and that the data was not cleared, claims no success,
// and ends with an error; the users, fingers and records are all kept.
TEST_F(SettingsResetTest, ARefusedResetSaysWhyAndKeepsTheData) {
    if (!MakeTheDatabaseFileReadOnly()) GTEST_SKIP() << "no setpriv to run as another user";
    const ProgramRun run = Start("answer yes\nanswer ok\nanswer ok\n");
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("message box: The database file is read-only: the data was not cleared!\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("Initialised"), std::string::npos) << run.errors;
    EXPECT_EQ(Count(u"select count(*) from Userinfo"), 1);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 2);
    EXPECT_EQ(Count(u"select AllRecordcount from BasePara"), 1);
}

TEST_F(SettingsResetTest, AnsweredNoNothingIsReset) {
    const ProgramRun run = Start("answer no\nwait 1000\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find(kQuestion), std::string::npos) << run.errors;
    EXPECT_NE(Read(kConfig).find("<LOCKDELAY>99<"), std::string::npos);
    EXPECT_EQ(Count(u"select count(*) from Userinfo"), 1);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 2);
    EXPECT_EQ(Count(u"select AllRecordcount from BasePara"), 1);
}

TEST_F(SettingsResetTest, AnAnswerGivenWhileTheQuestionShowsAnswersIt) {
    const ProgramRun run = Start("wait 300\nanswer no\nwait 500\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(WasReset());
    EXPECT_NE(Log().find("main window ready"), std::string::npos);
}

TEST_F(SettingsResetTest, TheArrowsMoveBetweenYesAndNoAndEnterChooses) {
    ProgramRun run = Start("wait 300\nkey RIGHT\nkey ENTER\nwait 500\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(WasReset());
    // Enter alone chooses Yes; the two notices after it take Enter too.
    run = Start("wait 300\nkey ENTER\nwait 100\nkey ENTER\nwait 100\nkey ENTER\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(WasReset());
    EXPECT_NE(run.errors.find("message box: Initialised. Press OK to exit.\n"), std::string::npos) << run.errors;
}

}  // namespace
#endif
