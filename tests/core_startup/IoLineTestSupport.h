// The I/O controller's end of a pty mapped as COM3, and the terminal's port
// object open on it, for the tests of the controller's exchanges.
#pragma once

#include <vector>

#include "main/IoController.h"
#include "platform/dev/pty.h"
#include "platform/dev/serial.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/support/pending_bytes.h"

class IoLineTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        ASSERT_TRUE(pty.Open());
        MapSerialPort(u"COM3", pty.TerminalPath());
        ASSERT_TRUE(g_ioControllerPort.OpenPort(3, CBR_9600, 0, 8, ONESTOPBIT, CSerialPort::kModePlain));
    }
    void TearDown() override {
        g_ioControllerPort.ClosePort();
        MapSerialPort(u"COM3", "");
        StartupTest::TearDown();
    }
    // What the terminal wrote to the controller so far, without waiting.
    std::vector<BYTE> Sent() { return ReadPendingBytes(pty.ControllerFd()); }

    PtyPair pty;
};
