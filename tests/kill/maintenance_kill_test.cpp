// The power fails during a database backup, a restore or a software update:
// whatever the moment, the next start finds whole files (the old ones or
// the new ones), a database that passes its integrity check and starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/kill/PreparedFolder.h"
#include "tests/support/kill_harness.h"
#include "tests/support/users_in_log.h"

namespace {

const char* const kProgramFiles[] = {"Quillon.exe", "SMApi_WinCE.dll", "SMControl_WinCE.dll", "SMProcess_WinCE.dll",
                                     "launch.exe"};

std::string Bytes(const std::string& hostPath) {
    std::ifstream file(hostPath, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// A run of the terminal that opens `node` and presses Enter on its button
// with the storage choice `rights` steps to the right.
class MaintenanceKill {
public:
    MaintenanceKill(TerminalFolder& folder, int node, int rights) : folder(folder) {
        std::ofstream script(m_script);
        script << "goto " << node << "\n";
        for (int i = 0; i < rights; ++i) script << "key RIGHT\n";
        script << (rights >= 0 ? "key DOWN\n" : "") << "answer ok\nkey ENTER\nwait 1000\nquit\n";
    }
    ~MaintenanceKill() { std::filesystem::remove(m_script); }

    KillPlan Plan(unsigned seed) const {
        KillPlan plan;
        plan.root = folder.Host();
        // The controller restarts the terminal after a restore or update.
        plan.command = {QUILLON_PROGRAM, "--root", folder.Host(), "--headless", "--simulate-io", "--script", m_script};
        plan.restart = folder.Start();
        plan.seed = seed;
        plan.kills = KillCount(50);
        return plan;
    }

    TerminalFolder& folder;

private:
    std::string m_script = folder.Host() + ".maintenance";
};

constexpr int kLogUsers = 40;

void Report(const char* what, const KillSummary& summary) {
    EXPECT_GE(summary.killedWhileRunning, summary.rounds / 4);
    std::printf("%s: %d rounds, %d killed while running\n", what, summary.rounds, summary.killedWhileRunning);
}

TEST(MaintenanceKillTest, BackupToFlash) {
    TerminalFolder folder;
    MaintenanceKill run(folder, 134, 1);
    KillPlan plan = run.Plan(20261207);
    plan.prepare = [&](int) {
        run.folder.LayFactoryImage();
        AddUsersToTheLog(run.folder.HostPath("NandFlash/zeta42/DB/KD4700.DB"), 1000, kLogUsers);
    };
    plan.check = [&](const KillRound& round) {
        // The harness checked the copy's integrity; it is a whole database,
        // with the users that were in the log.
        const std::string copy = run.folder.HostPath("NandFlash/KD4700.DB");
        if (std::filesystem::exists(copy)) {
            EXPECT_EQ(TerminalFolder::QueryDatabase(copy, "select count(*) from StatusBase"), 8);
            EXPECT_EQ(TerminalFolder::QueryDatabase(copy, "select count(*) from Userinfo"), kLogUsers)
                << "killed after " << round.delay.count() << " us";
        } else {
            EXPECT_TRUE(round.killed) << "a backup that was not cut";
        }
        EXPECT_EQ(run.folder.Query("select count(*) from StatusBase"), 8);
        EXPECT_EQ(run.folder.Query("select count(*) from Userinfo"), kLogUsers);
    };
    FitWindow(plan);
    Report("backup", RunKillTest(plan));
}

// A terminal in use: 5000 users with their templates and a full record
// ring, some 13 MB; the copy has one user more.
TEST(MaintenanceKillTest, RestoreFromFlash) {
    PreparedFolder prepared(5000, {"ring"});
    MaintenanceKill run(prepared.folder, 135, 1);
    KillPlan plan = run.Plan(20261208);
    // Each round copies the 13 MB twice and checks both.
    plan.kills = KillCount(20);
    plan.prepare = [&](int) {
        prepared.Lay();
        const std::string live = run.folder.HostPath("NandFlash/zeta42/DB/KD4700.DB");
        const std::string copy = run.folder.HostPath("NandFlash/KD4700.DB");
        std::filesystem::copy_file(live, copy);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(copy.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "INSERT INTO Userinfo VALUES ('42000','','Restored','0','',0,6,'',0,'',0,0);"
                         "update BasePara set UserCount=5001", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        AddUsersToTheLog(live, 100000, kLogUsers);
    };
    int restoredRounds = 0;
    plan.check = [&](const KillRound& round) {
        const int restored = run.folder.Query("select count(*) from Userinfo where userid='42000'");
        const int users = run.folder.Query("select count(*) from Userinfo");
        // The old database with the users of its log, or the copy.
        EXPECT_TRUE((restored == 0 && users == 5000 + kLogUsers) || (restored == 1 && users == 5001))
            << restored << " restored, " << users << " users, killed after " << round.delay.count() << " us";
        // A restore that ran to its end restarted the terminal on its data.
        if (!round.killed) {
            EXPECT_EQ(restored, 1) << "a restore that was not cut";
        }
        restoredRounds += restored;
        EXPECT_EQ(run.folder.Query("select count(*) from StatusBase"), 8);
        EXPECT_FALSE(std::filesystem::exists(run.folder.HostPath("NandFlash/zeta42/DB/KD4700.DB.bak")));
        EXPECT_FALSE(std::filesystem::exists(run.folder.HostPath("NandFlash/zeta42/DB/KD4700.DB.old")));
    };
    FitWindow(plan);
    Report("restore", RunKillTest(plan));
    std::printf("restore: %d rounds started on the restored database\n", restoredRounds);
}

TEST(MaintenanceKillTest, UpdateFromUsbDisk) {
    TerminalFolder folder;
    MaintenanceKill run(folder, 136, -1);
    KillPlan plan = run.Plan(20261209);
    plan.prepare = [&](int) {
        run.folder.LayFactoryImage();
        for (const char* name : kProgramFiles) {
            std::filesystem::create_directories(run.folder.HostPath("USB Disk/zeta42"));
            std::ofstream(run.folder.HostPath(std::string("USB Disk/zeta42/") + name)) << std::string(200000, 'n');
            std::filesystem::create_directories(run.folder.HostPath("NandFlash/app"));
            std::ofstream(run.folder.HostPath(std::string("NandFlash/app/") + name)) << "old";
        }
    };
    plan.check = [&](const KillRound& round) {
        // The whole old program or the whole new one, never a mix.
        const std::string first = Bytes(run.folder.HostPath(std::string("NandFlash/app/") + kProgramFiles[0]));
        EXPECT_TRUE(first == "old" || first == std::string(200000, 'n'))
            << kProgramFiles[0] << " is half written, killed after " << round.delay.count() << " us";
        for (const char* name : kProgramFiles)
            EXPECT_EQ(Bytes(run.folder.HostPath(std::string("NandFlash/app/") + name)), first)
                << name << " differs from " << kProgramFiles[0] << ", killed after " << round.delay.count() << " us";
    };
    FitWindow(plan);
    Report("update", RunKillTest(plan));
}

}  // namespace
