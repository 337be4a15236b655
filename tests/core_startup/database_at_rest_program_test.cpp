// The database file when the terminal is not writing: after a normal end,
// and in a backup, the file alone holds everything written, as a person
// who copies only KD4700.DB expects.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include "tests/kill/TerminalKillSupport.h"

namespace {

namespace fs = std::filesystem;

class DatabaseAtRestTest : public ProgramTest {
protected:
    // A number from a copy of the file alone, taken where no log of it lies.
    int CountInCopyOf(const std::string& relative, const char* sql) const {
        const std::string copy = root.HostPath("alone/copy.DB");
        fs::remove_all(root.HostPath("alone"));
        fs::create_directories(root.HostPath("alone"));
        fs::copy_file(root.HostPath(relative), copy);
        return TerminalFolder::QueryDatabase(copy, sql);
    }
    bool LogHoldsWrites() const {
        const std::string log = root.HostPath("NandFlash/zeta42/DB/KD4700.DB-wal");
        return fs::exists(log) && fs::file_size(log) > 0;
    }
    static constexpr char kLive[] = "NandFlash/zeta42/DB/KD4700.DB";
};

TEST_F(DatabaseAtRestTest, ANormalEndLeavesEveryWriteInTheFile) {
    // The first start writes the auto function-key table.
    const ProgramRun run = Start("quit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(LogHoldsWrites());
    EXPECT_EQ(CountInCopyOf(kLive, "select count(*) from AtuoFN"), 16);
}

TEST_F(DatabaseAtRestTest, ABackupRightAfterAnImportHoldsTheImportedUsers) {
    Execute(u"INSERT INTO Userinfo (Userid, Name) WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
            u"WHERE n < 300) SELECT n, 'U' || n FROM s");
    Execute(u"update BasePara set UserCount = 300");
    // Exported to the flash, then gone from the terminal.
    ProgramRun run = Start("goto 1331\nkey DOWN\nanswer yes\nanswer ok\nkey ENTER\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_TRUE(fs::exists(root.HostPath("NandFlash/zeta42/1/Bak.yg2"))) << run.errors;
    Execute(u"delete from Userinfo");
    Execute(u"update BasePara set UserCount = 0");

    run = Start("goto 132\nkey DOWN\nanswer yes\nanswer ok\nkey ENTER\nwait 1000\n"
                "goto 134\nkey RIGHT\nkey DOWN\nanswer ok\nkey ENTER\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("message box: Backup done!"), std::string::npos) << run.errors;
    EXPECT_EQ(CountInCopyOf("NandFlash/KD4700.DB", "select count(*) from Userinfo"), 300);
    EXPECT_EQ(CountInCopyOf(kLive, "select count(*) from Userinfo"), 300);
}

}  // namespace
#endif
