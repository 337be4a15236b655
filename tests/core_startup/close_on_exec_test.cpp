// What the terminal opens does not outlive an exec: a restarted program
// must find the TCP port, the serial ports, the database and its log free,
// not held by descriptors it inherited and never uses.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <set>
#include <string>

#include "comm/TcpServerLink.h"
#include "core/DebugLog.h"
#include "data/DbSqlite.h"
#include "platform/base/files.h"
#include "platform/base/sync.h"
#include "main/SerialPort.h"
#include "platform/dev/pty.h"
#include "platform/dev/serial.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

std::set<int> OpenDescriptors() {
    std::set<int> found;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return found;
    const int own = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const int fd = std::stoi(entry->d_name);
        if (fd != own) found.insert(fd);
    }
    closedir(dir);
    return found;
}

std::string Target(int fd) {
    char target[512] = {};
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : "?";
}

SOCKET ConnectTo(int port) {
    const SOCKET client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    SOCKADDR_IN address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    EXPECT_EQ(connect(client, reinterpret_cast<SOCKADDR*>(&address), sizeof address), 0);
    return client;
}

using CloseOnExecTest = StartupTest;

TEST_F(CloseOnExecTest, EveryDescriptorTheTerminalOpensIsClosedOnExec) {
    // What the test program itself inherited is not the terminal's.
    const std::set<int> before = OpenDescriptors();

    PtyPair pty;
    ASSERT_TRUE(pty.Open());
    MapSerialPort(u"COM3", pty.TerminalPath());
    CSerialPort port;
    ASSERT_TRUE(port.OpenPort(3, CBR_9600, 0, 8, ONESTOPBIT, CSerialPort::kModePlain));
    CTcpServerLink link(0);
    ASSERT_TRUE(link.Open());
    const SOCKET client = ConnectTo(link.Port());
    BYTE buffer[16];
    for (int tries = 0; tries < 100 && !link.HasClient(); ++tries) link.Read(buffer, sizeof buffer);
    ASSERT_TRUE(link.HasClient());

    OpenFactoryDatabase();
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"insert into Userinfo (Userid, Name) values ('7', 'Eve')"));
    CDebugLog log;
    log.Open(u"\\NandFlash\\zeta42\\log.txt");
    ASSERT_TRUE(log.IsOpen());
    log.LogA("a line for the log");
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, u"close-on-exec-test");
    ASSERT_NE(mutex, nullptr);
    const HANDLE file = CreateFileW(u"\\NandFlash\\zeta42\\plain.txt", GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    int opened = 0;
    for (int fd : OpenDescriptors()) {
        if (before.count(fd) || fd == client) continue;
        ++opened;
        EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC) << fd << " -> " << Target(fd) << " would reach a restarted program";
    }
    // Pty, serial port, listener, client, database with its write-ahead log
    // and index, debug log, lock, file.
    EXPECT_GE(opened, 10);

    CloseHandle(file);
    CloseHandle(mutex);
    close(client);
    link.Close();
    port.ClosePort();
    MapSerialPort(u"COM3", "");
}

}  // namespace
