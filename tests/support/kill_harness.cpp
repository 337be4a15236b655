#include "tests/support/kill_harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "core/XmlDoc.h"
#include "platform/base/device_fs.h"
#include "platform/base/registry_format.h"
#include "platform/base/utf.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A restart that runs longer than this has hung.
constexpr auto kRestartLimit = std::chrono::seconds(60);
// What every interrupted replace leaves beside its target (see atomic_file).
constexpr char kTemporaryMark[] = ".~tmp";
constexpr char kRegistryHeader[] = "Windows Registry Editor Version 5.00\n";

struct Child {
    pid_t pid = -1;
    int output = -1;  // read end of the child's standard output
};

// Starts argv with its standard output on a pipe and its standard error
// thrown away (a program that is killed has nothing to tell), or on the
// same pipe (one that must end well says why it did not).
Child Spawn(const std::vector<std::string>& argv, bool keepErrors) {
    // Made before the fork: the child of a threaded process may not allocate.
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(keepErrors ? fds[1] : open("/dev/null", O_WRONLY), STDERR_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return {};
    }
    return Child{pid, fds[0]};
}

// Reads what is there until `deadline` or the end of the output; false at
// the end.
bool ReadUntil(int fd, Clock::time_point deadline, std::string& into) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) <= 0) return true;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        into.append(buffer, static_cast<size_t>(n));
        if (Clock::now() >= deadline) return true;
    }
}

// Complete lines only: a line cut by the kill was not acknowledged.
std::vector<std::string> CompleteLines(std::string text) {
    text.erase(text.rfind('\n') + 1);
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Runs argv to its end; "" when it exited with 0, else how it ended and the
// end of what it wrote.
std::string RunToEnd(const std::vector<std::string>& argv) {
    const Child child = Spawn(argv, true);
    if (child.pid < 0) return "it could not be started";
    std::string output;
    const auto deadline = Clock::now() + kRestartLimit;
    bool hung = true;
    while (hung && Clock::now() < deadline) hung = ReadUntil(child.output, deadline, output);
    close(child.output);
    if (hung) kill(child.pid, SIGKILL);
    int status = 0;
    waitpid(child.pid, &status, 0);
    std::string failure;
    if (hung)
        failure = "it was still running after " + std::to_string(kRestartLimit.count()) + " s";
    else if (WIFSIGNALED(status))
        failure = std::string("it was ended by the signal ") + strsignal(WTERMSIG(status));
    else if (WEXITSTATUS(status) != 0)
        failure = "it ended with the exit status " + std::to_string(WEXITSTATUS(status));
    if (failure.empty() || output.empty()) return failure;
    constexpr size_t kShown = 2000;
    if (output.size() > kShown) output = "..." + output.substr(output.size() - kShown);
    return failure + "; it wrote:\n" + output;
}

bool EndsWithNoCase(const std::string& name, const std::string& suffix) {
    if (name.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(name[name.size() - suffix.size() + i])) !=
            std::tolower(static_cast<unsigned char>(suffix[i])))
            return false;
    }
    return true;
}

void ExpectDatabaseSound(const fs::path& path) {
    sqlite3* db = nullptr;
    std::string verdict = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            verdict = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        else
            verdict = sqlite3_errmsg(db);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    EXPECT_EQ(verdict, "ok") << path;
}

void ExpectConfigParses(const fs::path& root, const fs::path& path) {
    // Read through the device layer, as the terminal reads it.
    const std::string previous = GetDeviceRoot();
    SetDeviceRoot(root.string());
    std::u16string devicePath;
    for (const auto& part : fs::relative(path, root)) devicePath += u"\\" + Utf8ToUtf16(part.string());
    CXmlDoc doc;
    const bool parsed = doc.ReadFromFile(devicePath.c_str());
    SetDeviceRoot(previous);
    EXPECT_TRUE(parsed) << path;
}

