// The harness itself: it must see what a power cut can spoil, and hand the
// check what the killed program had acknowledged.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/support/device_root.h"
#include "tests/support/kill_harness.h"

namespace {

namespace fs = std::filesystem;

// Keys in another order than the terminal writes them, as in a factory file.
constexpr char kRegistry[] =
    "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Zone]\n\"A\"=dword:00000001\n\n"
    "[HKEY_CURRENT_USER\\Ident]\n\"Name\"=\"unit\"\n\n";

void MakeDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "create table t (a); insert into t values (zeroblob(100000));", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

class KillHarnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        root.PutFile("registry.reg", kRegistry);
        root.PutFile("NandFlash/zeta42/config/config.xml", "<?xml version=\"1.0\"?>\n<config><a>1</a></config>\n");
        fs::create_directories(root.HostPath("NandFlash/zeta42/DB"));
        MakeDatabase(root.HostPath("NandFlash/zeta42/DB/KD4700.DB"));
    }
    ScopedDeviceRoot root;
};

TEST_F(KillHarnessTest, ASoundFolderPassesAndEachKindOfDamageIsSeen) {
    ExpectSoundDeviceFolder(root.Host());

    root.PutFile("registry.reg", std::string(kRegistry).substr(0, 70));
    EXPECT_NONFATAL_FAILURE(ExpectSoundDeviceFolder(root.Host()), "registry.reg");
    root.PutFile("registry.reg", kRegistry);

    root.PutFile("NandFlash/zeta42/config/config.xml", "<?xml version=\"1.0\"?>\n<config><a>1</a></con");
    EXPECT_NONFATAL_FAILURE(ExpectSoundDeviceFolder(root.Host()), "config.xml");
    root.PutFile("NandFlash/zeta42/config/config.xml", "<config/>");

    root.PutFile("NandFlash/zeta42/config/config.xml.~tmpab12cd", "<con");
    EXPECT_NONFATAL_FAILURE(ExpectSoundDeviceFolder(root.Host()), "left behind");
    fs::remove(root.HostPath("NandFlash/zeta42/config/config.xml.~tmpab12cd"));

    // A database cut in the middle of its pages.
    const std::string db = root.HostPath("NandFlash/zeta42/DB/KD4700.DB");
    fs::resize_file(db, fs::file_size(db) / 2);
    EXPECT_NONFATAL_FAILURE(ExpectSoundDeviceFolder(root.Host()), "KD4700.DB");
}

TEST_F(KillHarnessTest, RoundsKillAtSeededMomentsAndPassOnTheAcknowledgedLines) {
    KillPlan plan;
    plan.root = root.Host();
    plan.command = {"/bin/sh", "-c", "i=0; while :; do i=$((i+1)); echo $i; sleep 0.002; done"};
    plan.restart = {"/bin/true"};
    plan.window = std::chrono::milliseconds(200);
    plan.seed = 7;
    plan.kills = 6;
    std::vector<std::chrono::microseconds> delays;
    int prepared = 0;
    plan.prepare = [&](int) { ++prepared; };
    plan.check = [&](const KillRound& round) {
        delays.push_back(round.delay);
        EXPECT_TRUE(round.killed);
        EXPECT_LT(round.delay, plan.window);
        // Numbered from 1 without a gap: nothing written before the kill is lost.
        for (size_t i = 0; i < round.acknowledged.size(); ++i)
            EXPECT_EQ(round.acknowledged[i], std::to_string(i + 1));
    };
    const KillSummary summary = RunKillTest(plan);
    EXPECT_EQ(summary.rounds, 6);
    EXPECT_EQ(summary.killedWhileRunning, 6);
    EXPECT_EQ(prepared, 6);
    ASSERT_EQ(delays.size(), 6u);
    EXPECT_NE(delays[0], delays[1]);

    // The same seed kills at the same moments.
    std::vector<std::chrono::microseconds> again;
    plan.check = [&](const KillRound& round) { again.push_back(round.delay); };
    RunKillTest(plan);
    EXPECT_EQ(again, delays);
}

TEST_F(KillHarnessTest, AProgramThatEndsFirstIsNotCountedAsKilledAndAFailedRestartFailsSayingHow) {
    KillPlan plan;
    plan.root = root.Host();
    plan.command = {"/bin/echo", "done"};
    plan.window = std::chrono::milliseconds(300);
    plan.kills = 2;
    plan.seed = 3;
    std::vector<KillRound> rounds;
    plan.check = [&](const KillRound& round) { rounds.push_back(round); };
    // Delays under a few milliseconds may still catch echo running.
    const KillSummary summary = RunKillTest(plan);
    ASSERT_EQ(rounds.size(), 2u);
    for (const KillRound& round : rounds) {
        if (round.delay > std::chrono::milliseconds(100)) {
            EXPECT_FALSE(round.killed);
            EXPECT_EQ(round.acknowledged, std::vector<std::string>{"done"});
        }
    }
    EXPECT_LE(summary.killedWhileRunning, 2);

    plan.restart = {"/bin/sh", "-c", "echo the database is locked >&2; exit 3"};
    plan.kills = 1;
    plan.check = nullptr;
    EXPECT_NONFATAL_FAILURE(RunKillTest(plan), "the start after the kill failed: it ended with the exit status 3");
    EXPECT_NONFATAL_FAILURE(RunKillTest(plan), "it wrote:\nthe database is locked");
    plan.restart = {"/bin/sh", "-c", "kill -SEGV $$"};
    EXPECT_NONFATAL_FAILURE(RunKillTest(plan), "ended by the signal Segmentation fault");
    EXPECT_NONFATAL_FAILURE(RunKillTest(plan), " us after its start");
}

TEST_F(KillHarnessTest, AProgramThatEndsSoonerThanTheWindowIsKilledWithinItsRunAfterwards) {
    KillPlan plan;
    plan.root = root.Host();
    plan.command = {"/bin/sh", "-c", "sleep 0.1"};
    plan.window = std::chrono::seconds(10);
    plan.kills = 6;
    plan.seed = 11;
    std::vector<KillRound> rounds;
    plan.check = [&](const KillRound& round) { rounds.push_back(round); };
    RunKillTest(plan);
    ASSERT_EQ(rounds.size(), 6u);
    // The first round draws from the whole window and most likely lets the
    // program end; a slow machine may stretch its run, not to seconds.
    const auto ended = std::find_if(rounds.begin(), rounds.end(), [](const KillRound& r) { return !r.killed; });
    ASSERT_NE(ended, rounds.end());
    for (auto round = ended + 1; round != rounds.end(); ++round)
        EXPECT_LT(round->delay, std::chrono::seconds(2)) << "round " << round->index;
}

TEST(KillCount, TakesKillsFromTheEnvironment) {
    const char* given = std::getenv("KILLS");
    const std::string saved = given ? given : "";
    unsetenv("KILLS");
    EXPECT_EQ(KillCount(), 20);
    EXPECT_EQ(KillCount(5), 5);
    setenv("KILLS", "200", 1);
    EXPECT_EQ(KillCount(), 200);
    setenv("KILLS", "nonsense", 1);
    EXPECT_EQ(KillCount(), 20);
    if (given)
        setenv("KILLS", saved.c_str(), 1);
    else
        unsetenv("KILLS");
}

}  // namespace
