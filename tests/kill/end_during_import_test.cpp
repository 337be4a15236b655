// SIGTERM while the import page imports thousands of users: the import does
// not look at its queue; the terminal ends at the import's next record, or
// when the unwind time is over should that record not come in time (the
// terminal stopped), with the import cut between two of its steps. Neither
// end may close the database under the import (whose next step would then
// fail with a box during the end); each must be a normal end, and must leave
// whole steps only.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "core/ProcessExit.h"
#include "tests/core_startup/ChildProcess.h"
#include "tests/kill/PreparedFolder.h"
#include "tests/support/database_held.h"
#include "tests/support/wait_until.h"

namespace {

constexpr int kImportedUsers = 5000;
constexpr char kErrors[] = "terminal.err";

// One terminal importing on its own device folder.
class ImportingTerminal {
public:
    // `first`: script lines run before the import.
    explicit ImportingTerminal(const std::string& first = "") : m_prepared(kImportedUsers, {"empty", "ring"}) {
        // The import's own loop runs the script: the long wait keeps the
        // quit from ending the run before the signal does.
        std::ofstream(m_script) << first
                                << "goto 132\nkey DOWN\nanswer yes\nanswer ok\nkey ENTER\nwait 600000\nquit\n";
    }
    ~ImportingTerminal() { std::filesystem::remove(m_script); }

