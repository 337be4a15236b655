// The iosim program as a person drives it: commands on its standard input,
// the terminal on the pty it links to.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/files.h"
#include "platform/dev/serial.h"

namespace {

TEST(IoSimProgram, CommandsOnItsInputBecomeFramesOnTheLinkedLine) {
    const std::string link =
        (std::filesystem::temp_directory_path() / ("quillon-iosim-" + std::to_string(::getpid()))).string();
    const std::string command = std::string(IOSIM_PROGRAM) + " --link " + link + " > /dev/null";
    FILE* input = ::popen(command.c_str(), "w");
    ASSERT_NE(input, nullptr);
    for (int i = 0; i < 200 && !std::filesystem::exists(link); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists(link));

    MapSerialPort(u"COM3", link);
    const HANDLE port = CreateFileW(u"COM3:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS timeouts{0, 0, 3000, 0, 1000};
    SetCommTimeouts(port, &timeouts);

    std::fputs("card 12AB\npower\n", input);
    std::fflush(input);
    std::vector<BYTE> bytes(11);
    DWORD done = 0;
    ReadFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    EXPECT_EQ(bytes, (std::vector<BYTE>{0xE7, 4, '1', '2', 'A', 'B', 0xE7, 0xE9, 1, 1, 0xE9}));

    // The program answers the terminal's commands on its own.
    const BYTE feed[] = {0xFE, 1, 1, 0xFE};
    WriteFile(port, feed, 4, &done, nullptr);
    std::vector<BYTE> ack(4);
    ReadFile(port, ack.data(), 4, &done, nullptr);
    EXPECT_EQ(ack, std::vector<BYTE>(feed, feed + 4));

    CloseHandle(port);
    MapSerialPort(u"COM3", "");
    std::fputs("quit\n", input);
    EXPECT_EQ(::pclose(input), 0);
    EXPECT_FALSE(std::filesystem::exists(link)) << "the link goes with the program";
}

}  // namespace
