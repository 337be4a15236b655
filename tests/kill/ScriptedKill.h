// Plans for the power-cut tests of the terminal's writers: a program killed
// on a device folder with the terminal started after it, among them the
// terminal itself following a script through the control panel; the rounds
// run with the window fitted to a whole run.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/kill/TerminalKillSupport.h"
#include "tests/support/kill_harness.h"

// A plan that kills `command` on the folder and starts the terminal after
// it: `rounds` unless KILLS says otherwise, each on a folder laid by
// `prepare`.
inline KillPlan TerminalPlan(const TerminalFolder& folder, std::vector<std::string> command, unsigned seed, int rounds,
                             std::function<void(int)> prepare) {
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = std::move(command);
    plan.restart = folder.Start();
    plan.seed = seed;
    plan.kills = KillCount(rounds);
    plan.prepare = std::move(prepare);
    return plan;
}

class ScriptedKill {
public:
    ScriptedKill(const TerminalFolder& folder, const std::string& script) : m_folder(folder) {
        std::ofstream(m_script) << script << "quit\n";
    }
    ~ScriptedKill() { std::filesystem::remove(m_script); }
    ScriptedKill(const ScriptedKill&) = delete;
    ScriptedKill& operator=(const ScriptedKill&) = delete;

    KillPlan Plan(unsigned seed, int rounds, std::function<void(int)> prepare) const {
        return TerminalPlan(m_folder, {QUILLON_PROGRAM, "--root", m_folder.Host(), "--headless", "--script", m_script},
                            seed, rounds, std::move(prepare));
    }

private:
    const TerminalFolder& m_folder;
    std::string m_script = m_folder.Host() + ".pages";
};

// The rounds, after the window is fitted; a quarter of them at least must
// cut the run. The window is fitted twice: the rounds repeat the second
// run, with the program and its files read once already.
inline KillSummary RunFittedKills(const char* what, KillPlan& plan) {
    FitWindow(plan);
    if (::testing::Test::HasFatalFailure()) return {};
    FitWindow(plan);
    if (::testing::Test::HasFatalFailure()) return {};
    const KillSummary summary = RunKillTest(plan);
    EXPECT_GE(summary.killedWhileRunning, summary.rounds / 4)
        << "too few kills fell within the run: the window of " << plan.window.count() << " us was fitted to it";
    std::printf("%s: %d rounds, %d killed while running\n", what, summary.rounds, summary.killedWhileRunning);
    return summary;
}

// Runs `sql` on the terminal's database, as another program would.
inline void ExecOnTerminal(const TerminalFolder& folder, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder.HostPath("NandFlash/zeta42/DB/KD4700.DB").c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << sql;
    sqlite3_free(error);
    sqlite3_close(db);
}

// Script lines that press the keys of `digits`.
inline std::string TypeDigits(const std::string& digits) {
    std::string lines;
    for (char digit : digits) lines += std::string("key ") + digit + "\n";
    return lines;
}
