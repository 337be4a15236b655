// The I/O-controller commands the pages send, and a write to a port that
// takes nothing giving up while the controller's lock is held.

#include "core/MachineConfig.h"
#include "main/RestartCommand.h"
#include "panel/McuCommands.h"
#include "platform/base/clock.h"
#include "main/AlarmChecks.h"
#include "main/QuillonDlg.h"
#include "platform/base/debug.h"
#include "platform/base/localtime.h"
#include "tests/core_startup/IoLineTestSupport.h"
#include "transfer/Watchdog.h"

namespace {

class IoCommandsTest : public IoLineTest {
protected:
    void SetUp() override {
        IoLineTest::SetUp();
        UseVirtualClock(true);
    }
    void TearDown() override {
        UseVirtualClock(false);
        g_MachineConfig.DEBUGMODE = 0;
        IoLineTest::TearDown();
    }
};

TEST_F(IoCommandsTest, EachCommandPutsItsFrameOnTheLine) {
    SendRestartCommand();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xF8, 0x01, 0x01, 0xF8}));
    SendMcuCommandOff();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xFB, 0x00, 0x00, 0xFB}));
    SendMcuCommandOn();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xFB, 0x01, 0x01, 0xFB}));
    FeedWatchdog();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xFE, 0x01, 0x01, 0xFE}));
    // In debug mode the watchdog is not fed; a restart is still asked for.
    g_MachineConfig.DEBUGMODE = 1;
    FeedWatchdog();
    SendRestartCommand();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xF8, 0x01, 0x01, 0xF8}));
}

// What the main window sends at start-up: the door sensor check, then the
// tamper check, each as the settings hold it.
TEST_F(IoCommandsTest, TheStoredAlarmChecksGoOutDoorSensorFirst) {
    g_MachineConfig.FCCHECKALARM = 1;
    g_MachineConfig.MCCHECKALARM = 0;
    SendStoredAlarmChecks();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xF5, 0x01, 0x01, 0xF5, 0xF4, 0x00, 0x00, 0xF4}));
    g_MachineConfig.FCCHECKALARM = 0;
    g_MachineConfig.MCCHECKALARM = 7;
    SendStoredAlarmChecks();
    EXPECT_EQ(Sent(), (std::vector<BYTE>{0xF5, 0x00, 0x00, 0xF5, 0xF4, 0x01, 0x01, 0xF4}));
    g_MachineConfig.FCCHECKALARM = 1;
    g_MachineConfig.MCCHECKALARM = 0;
}

TEST_F(IoCommandsTest, AWriteToAPortThatTakesNothingGivesUpAfterItsTime) {
    pty.CloseController();
    const BYTE frame[4] = {0xFE, 0x01, 0x01, 0xFE};
    const DWORD bound = g_ioControllerPort.WriteGiveUpMs(4);
    EXPECT_GE(bound, CSerialPort::kWriteSlackMs);
    // A long line may take the time it needs at the port's rate (5.3 s at 9600 baud).
    EXPECT_GE(g_ioControllerPort.WriteGiveUpMs(5120), 5333u);
    const uint64_t start = ClockNowMs();
    EXPECT_EQ(g_ioControllerPort.Write(frame, 4), 0);
    const uint64_t spent = ClockNowMs() - start;
    EXPECT_GE(spent, bound);  // it kept trying for the whole time
    EXPECT_LT(spent, bound + CSerialPort::kWritePauseMs);
    // The exchanges that hold the controller's lock come back too.
    SendRestartCommand();
    FeedWatchdog();
    EXPECT_TRUE(TryEnterCriticalSection(&g_csIoController));
    LeaveCriticalSection(&g_csIoController);
}

// The main window's memory timer (timer 3): at 02:22, with at most 512 KB
// of physical memory free, it asks the controller to restart the terminal;
// at any other minute, or with more memory free, it sends nothing.
DWORD g_freeBytes = 0;

TEST_F(IoCommandsTest, TheNightCheckAsksForARestartOnlyAt0222WithMemoryShort) {
    constexpr DWORD kThreshold = 512 * 1024;
    const std::vector<BYTE> restart{0xF8, 0x01, 0x01, 0xF8};
    struct Case {
        WORD hour, minute;
        DWORD freeBytes;
        bool restarts;
    };
    const Case cases[] = {
        {2, 22, kThreshold, true},
        {2, 22, 4096, true},
        {2, 22, kThreshold + 1, false},
        {2, 21, kThreshold, false},
        {2, 23, kThreshold, false},
        {2, 21, 4096, false},
        {2, 23, 4096, false},
        {3, 22, kThreshold, false},
        {14, 22, kThreshold, false},
    };
    SetMemoryStatusHook([](LPMEMORYSTATUS status) { status->dwAvailPhys = g_freeBytes; });
    CQuillonDlg window(nullptr);
    for (const Case& c : cases) {
        g_freeBytes = c.freeBytes;
        SYSTEMTIME now{2024, 3, 0, 12, c.hour, c.minute, 30, 0};
        ASSERT_TRUE(SetLocalTime(&now));
        window.OnTimer(3);
        EXPECT_EQ(Sent(), c.restarts ? restart : std::vector<BYTE>{})
            << c.hour << ":" << c.minute << " with " << c.freeBytes << " bytes free";
    }
    SetMemoryStatusHook(nullptr);
}

}  // namespace
