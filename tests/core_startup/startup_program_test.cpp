// The terminal program started as a person starts it, on a factory device
// root, with scripts run in virtual time.
#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR) && defined(QUILLON_FP_LIBRARY_DIR)
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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

TEST_F(StartupProgramTest, AnEmptyDatabaseFileIsReportedAsDamaged) {
    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.errors.find("message box: Database has been damaged, please contact the administrator!"),
              std::string::npos)
        << run.errors;
}

}  // namespace
#endif
