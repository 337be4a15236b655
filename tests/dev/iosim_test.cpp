#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/dev/ioframes.h"
#include "platform/dev/serial.h"
#include "tools/iosim/sim_commands.h"

namespace {

using Bytes = std::vector<BYTE>;

// The terminal's end: COM3 opened as the terminal opens it.
class IoControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(true);
        ASSERT_TRUE(m_sim.Start());
        m_sim.AttachToPort();
        m_port = CreateFileW(u"COM3:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE);
        DCB dcb{};
        GetCommState(m_port, &dcb);
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        ASSERT_TRUE(SetCommState(m_port, &dcb));
        COMMTIMEOUTS timeouts{0, 0, 2000, 0, 1000};
        ASSERT_TRUE(SetCommTimeouts(m_port, &timeouts));
    }
    void TearDown() override {
        CloseHandle(m_port);
        m_sim.Stop();
        MapSerialPort(u"COM3", "");
        UseVirtualClock(false);
    }

    void Send(const Bytes& frame) {
        DWORD done = 0;
        ASSERT_TRUE(WriteFile(m_port, frame.data(), static_cast<DWORD>(frame.size()), &done, nullptr));
        ASSERT_EQ(done, frame.size());
    }
    Bytes Receive(size_t count) {
        Bytes bytes(count);
        DWORD done = 0;
        ReadFile(m_port, bytes.data(), static_cast<DWORD>(count), &done, nullptr);
        bytes.resize(done);
        return bytes;
    }
    // A command frame and the controller's answer to it.
    Bytes Exchange(const Bytes& frame) {
        Send(frame);
        return Receive(kIoFrameSize);
    }

