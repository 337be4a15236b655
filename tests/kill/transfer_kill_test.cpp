// The power fails while users and templates are imported, or while the
// transfer files are exported: the database stays whole and holds whole
// records only, and a transfer file under its real name is always complete.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/kill/PreparedFolder.h"
#include "tests/support/kill_harness.h"

namespace {

constexpr int kUsers = 600;
const char kTransferFolder[] = "NandFlash/zeta42/1/";

bool Acknowledged(const KillRound& round, const std::string& what) {
    for (const std::string& line : round.acknowledged)
        if (line == what) return true;
    return false;
}

TEST(TransferKillTest, AKilledImportLeavesWholeRecordsOnly) {
    PreparedFolder prepared(kUsers, {"empty"});
    TerminalFolder& folder = prepared.folder;
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = {TRANSFER_WRITER, folder.Host(), "import"};
    plan.restart = folder.Start();
    // Two files of kUsers records at 1 ms or more each.
    plan.window = std::chrono::milliseconds(1800);
    plan.seed = 2020;
    plan.prepare = [&](int) { prepared.Lay(); };
    int complete = 0;
    plan.check = [&](const KillRound& round) {
        const int users = ExpectWholeRecords(folder);
        if (Acknowledged(round, "users")) {
            EXPECT_EQ(users, kUsers);
        }
        if (Acknowledged(round, "templates")) {
            EXPECT_EQ(folder.Query("select count(*) from FPinfo"), kUsers);
            ++complete;
        }
    };
    const KillSummary summary = RunKillTest(plan);
    EXPECT_GT(summary.killedWhileRunning, 0);
    std::printf("import: %d rounds, %d killed while running, %d ran to the end\n", summary.rounds,
                summary.killedWhileRunning, complete);
}

// Through the import page of a terminal in use: 5000 users with their
// templates into a database of some 13 MB with a full record ring.
TEST(TransferKillTest, AKilledImportThroughThePageOnATerminalInUseLeavesWholeRecordsOnly) {
    constexpr int kPageUsers = 5000;
    PreparedFolder prepared(kPageUsers, {"empty", "ring"});
    TerminalFolder& folder = prepared.folder;
    const std::string script = folder.Host() + ".import";
    std::ofstream(script) << "goto 132\nkey DOWN\nanswer yes\nanswer ok\nkey ENTER\nwait 1000\nquit\n";
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = {QUILLON_PROGRAM, "--root", folder.Host(), "--headless", "--script", script};
    plan.restart = folder.Start();
    plan.seed = 2022;
    plan.kills = KillCount(10);
    plan.prepare = [&](int) { prepared.Lay(); };
    int complete = 0;
    // A script's quit can end the run while the page still imports (its
    // loop runs the script too): a round that was not cut need not hold all
    // of them, only whole ones.
    plan.check = [&](const KillRound&) {
        const int users = ExpectWholeRecords(folder);
        const int templates = folder.Query("select count(*) from FPinfo");
        EXPECT_LE(templates, users);
        complete += users == kPageUsers && templates == kPageUsers;
    };
    FitWindow(plan);
    const KillSummary summary = RunKillTest(plan);
    std::filesystem::remove(script);
    EXPECT_GE(summary.killedWhileRunning, summary.rounds / 4);
    std::printf("import through the page: %d rounds, %d killed while running, %d with everything imported\n",
                summary.rounds, summary.killedWhileRunning, complete);
}

// The transfer file's count and length agree with kUsers records; false
// when the file is cut or holds another number of records.
bool Complete(const std::string& path, size_t recordSize) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 3) return false;
    const size_t count = (static_cast<unsigned char>(bytes[0]) << 16) | (static_cast<unsigned char>(bytes[1]) << 8) |
                         static_cast<unsigned char>(bytes[2]);
    return count == static_cast<size_t>(kUsers) && bytes.size() == 3 + count * recordSize;
}

TEST(TransferKillTest, AKilledExportNeverLeavesAHalfFileUnderTheRealName) {
    PreparedFolder prepared(kUsers, {});
    TerminalFolder& folder = prepared.folder;
    const std::string transfer = folder.HostPath(kTransferFolder);
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = {TRANSFER_WRITER, folder.Host(), "export"};
    // The terminal's start takes away the temporaries of a cut export (the
    // harness finds any left).
    plan.restart = folder.Start();
    plan.window = std::chrono::milliseconds(400);
    plan.seed = 2021;
    plan.prepare = [&](int) {
        prepared.Lay();
        std::filesystem::remove(transfer + "Bak.yg2");
        std::filesystem::remove(transfer + "Bak.zw");
    };
    int exports = 0;
    plan.check = [&](const KillRound& round) {
        for (const auto& [name, size] : {std::pair<std::string, size_t>{"Bak.yg2", 28}, {"Bak.zw", 344}, {"Bak.kq", 14}}) {
            const std::string path = transfer + name;
            if (std::filesystem::exists(path)) {
                EXPECT_TRUE(Complete(path, size)) << name << " is cut";
            }
            if (Acknowledged(round, name)) {
                EXPECT_TRUE(std::filesystem::exists(path)) << name;
            }
        }
        exports += static_cast<int>(round.acknowledged.size());
    };
    const KillSummary summary = RunKillTest(plan);
    EXPECT_EQ(summary.killedWhileRunning, summary.rounds);
    EXPECT_GT(exports, 0);
    std::printf("export: %d rounds, %d files exported before the kills\n", summary.rounds, exports);
}

}  // namespace