// As the terminal writes it: the header first, a blank line after the last
// key (a file cut short lacks it), and read, written and read again it
// stays the same.
void ExpectRegistryWhole(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind(kRegistryHeader, 0), 0u) << path;
    EXPECT_TRUE(text.ends_with("\n\n")) << path << " is cut short";
    const std::string written = SerializeRegistry(ParseRegistry(text));
    EXPECT_EQ(SerializeRegistry(ParseRegistry(written)), written) << path;
}

}  // namespace

std::chrono::microseconds KillWindowFor(std::chrono::microseconds run) {
    return std::max<std::chrono::microseconds>(run * 5 / 4, std::chrono::milliseconds(50));
}

int KillCount(int byDefault) {
    const char* kills = std::getenv("KILLS");
    const int count = kills ? std::atoi(kills) : 0;
    return count > 0 ? count : byDefault;
}

void ExpectSoundDeviceFolder(const std::string& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const fs::path& path = entry.path();
        const std::string name = path.filename().string();
        EXPECT_EQ(name.find(kTemporaryMark), std::string::npos) << "left behind: " << path;
        if (EndsWithNoCase(name, ".DB"))
            ExpectDatabaseSound(path);
        else if (EndsWithNoCase(name, "config.xml") && name.size() == 10)
            ExpectConfigParses(root, path);
        else if (path.parent_path() == fs::path(root) && name == "registry.reg")
            ExpectRegistryWhole(path);
    }
}

KillSummary RunKillTest(const KillPlan& plan) {
    KillSummary summary;
    std::mt19937 random(plan.seed);
    const int rounds = plan.kills > 0 ? plan.kills : KillCount();
    std::chrono::microseconds window = plan.window;
    for (int index = 0; index < rounds; ++index) {
        SCOPED_TRACE("kill round " + std::to_string(index) + " of seed " + std::to_string(plan.seed));
        if (plan.prepare) plan.prepare(index);
        KillRound round;
        round.index = index;
        round.delay = std::chrono::microseconds(
            std::uniform_int_distribution<int64_t>(0, std::max<int64_t>(window.count() - 1, 0))(random));

        const auto started = Clock::now();
        const Child child = Spawn(plan.command, false);
        if (child.pid < 0) {
            ADD_FAILURE() << "cannot start " << plan.command.at(0);
            break;
        }
        std::string output;
        const auto killAt = Clock::now() + round.delay;
        int status = 0;
        ReadUntil(child.output, killAt, output);
        bool running = waitpid(child.pid, &status, WNOHANG) == 0;
        // Its output may end before the program does, or before the kill is due.
        while (running && Clock::now() < killAt) {
            usleep(500);
            running = waitpid(child.pid, &status, WNOHANG) == 0;
        }
        if (running) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
        } else {
            // A program that now runs faster than the window was drawn for
            // (a machine grown quieter) is killed within its present run.
            window = std::min(window, KillWindowFor(std::chrono::duration_cast<std::chrono::microseconds>(
                                          Clock::now() - started)));
        }
        // What the program wrote before it died is still in the pipe.
        const auto drained = Clock::now() + std::chrono::seconds(2);
        while (ReadUntil(child.output, drained, output) && Clock::now() < drained) {}
        close(child.output);
        round.killed = running;
        round.acknowledged = CompleteLines(output);
        summary.killedWhileRunning += round.killed ? 1 : 0;
        ++summary.rounds;
        SCOPED_TRACE((round.killed ? "killed " : "ended before its kill, due ") + std::to_string(round.delay.count()) +
                     " us after its start");

        if (!plan.restart.empty()) {
            const std::string failure = RunToEnd(plan.restart);
            EXPECT_TRUE(failure.empty()) << "the start after the kill failed: " << failure;
        }
        ExpectSoundDeviceFolder(plan.root);
        if (plan.check) plan.check(round);
        if (::testing::Test::HasFailure()) break;
    }
    return summary;
}
