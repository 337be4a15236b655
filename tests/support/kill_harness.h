// Power cuts as a test: a program that writes into a device folder is started
// as a process, killed with SIGKILL at a random moment, started again, and
// the folder is checked. Library `kill_harness` (links the application).
//
// Usage, in a test:
//
//     KillPlan plan;
//     plan.root = root.Host();                     // the device folder
//     plan.command = {program, "--root", root.Host(), ...};
//     plan.restart = {program, "--root", root.Host(), ...};  // optional
//     plan.window = std::chrono::milliseconds(400);
//     plan.seed = 20261207;
//     plan.prepare = [&](int) { ... lay down a fresh folder ... };  // optional
//     plan.check = [&](const KillRound& round) { ... EXPECT_... };  // optional
//     const KillSummary summary = RunKillTest(plan);
//     EXPECT_GT(summary.killedWhileRunning, 0);
//
// Each round: prepare, start `command`, kill it after a delay drawn from the
// seed in [0, window) (or let it end, when it ends sooner: the later rounds
// then draw within KillWindowFor that run), run `restart` to its end (it
// must exit 0), then ExpectSoundDeviceFolder(root) and `check`.
// The number of rounds is KillCount(): 20, or the KILLS environment variable.
//
// Acknowledged writes: whatever the killed program wrote to its standard
// output before it died reaches `check` as lines (KillRound::acknowledged),
// so a writer prints a line once a write has returned and the check looks
// for it in the folder.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct KillRound {
    int index = 0;
    std::chrono::microseconds delay{0};  // from the start to the kill
    bool killed = false;                 // false: the program ended before the kill
    std::vector<std::string> acknowledged;
};

struct KillPlan {
    std::string root;                  // host folder of the device root
    std::vector<std::string> command;  // the run that is killed; command[0] is a path
    std::vector<std::string> restart;  // the run after the kill; empty: none
    std::chrono::microseconds window{std::chrono::milliseconds(500)};
    unsigned seed = 1;
    int kills = 0;  // 0: KillCount()
    std::function<void(int round)> prepare;
    std::function<void(const KillRound& round)> check;
};

struct KillSummary {
    int rounds = 0;
    int killedWhileRunning = 0;
};

// Runs the rounds; failures are reported through gtest and stop the rounds.
KillSummary RunKillTest(const KillPlan& plan);

// The window of kill moments for a program whose run takes `run`: the whole
// run and a little after it.
std::chrono::microseconds KillWindowFor(std::chrono::microseconds run);

// KILLS from the environment, else `byDefault`.
int KillCount(int byDefault = 20);

// The folder as a power cut may leave it, checked through gtest:
// - every database file ("*.DB") passes "pragma integrity_check";
// - every "config.xml" is read and parsed as the terminal reads it;
// - "registry.reg", when present, has its header and its closing blank line
//   (a file cut short lacks it), and parses to what it writes back;
// - no temporary file of an interrupted replace is left behind.
void ExpectSoundDeviceFolder(const std::string& root);
