// The terminal program started as a person starts it, on a factory device
// root, with scripts run in virtual time.
#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR) && defined(QUILLON_FP_LIBRARY_DIR)
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/SystemLocks.h"
#include "data/DbSqlite.h"
#include "data/SqlHelpers.h"
#include "platform/ui/imagefile.h"
#include "tests/support/device_root.h"

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int exitCode = -1;
    std::string errors;  // standard error: message boxes and shell starts
};

class StartupProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(root.Host());
        fs::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), fs::copy_options::recursive);
        InitSystemLocks();  // the test reads the device's database too
    }

    // Runs the program on the root with the script's lines.
    ProgramRun Start(const std::string& script, const std::string& extra = "") {
        const std::string scriptPath = root.HostPath("test.script");
        std::ofstream(scriptPath) << script;
        const std::string errorsPath = root.HostPath("stderr.txt");
        const std::string command = std::string(QUILLON_PROGRAM) + " --root " + root.Host() + " --headless --script " +
                                    scriptPath + " " + extra + " 2>" + errorsPath;
        ProgramRun run;
        const int status = std::system(command.c_str());
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream file(errorsPath);
        run.errors.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return run;
    }
    std::string Read(const std::string& relative) const { return root.ReadFile(relative); }
    std::string Log() const { return Read("NandFlash/zeta42/log/KD4700.log"); }
    void Remove(const std::string& relative) const { fs::remove_all(root.HostPath(relative)); }
    void ReplaceLibrary(const std::string& variant, const std::string& name) const {
        fs::copy_file(std::string(QUILLON_FP_LIBRARY_DIR) + "/" + variant + ".dll",
                      root.HostPath("NandFlash/zeta42/" + name), fs::copy_options::overwrite_existing);
    }

    // Replaces `from`, which must be there, by `to` in a device-root file.
    void Edit(const std::string& relative, const std::string& from, const std::string& to) const {
        std::string text = Read(relative);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        root.PutFile(relative, text.replace(at, from.size(), to));
    }

    // A number the device's database gives for `sql`.
    int Count(LPCWSTR sql) {
        CDbSqlite db;
        EXPECT_TRUE(db.Open(kDatabase));
        return QueryInt(db, sql);
    }

    static constexpr char16_t kDatabase[] = u"\\NandFlash\\zeta42\\DB\\KD4700.DB";
    ScopedDeviceRoot root;
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
    // The first instance waits in its script while the second starts.
    const std::string second = std::string(QUILLON_PROGRAM) + " --root " + root.Host() +
                               " --headless --script /dev/null 2>/dev/null; echo $? > " + root.HostPath("second.txt");
    root.PutFile("second.sh", second + "\n");
    const ProgramRun first = Start("wait 200\nquit\n", "& sleep 1; sh " + root.HostPath("second.sh") + "; wait");
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(Read("second.txt"), "0\n");
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
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.errors.find("message box: file can not be found"), std::string::npos) << run.errors;
    EXPECT_EQ(Log().find("main window ready"), std::string::npos);
}

TEST_F(StartupProgramTest, ANewSensorWithAnOldProcessingLibraryAsksForTheUpgrade) {
    ReplaceLibrary("SMControl_WinCE_v7", "SMControl_WinCE.dll");
    ReplaceLibrary("SMProcess_WinCE_v1", "SMProcess_WinCE.dll");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.errors.find("message box: Please upgrade \"SMProcess_WinCE.dll\" file to ver 2.0!"),
              std::string::npos)
        << run.errors;
}

TEST_F(StartupProgramTest, AMissingConfigFileEndsCleanlyWithItsMessage) {
    Remove("NandFlash/zeta42/config/config.xml");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 0);
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
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.errors.find("message box: Database has been damaged, please contact the administrator!"),
              std::string::npos)
        << run.errors;
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
    static constexpr char kConfig[] = "NandFlash/zeta42/config/config.xml";
    static constexpr char kQuestion[] = "message box: If loading config file fail, reset or not? \n";
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

TEST_F(SettingsResetTest, AnsweredNoNothingIsReset) {
    const ProgramRun run = Start("answer no\nwait 1000\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find(kQuestion), std::string::npos) << run.errors;
    EXPECT_NE(Read(kConfig).find("<LOCKDELAY>99<"), std::string::npos);
    EXPECT_EQ(Count(u"select count(*) from Userinfo"), 1);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 2);
    EXPECT_EQ(Count(u"select AllRecordcount from BasePara"), 1);
}

}  // namespace
#endif
