// The terminal's reader on its line to the simulated I/O controller: the
// line's settings, and keys and cards as the controller sends them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "core/CardInput.h"
#include "main/IoController.h"
#include "platform/base/threads.h"
#include "platform/ui/input.h"
#include "platform/ui/winuser.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/support/wait_until.h"
#include "tools/iosim/iocontroller_sim.h"

namespace {

class IoControllerLineTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        ASSERT_TRUE(sim.Start());
        sim.AttachToPort();
        SetCardTarget(nullptr);
        g_strLastCardNo = u"";
        reader = AfxBeginThread(IoControllerThread, nullptr);
        ASSERT_NE(reader, nullptr);
        reader->m_bAutoDelete = FALSE;
        ReleaseIoControllerThread();
        // The version request says the reader has the port open.
        ASSERT_TRUE(WaitUntil([this] { return sim.State().versionRequests > 0; }, 30));
    }
    void TearDown() override {
        if (reader) {
            StopIoControllerThread();
            WaitForSingleObject(reader->m_hThread, INFINITE);
            delete reader;
        }
        sim.Stop();
        MapSerialPort(u"COM3", "");
        ClearInputQueue();
        StartupTest::TearDown();
    }
    static bool KeyDown(BYTE vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
    static bool CardNumberIs(const CString& number) { return g_strLastCardNo.Get() == number; }

    IoControllerSim sim;
    CWinThread* reader = nullptr;
};

TEST_F(IoControllerLineTest, TheLineRunsAt9600Baud8DataBitsNoParityOneStopBit) {
    const int line = open(sim.TerminalPath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(line, 0);
    termios settings{};
    ASSERT_EQ(tcgetattr(line, &settings), 0);
    close(line);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B9600));
    EXPECT_EQ(cfgetispeed(&settings), static_cast<speed_t>(B9600));
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & PARENB, 0u);
    EXPECT_EQ(settings.c_cflag & CSTOPB, 0u);
}

// A keypad key goes down with its first frame and comes up with its second.
TEST_F(IoControllerLineTest, AKeyFromTheControllerGoesDownThenUp) {
    ASSERT_FALSE(KeyDown('5'));
    ASSERT_TRUE(sim.SendKey('5', true));
    EXPECT_TRUE(WaitUntil([] { return KeyDown('5'); }, 10)) << "the key never went down";
    ASSERT_TRUE(sim.SendKey('5', false));
    EXPECT_TRUE(WaitUntil([] { return !KeyDown('5'); }, 10)) << "the key never came up";
}

// Cards of the longest number the controller sends (16 digits) and of the
// shortest come through; the number kept is the low 32 bits.
TEST_F(IoControllerLineTest, CardsOfSixteenDigitsAndOfOneComeThrough) {
    ASSERT_TRUE(sim.PresentCard("0123456789ABCDEF"));
    EXPECT_TRUE(WaitUntil([] { return CardNumberIs(u"2309737967"); }, 10)) << "a 16-digit card went missing";
    ASSERT_TRUE(sim.PresentCard("7"));
    EXPECT_TRUE(WaitUntil([] { return CardNumberIs(u"7"); }, 10)) << "a one-digit card went missing";
}

}  // namespace
