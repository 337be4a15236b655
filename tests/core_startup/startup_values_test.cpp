// The values start-up and its small services leave behind: the shell's
// entries and the SD host driver's values in the registry, the serial
// ports of the debug channels, the report of a missing file, the debug
// window's size and the limits start-up gives the data stores.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/AppServices.h"
#include "core/AutoStart.h"
#include "core/DebugLog.h"
#include "core/DebugPrint.h"
#include "core/DebugWin.h"
#include "core/InstallCheck.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "core/QuillonApp.h"
#include "core/RegistryKey.h"
#include "core/SystemInit.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "platform/base/device_fs.h"
#include "platform/base/modules.h"
#include "platform/dev/pty.h"
#include "platform/dev/serial.h"
#include "platform/ui/display.h"
#include "tests/core_startup/ProgramTestSupport.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/support/ui_session.h"

namespace {

class StartupValuesTest : public StartupTest {
protected:
    static void CreateKey(LPCWSTR path) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static bool KeyExists(LPCWSTR path) { return CRegistryKey(HKEY_LOCAL_MACHINE, path).IsOpen() != FALSE; }
    // The text of a string value, "(none)" when it is missing.
    static CString Text(LPCWSTR path, LPCWSTR name) {
        CRegistryKey key(HKEY_LOCAL_MACHINE, path);
        CString text;
        if (!key.IsOpen() || !key.QueryStringValue(name, text)) return u"(none)";
        return text;
    }
    static DWORD Number(LPCWSTR path, LPCWSTR name) {
        CRegistryKey key(HKEY_LOCAL_MACHINE, path);
        DWORD value = 0xDEAD;
        key.QueryDWORDValue(name, value);
        return value;
    }
    static CString OwnPathUpper() {
        char16_t path[MAX_PATH + 1] = {};
        CString text(path, static_cast<int>(GetModuleFileNameW(nullptr, path, MAX_PATH)));
        text.MakeUpper();
        return text;
    }
};

TEST_F(StartupValuesTest, TheShellEntriesNameTheLaunchProgramAndTheProgramThatStarts) {
    // Only an existing key is written.
    SetLaunchEntry();
    EXPECT_FALSE(KeyExists(u"init"));
    CreateKey(u"init");
    SetLaunchEntry();
    EXPECT_EQ(Text(u"init", u"Launch50"), u"launch.exe");

    CRegistryKey(HKEY_LOCAL_MACHINE, u"init").SetStringValue(u"Launch70", u"old.exe");
    EXPECT_EQ(IsAutoStartSelf(), 0);
    EXPECT_EQ(SetAutoStart(1), 1);
    EXPECT_EQ(Text(u"init", u"velto"), OwnPathUpper());
    EXPECT_EQ(Text(u"init", u"Launch70"), u"(none)");
    EXPECT_EQ(IsAutoStartSelf(), 1);
    // Going to the desktop hands the next start to the shell.
    CRegistryKey(HKEY_LOCAL_MACHINE, u"init").SetStringValue(u"Launch70", u"old.exe");
    ShowDesktop(1);
    EXPECT_EQ(Text(u"init", u"velto"), u"explorer.exe");
    EXPECT_EQ(Text(u"init", u"Launch70"), u"(none)");
    EXPECT_EQ(IsAutoStartSelf(), 0);
    EXPECT_EQ(Text(u"init", u"Launch50"), u"launch.exe") << "the launch entry stays";
}

TEST_F(StartupValuesTest, TheCardDetectValuesGoOnlyToTheSdHostDriversKey) {
    constexpr LPCWSTR kDriver = u"Drivers\\BuiltIn\\SDHC_SMDK2440";
    EXPECT_EQ(SetSDCardDetect(), 0);
    EXPECT_FALSE(KeyExists(kDriver));
    CreateKey(kDriver);
    CRegistryKey(HKEY_LOCAL_MACHINE, kDriver).SetDWORDValue(u"CardDetectFlag", 7);
    EXPECT_EQ(SetSDCardDetect(), 1);
    EXPECT_EQ(Number(kDriver, u"CardDetectPullupFlag"), 256u);
    EXPECT_EQ(Number(kDriver, u"CardDetectFlag"), 0u);
    EXPECT_EQ(Text(kDriver, u"CardDetectGPIO"), u"H");
}

TEST_F(StartupValuesTest, AMissingFileOrFolderIsReportedByItsPath) {
    const int mode = g_MachineConfig.DEBUGMODE;
    g_MachineConfig.DEBUGMODE = 1;  // debug output reaches the journal
    PutAppFile("present.dll");
    EXPECT_EQ(FileExistsReport(u"\\NandFlash\\zeta42\\present.dll"), 1);
    EXPECT_EQ(FileExistsReport(u"\\NandFlash\\zeta42\\absent.dll"), 0);
    EXPECT_EQ(CheckFolderReport(u"\\NandFlash\\zeta42\\DB"), 1);
    EXPECT_EQ(CheckFolderReport(u"\\NandFlash\\zeta42\\Nowhere"), 0);
    g_MachineConfig.DEBUGMODE = mode;
    std::vector<std::u16string> lines;
    for (const std::u16string& line : Journal(kJournalDebug))
        if (line != u"\r\n") lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"\\NandFlash\\zeta42\\absent.dll can not be found!",
                                                  u"\\NandFlash\\zeta42\\Nowhere can not be found!"}));
}

