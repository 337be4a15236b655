// A database another program holds, one the terminal may not write, or one
// on a full flash, as the person at the terminal meets it: told in words,
// once, with SQLite's code only on standard error for the developer.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include <chrono>

#include "tests/core_startup/ChildProcess.h"
#include "tests/support/database_held.h"

namespace {

namespace fs = std::filesystem;

class DatabaseInUseProgramTest : public ProgramTest {
protected:
    // No box names an SQLite code; standard error does, with its message.
    static void ExpectCodeOnlyForTheDeveloper(const ProgramRun& run, const std::string& sqliteMessage) {
        EXPECT_EQ(run.errors.find("message box: SQLITE"), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("database: error "), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(sqliteMessage), std::string::npos) << run.errors;
    }
};

// Another program holds the database through start-up, its write lock or
// the whole file: start-up waits for it once (five seconds, not once for
// each of its statements), then stops saying in its own words that the
// database is in use (no word of a change that nobody made), and the end
// waits no more.
class HeldAtStartTest : public DatabaseInUseProgramTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HeldAtStartTest, StartUpWaitsOnceThenStopsSayingTheDatabaseIsInUse) {
    DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile), GetParam());
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun run = Start("answer ok\nwait 100\nquit\n");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    other.Release();
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_EQ(Occurrences(run.errors, "message box: "), 1u) << run.errors;
    EXPECT_NE(run.errors.find("message box: The database is in use by another program. Close it, then start the "
                              "terminal again!\n"),
              std::string::npos)
        << run.errors;
    EXPECT_GE(seconds, 4.9) << "it waited for the other program";
    // Start-up and the end take a second or two beside the wait; a second
    // wait would take five more.
    EXPECT_LT(seconds, 9.0) << run.errors;
    EXPECT_EQ(Count(u"select count(*) from Dept where Deptid = 99"), 0);
}

INSTANTIATE_TEST_SUITE_P(WriteLockOrWholeFile, HeldAtStartTest,
                         ::testing::Values("BEGIN IMMEDIATE",
                                           "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                                           "INSERT INTO Dept(Deptid, DeptName) VALUES (99, 'held')"),
                         [](const ::testing::TestParamInfo<const char*>& hold) {
                             return hold.index == 0 ? "WriteLock" : "WholeFile";
                         });

// The terminal runs; another program takes the write lock; a stop signal
// ends the terminal at once, leaving what the lock keeps in the log for
// the next start, which finds all of it.
TEST_F(DatabaseInUseProgramTest, TheEndDoesNotWaitForAnotherProgram) {
    const std::string errorsPath = root.HostPath("terminal.err");
    Child terminal;
    ASSERT_TRUE(terminal.Start({QUILLON_PROGRAM, "--root", root.Host(), "--headless"}, nullptr, -1, errorsPath));
    ASSERT_TRUE(WaitUntil([this] { return Log().find("main window ready") != std::string::npos; }, kSlowStartSeconds));
    DatabaseHeldByAnotherProgram other(root.HostPath(kDatabaseFile), "BEGIN IMMEDIATE");
    const auto ended = std::chrono::steady_clock::now();
    terminal.Signal(SIGTERM);
    EXPECT_EQ(terminal.Wait(20), 0) << ReadHost(errorsPath);
    EXPECT_LT(std::chrono::steady_clock::now() - ended, std::chrono::milliseconds(2500)) << ReadHost(errorsPath);
    EXPECT_NE(Log().find("Log finished"), std::string::npos) << Log();
    other.Release();
    // The table the first start made.
    EXPECT_EQ(Count(u"select count(*) from AtuoFN"), 16);
    EXPECT_EQ(Start("wait 100\nquit\n").exitCode, 0);
}

// The database's folder on a file system of its own with 16 KB left,
// less than the 32 KB the index of its log takes: start-up says the flash
// is full (not that the database is damaged), and the same database
// starts once room is made.
TEST_F(DatabaseInUseProgramTest, AStartOnAFullFlashSaysSoAndStartsOnceRoomIsMade) {
    const std::string folder = root.HostPath("NandFlash/zeta42/DB");
    const std::string aside = root.HostPath("DB-aside");
    fs::rename(folder, aside);
    fs::create_directory(folder);
    if (std::system(("mount -t tmpfs -o size=256k tmpfs " + folder + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no small file system can be mounted here (it takes the system's administrator)";
    struct Unmount {
        std::string folder;
        ~Unmount() { std::system(("umount " + folder).c_str()); }
    } unmount{folder};
    fs::copy(aside, folder, fs::copy_options::recursive);
    const uintmax_t free = fs::space(folder).available;
    ASSERT_GT(free, 32768u);
    root.PutFile("NandFlash/zeta42/DB/filler", std::string(free - 16384, 'x'));
    ASSERT_LT(fs::space(folder).available, 32768u);

    ProgramRun run = Start("answer ok\nwait 100\n");
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("message box: The flash is full. Make room on it, then start the terminal again!\n"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.errors.find("damaged"), std::string::npos) << run.errors;

    fs::remove(root.HostPath("NandFlash/zeta42/DB/filler"));
    run = Start("wait 100\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find("message box:"), std::string::npos) << run.errors;
}

// A database file the terminal may not write (its folder it may): the
// write of start-up and two saves of Add User all fail. Start-up's write
// tells it once; each save the person asked for is told again, in one box
// with the cause.
TEST_F(DatabaseInUseProgramTest, AReadOnlyDatabaseFileIsToldAtStartAndAtEachSave) {
    if (!MakeTheDatabaseFileReadOnly()) GTEST_SKIP() << "no setpriv to run as another user";
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
