#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <vector>

#include "platform/base/files.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"
#include "platform/dev/pty.h"
#include "platform/dev/serial.h"
#include "tests/support/device_root.h"

namespace {

HANDLE OpenPort(const char16_t* name) {
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

DWORD ReadPort(HANDLE port, BYTE* buffer, DWORD size, BOOL* ok = nullptr) {
    DWORD done = 0;
    BOOL result = ReadFile(port, buffer, size, &done, nullptr);
    if (ok) *ok = result;
    return done;
}

BOOL WritePort(HANDLE port, const BYTE* buffer, DWORD size, DWORD* done) {
    return WriteFile(port, buffer, size, done, nullptr);
}

std::vector<BYTE> ReadController(int fd, size_t count) {
    std::vector<BYTE> bytes;
    while (bytes.size() < count) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 2000) <= 0) break;
        BYTE chunk[64];
        ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (n <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.Open());
        MapSerialPort(u"COM3:", m_pty.TerminalPath());
        m_port = OpenPort(u"COM3:");
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (m_port != INVALID_HANDLE_VALUE) CloseHandle(m_port);
        MapSerialPort(u"COM3:", "");
    }
    void SetTimeouts(DWORD interval, DWORD multiplier, DWORD constant, DWORD writeConstant = 0) {
        COMMTIMEOUTS t{interval, multiplier, constant, 0, writeConstant};
        ASSERT_TRUE(SetCommTimeouts(m_port, &t));
    }
    void ControllerSends(std::vector<BYTE> bytes) {
        ASSERT_EQ(::write(m_pty.ControllerFd(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    PtyPair m_pty;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(SerialPortTest, PortNamesResolveThroughTheMapping) {
    EXPECT_EQ(SerialHostPath(u"com3:"), m_pty.TerminalPath());
    EXPECT_EQ(SerialHostPath(u"COM3"), m_pty.TerminalPath());
    EXPECT_EQ(OpenPort(u"COM7:"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SerialPortTest, TheRegistryMapsPortsTheProcessDoesNot) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\SerialMap", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const std::u16string path(m_pty.TerminalPath().begin(), m_pty.TerminalPath().end());
    ASSERT_EQ(RegSetValueExW(key, u"COM5", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             static_cast<DWORD>((path.size() + 1) * sizeof(char16_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(SerialHostPath(u"COM5:"), m_pty.TerminalPath());
    // COM3 is this process's: the registry does not name it.
    EXPECT_EQ(SerialHostPath(u"COM3:"), m_pty.TerminalPath());
    EXPECT_EQ(SerialHostPath(u"COM6:"), "");
    // COM5 leads to the same line that COM3 holds open.
    EXPECT_EQ(OpenPort(u"COM5:"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(SerialPortTest, SecondOpenIsRefusedUntilTheFirstCloses) {
    EXPECT_EQ(OpenPort(u"COM3:"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(m_port);
    m_port = OpenPort(u"COM3:");
    EXPECT_NE(m_port, INVALID_HANDLE_VALUE);
}

TEST_F(SerialPortTest, CommStateRoundTripsAndRejectsWhatTheLineCannotDo) {
    DCB dcb{};
    ASSERT_TRUE(GetCommState(m_port, &dcb));
    dcb.BaudRate = CBR_57600;
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = TWOSTOPBITS;
    ASSERT_TRUE(SetCommState(m_port, &dcb));
    DCB back{};
    ASSERT_TRUE(GetCommState(m_port, &back));
    EXPECT_EQ(back.BaudRate, static_cast<DWORD>(CBR_57600));
    EXPECT_EQ(back.ByteSize, 7);
    EXPECT_EQ(back.Parity, EVENPARITY);
    EXPECT_EQ(back.StopBits, TWOSTOPBITS);

    DCB bad = back;
    bad.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(m_port, &bad));
    bad = back;
    bad.ByteSize = 9;
    EXPECT_FALSE(SetCommState(m_port, &bad));
    ASSERT_TRUE(GetCommState(m_port, &back));
    EXPECT_EQ(back.BaudRate, static_cast<DWORD>(CBR_57600));

    COMMTIMEOUTS t{MAXDWORD, 0, 0, 10, 500};
    ASSERT_TRUE(SetCommTimeouts(m_port, &t));
    COMMTIMEOUTS tb{};
    ASSERT_TRUE(GetCommTimeouts(m_port, &tb));
    EXPECT_EQ(tb.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(tb.WriteTotalTimeoutConstant, 500u);
    EXPECT_FALSE(GetCommState(INVALID_HANDLE_VALUE, &back));
}

TEST_F(SerialPortTest, FramesCrossThePairBothWays) {
    const BYTE frame[] = {0xF3, 0x06, 0x06, 0xF3};
    DWORD done = 0;
    ASSERT_TRUE(WritePort(m_port, frame, 4, &done));
    EXPECT_EQ(done, 4u);
    EXPECT_EQ(ReadController(m_pty.ControllerFd(), 4), std::vector<BYTE>(frame, frame + 4));

    SetTimeouts(0, 0, 500);
    ControllerSends({0xEB, 0x01, 0x01, 0xEB});
    BYTE in[4] = {};
    EXPECT_EQ(ReadPort(m_port, in, 4), 4u);
    EXPECT_EQ(in[0], 0xEB);
    EXPECT_EQ(in[3], 0xEB);
}

TEST_F(SerialPortTest, ReadTimeoutsFollowThePlatformRules) {
    BYTE in[8] = {};
    BOOL ok = FALSE;
    // Interval MAXDWORD with no totals: return at once with what is there.
    SetTimeouts(MAXDWORD, 0, 0);
    EXPECT_EQ(ReadPort(m_port, in, 8, &ok), 0u);
    EXPECT_TRUE(ok);
    ControllerSends({1, 2, 3});
    ::usleep(20000);
    EXPECT_EQ(ReadPort(m_port, in, 8), 3u);

    // A total time-out with nothing arriving: success with no bytes.
    SetTimeouts(0, 0, 30);
    EXPECT_EQ(ReadPort(m_port, in, 8, &ok), 0u);
    EXPECT_TRUE(ok);

    // The interval time-out ends a read that got part of what it asked for.
    SetTimeouts(20, 0, 0);
    ControllerSends({7, 8});
    EXPECT_EQ(ReadPort(m_port, in, 8), 2u);
    EXPECT_EQ(in[0], 7);

    // MAXDWORD interval and multiplier: wait for the first byte only.
    SetTimeouts(MAXDWORD, MAXDWORD, 30);
    EXPECT_EQ(ReadPort(m_port, in, 8, &ok), 0u);
    ControllerSends({9});
    EXPECT_EQ(ReadPort(m_port, in, 8), 1u);
}

TEST_F(SerialPortTest, PurgeDropsWhatWasNotRead) {
    ControllerSends({1, 2, 3, 4});
    ::usleep(20000);
    COMSTAT status{};
    DWORD errors = 99;
    ASSERT_TRUE(ClearCommError(m_port, &errors, &status));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(status.cbInQue, 4u);
    ASSERT_TRUE(PurgeComm(m_port, PURGE_RXCLEAR | PURGE_TXCLEAR));
    SetTimeouts(MAXDWORD, 0, 0);
    BYTE in[4];
    EXPECT_EQ(ReadPort(m_port, in, 4), 0u);
    EXPECT_TRUE(EscapeCommFunction(m_port, SETRTS));
    EXPECT_FALSE(EscapeCommFunction(m_port, 77));
}

TEST_F(SerialPortTest, APortThatDisappearsFailsInsteadOfHanging) {
    m_pty.CloseController();
    const BYTE frame[] = {0xFE, 0x01, 0x01, 0xFE};
    DWORD done = 0;
    EXPECT_FALSE(WritePort(m_port, frame, 4, &done));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_DEVICE));
    EXPECT_EQ(done, 0u);
    // No time-outs at all: the read would wait for ever on a live port.
    SetTimeouts(0, 0, 0);
    BYTE in[4];
    BOOL ok = TRUE;
    EXPECT_EQ(ReadPort(m_port, in, 4, &ok), 0u);
    EXPECT_FALSE(ok);
}

}  // namespace
