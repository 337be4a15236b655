// The power fails while users and templates are imported, or while the
// transfer files are exported: the database stays whole and holds whole
// records only, and a transfer file under its real name is always complete.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/kill/TerminalKillSupport.h"
#include "tests/support/kill_harness.h"

namespace {

constexpr int kUsers = 600;
const char kTransferFolder[] = "NandFlash/zeta42/1/";

// The factory image with the transfer files of kUsers users, templates and
// records made once, laid anew for every round.
class PreparedFolder {
public:
    explicit PreparedFolder(bool emptyTables) {
        folder.LayFactoryImage();
        const std::string command = std::string(TRANSFER_WRITER) + " '" + folder.Host() + "' prepare " +
                                    std::to_string(kUsers) + (emptyTables ? " empty" : "");
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::filesystem::copy(folder.Host(), m_prepared, std::filesystem::copy_options::recursive);
    }
    ~PreparedFolder() { std::filesystem::remove_all(m_prepared); }
    void Lay() const {
        std::filesystem::remove_all(folder.Host());
        std::filesystem::copy(m_prepared, folder.Host(), std::filesystem::copy_options::recursive);
    }

    TerminalFolder folder;

private:
    std::string m_prepared = folder.Host() + ".prepared";
};

bool Acknowledged(const KillRound& round, const std::string& what) {
    for (const std::string& line : round.acknowledged)
        if (line == what) return true;
    return false;
}

TEST(TransferKillTest, AKilledImportLeavesWholeRecordsOnly) {
    PreparedFolder prepared(true);
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
        const int users = folder.Query("select count(*) from Userinfo");
        EXPECT_EQ(folder.Query("select UserCount from BasePara"), users);
        EXPECT_EQ(folder.Query("select count(*) from Userinfo where Name not like '用户%' or CardNo = ''"), 0)
            << "no user row without its fields";
        EXPECT_EQ(folder.Query("select count(*) from FPinfo f left join Userinfo u on u.userid = f.userid "
                               "where u.userid is null or (u.FPFlag >> f.fingerNO) & 1 = 0 or length(f.FPTemplate) != 338"),
                  0)
            << "every template belongs to a user whose mask has its finger";
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
    PreparedFolder prepared(false);
    TerminalFolder& folder = prepared.folder;
    const std::string transfer = folder.HostPath(kTransferFolder);
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = {TRANSFER_WRITER, folder.Host(), "export"};
    // What the next export does first: the temporaries of a cut export go.
    plan.restart = {TRANSFER_WRITER, folder.Host(), "clean"};
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
