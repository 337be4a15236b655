// A restore restarts the terminal, as the I/O controller restarts it on a
// real one: the restarted program serves its TCP port, and a script that
// led to the restart goes on there with its next line.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kRestored[] = "message box: Database restored. The terminal restarts now!\n";
// From the flash, confirmed; the restore page then restarts the terminal.
constexpr char kRestoreLines[] = "goto 135\nkey RIGHT\nkey DOWN\nanswer ok\nkey ENTER\n";

// A port nobody listens on now.
int FreePort() {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

// Connects as a terminal's client does: the program opens its port on a
// thread of its own while start-up goes on, so a refused connect is tried
// again until `deadline`. A descriptor below zero when the port never took it.
int Connect(int port, Clock::time_point deadline) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    for (;;) {
        const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return client;
        const int error = errno;
        close(client);
        if (error != ECONNREFUSED || Clock::now() >= deadline) {
            ADD_FAILURE() << "port " << port << ": " << std::strerror(error);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

class RestartProgramTest : public ProgramTest {
protected:
    // The restore source on the flash: the terminal's database with the
    // users 42 and 43 added.
    void PutRestoreSource() {
        fs::copy_file(root.HostPath("NandFlash/zeta42/DB/KD4700.DB"), root.HostPath("NandFlash/KD4700.DB"),
                      fs::copy_options::overwrite_existing);
        CDbSqlite copy;
        ASSERT_TRUE(copy.Open(u"\\NandFlash\\KD4700.DB"));
        ASSERT_TRUE(copy.DirectStatement(u"insert into Userinfo (Userid, Name) values ('42', 'Ann'), ('43', 'Bo')"));
        ASSERT_TRUE(copy.DirectStatement(u"update BasePara set UserCount = 2"));
    }
    std::string ServedAfterRestart(const std::string& lines);
};

TEST_F(RestartProgramTest, AScriptGoesOnWithItsNextLineInTheRestartedProgram) {
    PutRestoreSource();
    // After the restart: user 42 deleted on the delete page.
    const std::string deleteUser = "goto 123\nkey 4\nkey 2\nkey ENTER\nkey ESC\nanswer yes\nkey F3\nwait 500\n";
    ProgramRun run = Start(kRestoreLines + deleteUser, "--simulate-io");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Occurrences(run.errors, kRestored), 1u) << run.errors;
    EXPECT_EQ(Count(u"select count(*) from Userinfo where Userid = '43'"), 1) << "the restore took place";
    EXPECT_EQ(Count(u"select count(*) from Userinfo where Userid = '42'"), 0) << "the restarted program deleted 42";

    // The exit status is the script's: a bad line after the restart is
    // named by its line in the file.
    PutRestoreSource();
    run = Start(std::string(kRestoreLines) + "wait 100\nfly away\n", "--simulate-io");
    EXPECT_EQ(run.exitCode, 2) << run.errors;
    EXPECT_EQ(Occurrences(run.errors, kRestored), 1u) << run.errors;
    EXPECT_NE(run.errors.find("script line 7: unknown command 'fly'"), std::string::npos) << run.errors;
}

// Runs `lines`, which lead to a restart, and checks that the restarted
// program serves the TCP port; the standard error of the whole run.
std::string RestartProgramTest::ServedAfterRestart(const std::string& lines) {
    const int port = FreePort();
    Edit(kConfig, "<NETPORT>5010<", "<NETPORT>" + std::to_string(port) + "<");
    // The restarted program's script waits on a finger image that comes
    // through a pipe: it runs, in real time, until the test sends one.
    const std::string finger = root.HostPath("finger.fifo");
    EXPECT_EQ(mkfifo(finger.c_str(), 0600), 0);
    const std::string scriptPath = root.HostPath("test.script");
    std::ofstream(scriptPath) << lines << "finger " << finger << "\nlift\nquit\n";
    const std::string errorsPath = root.HostPath("stderr.txt");
    const std::vector<std::string> args = {QUILLON_PROGRAM, "--root", root.Host(), "--headless", "--simulate-io",
                                           "--script", scriptPath};
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, QUILLON_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << QUILLON_PROGRAM;
        return "";
    }

    // The pipe opens for writing once the restarted program reads it.
    int pipe = -1;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while ((pipe = open(finger.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (pipe < 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string errors = ReadHost(errorsPath);
        ADD_FAILURE() << "the restarted program never ran the script's next line:\n" << errors;
        return errors;
    }

    // The link takes every client, and a newer one replaces the older: the
    // first is closed by the terminal, which only a served port does.
    const int first = Connect(port, Clock::now() + std::chrono::seconds(30));
    const int second = Connect(port, Clock::now());
    pollfd replaced{first, POLLIN, 0};
    EXPECT_EQ(poll(&replaced, 1, 20000), 1) << "the first client was never taken and replaced";
    char byte;
    EXPECT_EQ(recv(first, &byte, 1, 0), 0);
    close(first);
    close(second);

    const std::string image = ReadHost(root.HostPath("samples/user1_finger0_press1.bmp"));
    fcntl(pipe, F_SETFL, 0);
    EXPECT_EQ(write(pipe, image.data(), image.size()), static_cast<ssize_t>(image.size()));
    close(pipe);
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    const std::string errors = ReadHost(errorsPath);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << errors;
    EXPECT_EQ(errors.find("cannot listen"), std::string::npos) << errors;
    return errors;
}

TEST_F(RestartProgramTest, TheTerminalRestartedByARestoreServesItsTcpPort) {
    PutRestoreSource();
    EXPECT_EQ(Occurrences(ServedAfterRestart(kRestoreLines), kRestored), 1u);
}

TEST_F(RestartProgramTest, TheTerminalRestartedByAnUpdateServesItsTcpPort) {
    for (const char* name : {"Quillon.exe", "SMApi_WinCE.dll", "SMControl_WinCE.dll", "SMProcess_WinCE.dll", "launch.exe"})
        root.PutFile(std::string("USB Disk/zeta42/") + name, "new " + std::string(name));
    ServedAfterRestart("goto 136\nanswer ok\nkey ENTER\n");
    EXPECT_EQ(Read("NandFlash/app/launch.exe"), "new launch.exe");
}

}  // namespace
#endif
