// The records program on a device folder: the records it adds are in the
// database with the ring's counters moved by as many, a second run adds
// to the first, and a folder a terminal runs on is refused or waited for.
#include "tests/core_startup/ProgramTestSupport.h"
#include "tests/support/database_held.h"

#if defined(RECORDS_PROGRAM)

namespace {

class RecordsProgramTest : public ProgramTest {
protected:
    ProgramRun Records(const std::string& arguments) const {
        const std::string errorsPath = root.HostPath("records.err");
        const int status = std::system((std::string(RECORDS_PROGRAM) + " " + arguments + " >" +
                                        root.HostPath("records.out") + " 2>" + errorsPath)
                                           .c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadHost(errorsPath)};
    }
    void AddUsers() {
        for (const char16_t* id : {u"1", u"2", u"15"}) {
            CString sql;
            sql.Format(u"INSERT INTO Userinfo VALUES ('%s','','','0','',0,6,'',0,'',0,0)", id);
            Execute(sql);
        }
    }
    int Counter(const char16_t* column) {
        CString sql;
        sql.Format(u"SELECT %s FROM BasePara", column);
        return Count(sql);
    }
};

TEST_F(RecordsProgramTest, RecordsGoInWithTheRingCountersAndASecondRunAddsToTheFirst) {
    AddUsers();
    ProgramRun run = Records(root.Host() + " 120 --from 2026-03-01 --to 2026-03-31");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(ReadHost(root.HostPath("records.out")).find("added 120 records of 3 users"), std::string::npos);
    EXPECT_EQ(Count(u"SELECT count(*) FROM Checkinout"), 120);
    EXPECT_EQ(Counter(u"AllRecordcount"), 120);
    EXPECT_EQ(Counter(u"NewRecordcount"), 120);
    EXPECT_EQ(Count(u"SELECT count(*) FROM Checkinout WHERE Userid NOT IN ('1','2','15')"), 0);
    EXPECT_EQ(Count(u"SELECT count(DISTINCT Userid) FROM Checkinout"), 3);
    EXPECT_EQ(Count(u"SELECT count(*) FROM Checkinout WHERE CheckTime < '2026-03-01' OR CheckTime > '2026-03-31 24'"),
              0);
    // The ring's slots are the rowids, filled in order from the first.
    EXPECT_EQ(Count(u"SELECT max(rowid) FROM Checkinout"), 120);

    run = Records(root.Host() + " 30 --ids 900,901 --from 2026-04-01 --to 2026-04-02");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    // Looked at before the test reads the database, which folds the log
    // back itself as the last connection to close.
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/DB/KD4700.DB-wal")))
        << "the database is closed, its log folded back, when the program ends";
    EXPECT_EQ(Counter(u"AllRecordcount"), 150);
    EXPECT_EQ(Counter(u"NewRecordcount"), 150);
    EXPECT_EQ(Count(u"SELECT count(*) FROM Checkinout WHERE Userid IN ('900','901') AND rowid > 120"), 30);
}

TEST_F(RecordsProgramTest, NothingIsAddedWithoutUsersOrWithABadCommandLine) {
    ProgramRun run = Records(root.Host() + " 10");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("has no users: enrol some, or give --ids"), std::string::npos) << run.errors;
    for (const std::string& wrong :
         {root.Host() + " 0 --ids 1", root.Host() + " ten --ids 1", root.Host() + " 5 --ids 1,x2",
          root.Host() + " 5 --ids 1 --from 2026-02-30", root.Host() + " 5 --ids 1 --from 2026-03-02 --to 2026-03-01",
          root.Host() + " 5 --ids 1 --colour red", root.Host()}) {
        run = Records(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong;
        EXPECT_NE(run.errors.find("usage: records"), std::string::npos) << wrong;
    }
    run = Records(root.HostPath("nothing") + " 5 --ids 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("is not a device folder"), std::string::npos) << run.errors;
    EXPECT_EQ(Count(u"SELECT count(*) FROM Checkinout"), 0);
    EXPECT_EQ(Counter(u"AllRecordcount"), 0);
}

TEST_F(RecordsProgramTest, ARunningTerminalsFolderIsRefusedOrWaitedFor) {
    const std::string pidPath = root.HostPath("terminal.pid");
    ASSERT_EQ(std::system((std::string(QUILLON_PROGRAM) + " --root " + root.Host() + " --headless 2>" +
                           root.HostPath("terminal.err") + " & echo $! > " + pidPath)
                              .c_str()),
              0);
    const pid_t terminal = static_cast<pid_t>(std::stol(ReadHost(pidPath)));
    // The terminal holds the folder once its main window is up.
    ASSERT_TRUE(WaitUntil([&] { return Log().find("main window ready") != std::string::npos; }, kSlowStartSeconds));

    ProgramRun run = Records(root.Host() + " 10 --ids 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("a terminal is running on " + root.Host() + "; end it first, or give --wait"),
              std::string::npos)
        << run.errors;

    // The terminal ends once the run has said that it waits, however late a
    // loaded machine starts that run.
    const std::string waitingErrors = root.HostPath("records.err");
    std::filesystem::remove(waitingErrors);
    std::thread ender([terminal, waitingErrors] {
        WaitUntil([&] { return ReadHost(waitingErrors).find("records: waiting for") != std::string::npos; },
                  kSlowStartSeconds);
        kill(terminal, SIGTERM);
    });
    run = Records(root.Host() + " 10 --ids 1 --wait");
    ender.join();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("waiting for the terminal running on"), std::string::npos) << run.errors;
    EXPECT_EQ(Counter(u"AllRecordcount"), 10);
}

// Another program holds the database past the wait: nothing is added, and
// standard error says why in the terminal's words.
TEST_F(RecordsProgramTest, ADatabaseInUseAddsNothingAndSaysWhy) {
    ProgramRun run;
    {
        DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile), "BEGIN IMMEDIATE");
        run = Records(root.Host() + " 40 --ids 1,2");
    }
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("records: The database is in use by another program: none of the 40 records was "
                              "added to " +
                              root.Host() + "\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("message box"), std::string::npos) << run.errors;
    EXPECT_EQ(Count(u"SELECT count(*) FROM Checkinout"), 0);
    EXPECT_EQ(Counter(u"AllRecordcount"), 0);
}

}  // namespace
#endif
