// A database another program holds, or one the terminal may not write, as
// the person at the terminal meets it: told in words, once, with SQLite's
// code only on standard error for the developer.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include <unistd.h>

#include "tests/support/database_held.h"

namespace {

namespace fs = std::filesystem;

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

class DatabaseInUseProgramTest : public ProgramTest {
protected:
    // No box names an SQLite code; standard error does, with its message.
    static void ExpectCodeOnlyForTheDeveloper(const ProgramRun& run, const std::string& sqliteMessage) {
        EXPECT_EQ(run.errors.find("message box: SQLITE"), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("database: error "), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(sqliteMessage), std::string::npos) << run.errors;
    }
};

// Another program writes to the database through start-up: start-up's
// writes wait for it, then one box says in words that it is in use (not
// one box per write), and the terminal runs.
TEST_F(DatabaseInUseProgramTest, AStartWhileAnotherProgramWritesSaysSoOnceInWords) {
    DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile), "BEGIN IMMEDIATE");
    const ProgramRun run = Start("answer ok\nwait 100\nquit\n");
    other.Release();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Occurrences(run.errors, "message box: The database is in use by another program: the change was not "
                                      "saved!\n"),
              1u)
        << run.errors;
    ExpectCodeOnlyForTheDeveloper(run, "database is locked");
}

// Another program holds the whole file, so that the terminal cannot even
// read it: start-up stops saying the database is in use, not damaged.
TEST_F(DatabaseInUseProgramTest, AStartWhileAnotherProgramHoldsTheWholeFileStopsSayingItIsInUse) {
    DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile),
                                       "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                                       "INSERT INTO Dept(Deptid, DeptName) VALUES (99, 'held')");
    const ProgramRun run = Start("answer ok\nwait 100\n");
    other.Release();
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("message box: The database is in use by another program. Close it, then start the "
                              "terminal again!\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("damaged"), std::string::npos) << run.errors;
    EXPECT_EQ(Count(u"select count(*) from Dept where Deptid = 99"), 0);
}

// A database file the terminal may not write (its folder it may): the
// write of start-up and two saves of Add User all fail. Start-up's write
// tells it once; each save the person asked for is told again, in one box
// with the cause.
TEST_F(DatabaseInUseProgramTest, AReadOnlyDatabaseFileIsToldAtStartAndAtEachSave) {
    fs::permissions(root.HostPath(kDatabaseFile), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // The system's administrator writes any file: the terminal runs as a
    // user without rights of its own then, who owns the device folder.
    if (geteuid() == 0) {
        if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "no setpriv to run as another user";
        ASSERT_EQ(lchown(root.Host().c_str(), 65534, 65534), 0);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root.Host()))
            ASSERT_EQ(lchown(entry.path().c_str(), 65534, 65534), 0) << entry.path();
        program = "setpriv --reuid=65534 --regid=65534 --clear-groups " + program;
    }
    const std::string save = "key MENU\nwait 200\nanswer ok\nwait 100\n";
    const ProgramRun run =
        Start("answer ok\nwait 300\ngoto 121\nwait 100\nkey 5\nkey ENTER\n" + save + "key 6\nkey ENTER\n" + save + "quit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Occurrences(run.errors, "message box: The database file is read-only: the change was not saved!\n"), 3u)
        << run.errors;
    EXPECT_EQ(Occurrences(run.errors, "message box: "), 3u) << run.errors;
    ExpectCodeOnlyForTheDeveloper(run, "attempt to write a readonly database");
    EXPECT_EQ(Count(u"select count(*) from Userinfo"), 0);
}

}  // namespace

#endif