// The two serial debug channels on two lines of their own.
class DebugChannelTest : public StartupValuesTest {
protected:
    void SetUp() override {
        StartupValuesTest::SetUp();
        ASSERT_TRUE(first.Open() && second.Open());
        MapSerialPort(u"COM1", first.TerminalPath());
        MapSerialPort(u"COM2", second.TerminalPath());
        m_savedChannel = g_MachineConfig.DebugChannel;
    }
    void TearDown() override {
        g_MachineConfig.DebugChannel = m_savedChannel;
        MapSerialPort(u"COM1", "");
        MapSerialPort(u"COM2", "");
        StartupValuesTest::TearDown();
    }
    // What reached the controller side of `line` within a second.
    static std::string Received(const PtyPair& line) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        const int flags = fcntl(line.ControllerFd(), F_GETFL);
        fcntl(line.ControllerFd(), F_SETFL, flags | O_NONBLOCK);
        while (std::chrono::steady_clock::now() < deadline) {
            char buffer[256];
            const ssize_t got = read(line.ControllerFd(), buffer, sizeof buffer);
            if (got > 0) text.append(buffer, static_cast<size_t>(got));
            else std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!text.empty() && got <= 0) break;
        }
        return text;
    }
    static speed_t LineSpeed(const PtyPair& line) {
        termios settings{};
        const int fd = open(line.TerminalPath().c_str(), O_RDWR | O_NOCTTY);
        tcgetattr(fd, &settings);
        close(fd);
        return cfgetospeed(&settings);
    }

    PtyPair first;
    PtyPair second;

private:
    int m_savedChannel = 0;
};

TEST_F(DebugChannelTest, ChannelTwoWritesToTheFirstPortAndChannelThreeToTheSecondAtTheirSpeed) {
    g_MachineConfig.DebugChannel = 2;
    DebugPrint(u"first port %d", 1);
    EXPECT_EQ(Received(first), "first port 1");
    EXPECT_EQ(LineSpeed(first), static_cast<speed_t>(B115200));
    g_MachineConfig.DebugChannel = 3;
    DebugPrint(u"second port %d", 2);
    EXPECT_EQ(Received(second), "second port 2");
    EXPECT_EQ(LineSpeed(second), static_cast<speed_t>(B115200));
    EXPECT_EQ(Received(first), "") << "one line, one port";
}

TEST_F(StartupValuesTest, TheDebugWindowTakesAllButTheScreensLastPixels) {
    struct DisplayStopper {
        ~DisplayStopper() { StopDisplay(); }
    } stopper;
    UiSession session;
    CDebugWin* window = OpenDebugWindow(nullptr);
    session.Pump();
    CRect rect;
    window->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(0, 0, 315, 230));
    SetDebugWindow(nullptr);
}

#if defined(QUILLON_FACTORY_IMAGE_DIR)
// The data stores start-up makes, on a copy of the factory device.
class StartupLimitsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(root.Host());
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
        // The terminal's log opens once per process and stays open: opened
        // in this passing root, it would keep the log's own tests of this
        // program from opening it where they look.
        std::filesystem::remove_all(root.HostPath(std::string(kAppFolder) + "log"));
        SetDeviceRoot(root.Host());  // the factory registry read in
        InitSystemLocks();
        JournalClear();
    }
    void TearDown() override {
        g_pszLogPath = nullptr;
        delete g_pRecordStore;
        g_pRecordStore = nullptr;
        delete g_pUserStorage;
        g_pUserStorage = nullptr;
        delete g_pDeptStorage;
        g_pDeptStorage = nullptr;
        delete g_pFPTemplateStore;
        g_pFPTemplateStore = nullptr;
        CloseDatabase();
    }
    ScopedDeviceRoot root;
};

TEST_F(StartupLimitsTest, UsersAndRecordsGetTheirLimits) {
    ASSERT_EQ(InitTool(), 1);
    EXPECT_TRUE(JournalRead(kJournalMessageBox).empty()) << "the factory settings load without a question";
    ASSERT_NE(g_pUserStorage, nullptr);
    EXPECT_EQ(g_pUserStorage->GetMax(), 5000);
    ASSERT_NE(g_pRecordStore, nullptr);
    EXPECT_EQ(g_pRecordStore->GetCapacity(), 100000u);
}
#endif

}  // namespace

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
namespace {

// The terminal program on a copy of the factory device.
class StartupRegistryProgramTest : public ProgramTest {};

TEST_F(StartupRegistryProgramTest, AStartWritesTheLaunchEntryIntoARegistryWithoutIt) {
    Edit("registry.reg", "\"Launch50\"=\"launch.exe\"\n", "");
    ASSERT_EQ(Read("registry.reg").find("Launch50"), std::string::npos);
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(Read("registry.reg").find("\"Launch50\"=\"launch.exe\""), std::string::npos);
}

TEST_F(StartupRegistryProgramTest, ADatabaseThatCannotBeOpenedEndsTheStartAndHandsTheNextToTheShell) {
    Edit("registry.reg", "\"Launch50\"=\"launch.exe\"\n", "\"Launch50\"=\"launch.exe\"\n\"Launch70\"=\"old.exe\"\n");
    Remove("NandFlash/zeta42/DB");
    const ProgramRun run = Start("quit\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("message box: Open DataBase failure!\n"), std::string::npos) << run.errors;
    const std::string registry = Read("registry.reg");
    EXPECT_NE(registry.find("\"velto\"=\"explorer.exe\""), std::string::npos) << registry;
    EXPECT_EQ(registry.find("Launch70"), std::string::npos);
}

}  // namespace
#endif