    IoControllerSim m_sim;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(IoControllerTest, RelayCommandsAreAcknowledgedAndHoldForTheirDuration) {
    const uint64_t start = ClockNowMs();
    // LOCKDELAY 10 is sent as 10 / 2 + 1 = 6.
    EXPECT_EQ(Exchange({0xF3, 6, 6, 0xF3}), Bytes({0xF3, 6, 6, 0xF3}));
    IoControllerState state = m_sim.State();
    EXPECT_TRUE(state.DoorOpen(start));
    EXPECT_EQ(state.doorOpenUntilMs, start + 10000);
    EXPECT_FALSE(state.BellRinging(start));

    EXPECT_EQ(Exchange({0xFD, 2, 2, 0xFD}), Bytes({0xFD, 2, 2, 0xFD}));
    state = m_sim.State();
    EXPECT_EQ(state.bellUntilMs, start + 2000);
    AdvanceVirtualClock(2000);
    EXPECT_FALSE(m_sim.State().BellRinging(ClockNowMs()));
    EXPECT_TRUE(m_sim.State().DoorOpen(ClockNowMs()));
    AdvanceVirtualClock(8000);
    EXPECT_FALSE(m_sim.State().DoorOpen(ClockNowMs()));

    // A delay byte of 0 or 1 still opens for a second.
    Exchange({0xF3, 1, 1, 0xF3});
    EXPECT_EQ(m_sim.State().doorOpenUntilMs, ClockNowMs() + 1000);
}

TEST_F(IoControllerTest, SwitchesVerdictsAndVersionFollowTheFrames) {
    Exchange({0xF4, 1, 1, 0xF4});
    Exchange({0xF5, 0, 0, 0xF5});
    Exchange({0xF6, 1, 1, 0xF6});
    Exchange({0xF6, 1, 1, 0xF6});
    Exchange({0xF6, 0, 0, 0xF6});
    IoControllerState state = m_sim.State();
    EXPECT_TRUE(state.alarmCheck[0]);
    EXPECT_FALSE(state.alarmCheck[1]);
    EXPECT_EQ(state.passes, 2);
    EXPECT_EQ(state.refusals, 1);
    Exchange({0xF4, 0, 0, 0xF4});
    EXPECT_FALSE(m_sim.State().alarmCheck[0]);

    m_sim.SetVersion(3, 7);
    EXPECT_EQ(Exchange({0xF1, 0, 0, 0xF1}), Bytes({0xE1, 3, 7, 0xE1}));
    EXPECT_EQ(Exchange({0xF2, 0, 0, 0xF2}), Bytes({0xEE, 0xF2, 0, 0xEE}));
    EXPECT_EQ(m_sim.State().refused, 1);
    // Noise on the line is skipped until a frame lines up again.
    EXPECT_EQ(Exchange({0x00, 0x13, 0xF6, 1, 1, 0xF6}), Bytes({0xF6, 1, 1, 0xF6}));
    EXPECT_EQ(m_sim.State().passes, 3);
}

TEST_F(IoControllerTest, TheWatchdogIsReportedNotActedOn) {
    EXPECT_EQ(Exchange({0xFB, 1, 1, 0xFB}), Bytes({0xFB, 1, 1, 0xFB}));
    EXPECT_TRUE(m_sim.State().supervision);
    AdvanceVirtualClock(IoControllerSim::kWatchdogPeriodMs - 1);
    m_sim.CheckWatchdog();
    EXPECT_EQ(m_sim.State().missedFeeds, 0);
    Exchange({0xFE, 1, 1, 0xFE});
    const uint64_t fed = ClockNowMs();
    EXPECT_EQ(m_sim.State().lastFeedMs, fed);
    EXPECT_EQ(m_sim.State().feeds, 1);

    const uint64_t before = JournalLastSequence();
    AdvanceVirtualClock(IoControllerSim::kWatchdogPeriodMs);
    m_sim.CheckWatchdog();
    EXPECT_EQ(m_sim.State().missedFeeds, 1);
    bool reported = false;
    for (const JournalEntry& e : JournalRead("iocontroller", before)) {
        reported = reported || e.text.find(u"watchdog missed") != std::u16string::npos;
    }
    EXPECT_TRUE(reported);
    // Off: nothing is watched, however long.
    Exchange({0xFB, 0, 0, 0xFB});
    AdvanceVirtualClock(10 * IoControllerSim::kWatchdogPeriodMs);
    m_sim.CheckWatchdog();
    EXPECT_EQ(m_sim.State().missedFeeds, 1);
}

TEST_F(IoControllerTest, TheRestartFrameIsAnsweredThenRunsTheHook) {
    std::atomic<int> restarts{0};
    m_sim.SetRestartHook([&restarts] { ++restarts; });
    EXPECT_EQ(Exchange({0xF8, 1, 1, 0xF8}), Bytes({0xF8, 1, 1, 0xF8}));
    for (int i = 0; i < 200 && restarts == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(m_sim.State().restarts, 1);
}

TEST_F(IoControllerTest, KeysCardsThePowerKeyAndAlarmsReachTheTerminal) {
    std::string reply;
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "key ENTER", &reply)) << reply;
    EXPECT_EQ(Receive(8), Bytes({0xE5, 0x0D, 1, 0xE5, 0xE5, 0x0D, 0, 0xE5}));
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "keydown 7", &reply)) << reply;
    EXPECT_EQ(Receive(4), Bytes({0xE5, '7', 1, 0xE5}));

    ASSERT_TRUE(ExecuteSimCommand(m_sim, "card 0000ABCDEF12", &reply)) << reply;
    Bytes card = {0xE7, 12};
    for (char ch : std::string("0000ABCDEF12")) card.push_back(static_cast<BYTE>(ch));
    card.push_back(0xE7);
    EXPECT_EQ(Receive(card.size()), card);

    ASSERT_TRUE(ExecuteSimCommand(m_sim, "power", &reply));
    EXPECT_EQ(Receive(4), Bytes({0xE9, 1, 1, 0xE9}));
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "tamper", &reply));
    EXPECT_EQ(Receive(4), Bytes({0xEA, 1, 1, 0xEA}));
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "doorsensor", &reply));
    EXPECT_EQ(Receive(4), Bytes({0xEB, 1, 1, 0xEB}));
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "input lock", &reply));
    EXPECT_EQ(Receive(4), Bytes({0xEC, 1, 0, 0xEC}));
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "input bell", &reply));
    EXPECT_EQ(Receive(4), Bytes({0xEC, 0, 0, 0xEC}));

    for (const char* bad : {"card XYZ", "card 12345678901234567", "key NOPE", "input door", "version 1", "fly"}) {
        EXPECT_FALSE(ExecuteSimCommand(m_sim, bad, &reply)) << bad;
        EXPECT_FALSE(reply.empty()) << bad;
    }
    ASSERT_TRUE(ExecuteSimCommand(m_sim, "state", &reply));
    EXPECT_NE(reply.find("door locked"), std::string::npos) << reply;
}

TEST(IoControllerSimulator, FramesToATerminalThatIsNotThereFail) {
    IoControllerSim idle;
    EXPECT_FALSE(idle.PressPowerKey());
    EXPECT_FALSE(idle.PresentCard("12AB"));
}

}  // namespace
