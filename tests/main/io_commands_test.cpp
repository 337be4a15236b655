// The I/O-controller commands the pages send, and a write to a port that
// takes nothing giving up while the controller's lock is held.

#include "core/MachineConfig.h"
#include "main/RestartCommand.h"
#include "panel/McuCommands.h"
#include "platform/base/clock.h"
#include "main/AlarmChecks.h"
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

}  // namespace