    // Started, asked to end once its import is under way (its first step
    // committed), and stopped. A scripted run imports in virtual time,
    // faster than the unwind time passes: stopped for longer than that, the
    // terminal meets its deadline the moment it goes on, with most of the
    // import still ahead of it.
    bool ImportAskTheEndAndStop() {
        if (!ImportAndAskTheEnd()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        process.Signal(SIGSTOP);
        return true;
    }
    bool Start() {
        return process.Start({QUILLON_PROGRAM, "--root", folder.Host(), "--headless", "--script", m_script}, nullptr,
                             -1, folder.HostPath(kErrors));
    }
    // Started and asked to end once its import is under way.
    bool ImportAndAskTheEnd() {
        if (!Start()) return false;
        if (!WaitUntil([&] { return folder.Query("select count(*) from Userinfo") > 0; }, 60)) return false;
        m_errorsBefore = folder.Read(kErrors).size();
        process.Signal(SIGTERM);
        return true;
    }
    // What it said on standard error since it was asked to end.
    std::string SaidDuringTheEnd() const {
        const std::string all = folder.Read(kErrors);
        return all.substr(std::min(m_errorsBefore, all.size()));
    }

private:
    PreparedFolder m_prepared;

public:
    TerminalFolder& folder = m_prepared.folder;
    Child process;

private:
    std::string m_script = folder.Host() + ".import";
    size_t m_errorsBefore = 0;
};

// Whether the end comes while the import's next step waits for the
// database is a matter of a few microseconds: several terminals at once
// make a wrong end show in every run.
constexpr int kTerminals = 6;

TEST(EndDuringImportTest, SigtermDuringALongImportEndsWithoutTouchingTheDatabaseUnderIt) {
    std::vector<std::unique_ptr<ImportingTerminal>> terminals;
    for (int i = 0; i < kTerminals; ++i) terminals.push_back(std::make_unique<ImportingTerminal>());
    for (auto& terminal : terminals)
        ASSERT_TRUE(terminal->ImportAskTheEndAndStop()) << terminal->folder.Read(kErrors);
    std::this_thread::sleep_for(std::chrono::seconds(6));
    for (auto& terminal : terminals) terminal->process.Signal(SIGCONT);

    for (auto& terminal : terminals) {
        TerminalFolder& folder = terminal->folder;
        EXPECT_EQ(terminal->process.Wait(30), static_cast<int>(kExitNormal)) << folder.Read(kErrors);
        const std::string during = terminal->SaidDuringTheEnd();
        EXPECT_EQ(during.find("message box:"), std::string::npos) << "a box during the end:\n" << during;
        EXPECT_EQ(during.find("SQLITE_MISUSE"), std::string::npos) << during;
        EXPECT_NE(folder.Read("NandFlash/zeta42/log/KD4700.log").find("Log finished"), std::string::npos)
            << "the log lacks its last line";

        // The import was cut between two steps: whole records only.
        EXPECT_EQ(folder.Text("pragma integrity_check"), "ok");
        const int users = ExpectWholeRecords(folder);
        const int templates = folder.Query("select count(*) from FPinfo");
        EXPECT_GT(users, 0);
        EXPECT_TRUE(users < kImportedUsers || templates < kImportedUsers)
            << "the import ran to its end before the signal's deadline: nothing was cut";

        // The next start finds the database as the cut left it.
        ASSERT_TRUE(terminal->process.Start(folder.Start(), nullptr, -1, folder.HostPath(kErrors)));
        EXPECT_EQ(terminal->process.Wait(60), static_cast<int>(kExitNormal)) << folder.Read(kErrors);
        EXPECT_EQ(folder.Query("select count(*) from Userinfo"), users);
        EXPECT_EQ(folder.Query("select count(*) from FPinfo"), templates);
    }
}

// The log says how far the import came: the records of the file it was in
// that the database holds.
TEST(EndDuringImportTest, AnImportEndedByAStopSignalLogsHowFarItCame) {
    ImportingTerminal terminal;
    TerminalFolder& folder = terminal.folder;
    ASSERT_TRUE(terminal.ImportAndAskTheEnd()) << folder.Read(kErrors);
    EXPECT_EQ(terminal.process.Wait(30), static_cast<int>(kExitNormal)) << folder.Read(kErrors);

    const std::string log = folder.Read("NandFlash/zeta42/log/KD4700.log");
    const std::smatch said = [&] {
        std::smatch match;
        std::regex_search(log, match, std::regex("import ended by a close or a stop signal: (\\d+) of the (\\d+) records "
                                                 "of (Bak\\.yg2|Bak\\.zw) stored"));
        return match;
    }();
    ASSERT_FALSE(said.empty()) << log;
    EXPECT_EQ(std::stoi(said[2]), kImportedUsers);
    const char* table = said[3] == "Bak.yg2" ? "Userinfo" : "FPinfo";
    EXPECT_EQ(std::stoi(said[1]), folder.Query((std::string("select count(*) from ") + table).c_str())) << log;
    EXPECT_LT(std::stoi(said[1]), kImportedUsers) << "the import was cut";
}

// The end comes while the import's first write waits for a PC tool that
// holds the database: the log still says how far the import came.
TEST(EndDuringImportTest, AnImportEndedInsideAWaitForAnotherProgramLogsHowFarItCame) {
    // The script waits for a finger read from a pipe; the tool takes the
    // database meanwhile, before the import begins.
    const std::string pipe = std::filesystem::temp_directory_path() / ("finger-" + std::to_string(getpid()) + ".fifo");
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ImportingTerminal terminal("finger " + pipe + "\nlift\n");
    TerminalFolder& folder = terminal.folder;
    ASSERT_TRUE(terminal.Start());
    int finger = -1;
    ASSERT_TRUE(WaitUntil([&] { return (finger = open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; }, 60))
        << folder.Read(kErrors);
    {
        DatabaseHeldByAnotherProgram tool(folder.HostPath("NandFlash/zeta42/DB/KD4700.DB"), "BEGIN IMMEDIATE");
        const std::string image = folder.Read("samples/user1_finger0_press1.bmp");
        ASSERT_FALSE(image.empty());
        fcntl(finger, F_SETFL, 0);
        EXPECT_EQ(write(finger, image.data(), image.size()), static_cast<ssize_t>(image.size()));
        close(finger);
        // The import holds its file open while its first write waits.
        ASSERT_TRUE(WaitUntil([&] { return terminal.process.HasOpen("Bak.yg2"); }, 30)) << folder.Read(kErrors);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        terminal.process.Signal(SIGTERM);
        EXPECT_EQ(terminal.process.Wait(30), static_cast<int>(kExitNormal)) << folder.Read(kErrors);
    }
    std::filesystem::remove(pipe);
    const std::string log = folder.Read("NandFlash/zeta42/log/KD4700.log");
    EXPECT_NE(log.find("import ended by a close or a stop signal: 0 of the " + std::to_string(kImportedUsers) +
                       " records of Bak.yg2 stored"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Log finished"), std::string::npos) << log;
    EXPECT_EQ(folder.Query("select count(*) from Userinfo"), 0);
}

}  // namespace
