// Copies of a database in use, whose latest users sit in its write-ahead
// log: a restore that fails (a full flash, another program's lock) leaves
// the live database as it was, and a backup holds every user or is told as
// failed, with no file of the backup's name left new.
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "data/DataGlobals.h"
#include "tests/maintenance/DatabaseCopiesTest.h"
#include "tests/maintenance/FullFlash.h"
#include "tests/support/database_held.h"
#include "tests/support/users_in_log.h"

// Named: the sources of a test program are compiled together.
namespace database_copies_test {

const CString kInUse = u"The database is in use by another program: nothing was restored. The database is unchanged.";
const CString kFull = u"The flash is full: nothing was restored. The database is unchanged.";
const CString kIoError = u"A read or write of the flash failed: nothing was restored. The database is unchanged.";

// What a database file holds, as another terminal or a PC tool finds it
// when it opens the file plainly (a journal or log beside it is rolled in):
// its integrity check and its users.
struct FileFacts {
    std::string integrity = "cannot open";
    int users = -1;
};

FileFacts FactsOf(const std::string& hostPath) {
    FileFacts facts;
    sqlite3* db = nullptr;
    sqlite3_stmt* row = nullptr;
    if (sqlite3_open_v2(hostPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &row, nullptr) == SQLITE_OK &&
            sqlite3_step(row) == SQLITE_ROW)
            facts.integrity = reinterpret_cast<const char*>(sqlite3_column_text(row, 0));
        else
            facts.integrity = sqlite3_errmsg(db);
        sqlite3_finalize(row);
        if (sqlite3_prepare_v2(db, "select count(*) from Userinfo", -1, &row, nullptr) == SQLITE_OK &&
            sqlite3_step(row) == SQLITE_ROW)
            facts.users = sqlite3_column_int(row, 0);
        sqlite3_finalize(row);
    }
    sqlite3_close(db);
    return facts;
}

constexpr const char* kReading = "BEGIN; SELECT count(*) FROM Userinfo";
constexpr const char* kWriting = "BEGIN IMMEDIATE";

TEST_F(DatabaseCopiesTest, ARestoreOnAFullFlashLeavesEveryUserOfTheLog) {
    BackUpToFlash();
    FullFlash flash(root.HostPath("NandFlash"));
    AddUsersToTheLog(1000, 2000);
    // Room for the copy beside the live file, none for the database to grow.
    FullFlash::LeaveFree(0);
    RestoreFromFlash();
    EXPECT_TRUE(FullFlash::Refused()) << "the flash was never found full";
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kFull}));
    ExpectLiveDatabase(2000);
}

// The flash has room for the copy beside the live file but not for the
// log the copy is written through: the person is told the flash is full,
// and the room the log took is the flash's again.
TEST_F(DatabaseCopiesTest, ARestoreRefusedForRoomGivesTheRoomBackAndSaysTheFlashIsFull) {
    AddUsersToTheLog(1000, 2000);
    BackUpToFlash();
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM Userinfo"));
    FullFlash flash(root.HostPath("NandFlash"));
    constexpr int64_t kRoom = 300 * 1024;
    FullFlash::LeaveFree(kRoom);
    RestoreFromFlash();
    EXPECT_TRUE(FullFlash::Refused()) << "the flash was never found full";
    EXPECT_EQ(FullFlash::Free(), kRoom);
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kFull}));
    ExpectLiveDatabase(0);
}

// A medium whose writes fail: the backup and the restore each say that a
// read or a write failed, and leave no file new.
TEST_F(DatabaseCopiesTest, ReadWriteErrorsOfABackupAndARestoreAreToldAsSuch) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    AddUsersToTheLog(1000, 20);
    BackUpToFlash();
    {
        FullFlash disk(root.HostPath("USB Disk"));
        FullFlash::BreakWrites();
        OnPage(kBackupNode, Choose(0, {"answer ok", "key ENTER"}));
    }
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(kUsbBackup)));
    ExpectNoTemporaryIn("USB Disk");
    ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM Userinfo WHERE userid < 1010"));
    {
        FullFlash flash(root.HostPath("NandFlash"));
        FullFlash::BreakWrites();
        RestoreFromFlash();
        ExpectLiveDatabase(10);
    }
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, u"hardware   error!", kIoError}));
}

// Another program reads the database (and a second copy of it would not
// fit beside it, here a folder where an older restore kept one): the
// restore writes past the reader, and nothing of either database is lost.
TEST_F(DatabaseCopiesTest, ARestoreWhileAnotherProgramReadsPutsTheWholeCopyInPlace) {
    AddUser(u"7", u"", 0);
    BackUpToFlash();
    std::filesystem::create_directories(root.HostPath(std::string(LiveDatabase()) + ".old"));
    DatabaseHeldByAnotherProgram reader(root.HostPath(LiveDatabase()), kReading);
    AddUsersToTheLog(1000, 11);
    RestoreFromFlash();
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kRestored}));
    EXPECT_EQ(Integrity(), u"ok");
    EXPECT_EQ(Users(), 1);
    EXPECT_EQ(controller.State().restarts, 1);
}

// Another program holds the database's write lock: the restore cannot
// write, says why, and the database keeps every user.
TEST_F(DatabaseCopiesTest, ARestoreWhileAnotherProgramWritesIsToldAsInUse) {
    BackUpToFlash();
    AddUsersToTheLog(1000, 11);
    {
        DatabaseHeldByAnotherProgram writer(root.HostPath(LiveDatabase()), kWriting);
        RestoreFromFlash();
    }
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kInUse}));
    ExpectLiveDatabase(11);
}

// The copy is of the database the terminal works on, also when another
// program's read keeps the latest users in the log.
TEST_F(DatabaseCopiesTest, ABackupWhileAnotherProgramReadsHoldsEveryUser) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    DatabaseHeldByAnotherProgram reader(root.HostPath(LiveDatabase()), kReading);
    AddUsersToTheLog(1000, 11);
    OnPage(kBackupNode, Choose(0, {"answer ok", "key ENTER"}));
    EXPECT_EQ(Messages(), std::vector<CString>{kBackedUp});
    const FileFacts copy = FactsOf(root.HostPath(kUsbBackup));
    EXPECT_EQ(copy.integrity, "ok");
    EXPECT_EQ(copy.users, 11);
}

// The flash is full: a backup there is told as failed and the older
// backup stays as it was; one to the USB disk still holds every user.
TEST_F(DatabaseCopiesTest, ABackupOnAFullFlashIsToldOrWhole) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    BackUpToFlash();
    const std::string older = FileBytes(kFlashBackup);
    FullFlash flash(root.HostPath("NandFlash"));
    AddUsersToTheLog(1000, 2000);
    FullFlash::LeaveFree(0);
    BackUpToFlash();
    OnPage(kBackupNode, Choose(0, {"answer ok", "key ENTER"}));
    EXPECT_TRUE(FullFlash::Refused()) << "the flash was never found full";
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, u"disk   full!", kBackedUp}));
    EXPECT_TRUE(FileBytes(kFlashBackup) == older) << "the older backup changed";
    ExpectNoTemporaryIn("NandFlash");
    const FileFacts copy = FactsOf(root.HostPath(kUsbBackup));
    EXPECT_EQ(copy.integrity, "ok");
    EXPECT_EQ(copy.users, 2000);
    ExpectLiveDatabase(2000);
}

// A medium that fills during the copy: told, no file of the backup's name.
TEST_F(DatabaseCopiesTest, ABackupToAFullUsbDiskLeavesNoFile) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    FullFlash disk(root.HostPath("USB Disk"));
    AddUsersToTheLog(1000, 200);
    FullFlash::LeaveFree(16384);
    OnPage(kBackupNode, Choose(0, {"answer ok", "key ENTER"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"disk   full!"});
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(kUsbBackup)));
    ExpectNoTemporaryIn("USB Disk");
    ExpectLiveDatabase(200);
}

// A PC tool's transaction on a copy, cut short: the journal that holds the
// copy's pages as they were before it stays beside the copy, hot.
void LeaveCutTransactionBeside(const std::string& copy) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    // A small cache spills the changed pages into the file mid-transaction.
    EXPECT_EQ(sqlite3_exec(db, "PRAGMA journal_mode = DELETE; PRAGMA cache_size = 1; BEGIN; "
                               "UPDATE Userinfo SET Name = 'PC' || Name",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    std::filesystem::copy_file(copy + "-journal", copy + "-kept");
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::filesystem::rename(copy + "-kept", copy + "-journal");
    ASSERT_GT(std::filesystem::file_size(copy + "-journal"), 512u) << "the journal holds no pages";
}

// The bytes 18 and 19 of the file's header: 1 for the rollback-journal
// format, 2 for the write-ahead log's.
std::pair<int, int> FormatOf(const std::string& hostPath) {
    std::ifstream file(hostPath, std::ios::binary);
    char header[20] = {};
    file.read(header, sizeof header);
    return {header[18], header[19]};
}

// An older copy with a journal or a log of a PC tool beside it is replaced
// by a copy that stands alone, on the USB disk and on the flash: a program
// that opens the new copy finds every user of the live database and a
// whole file, and the terminal restores it.
class StaleLogTest : public DatabaseCopiesTest {
protected:
    void BackUpOverAnOlderCopyWith(const std::function<void(const std::string&)>& leaveBeside) {
        std::filesystem::create_directories(root.HostPath("USB Disk"));
        for (const auto& [place, copy] : {std::pair{0, kUsbBackup}, std::pair{1, kFlashBackup}}) {
            SCOPED_TRACE(copy);
            OnPage(kBackupNode, Choose(place, {"answer ok", "key ENTER"}));
            leaveBeside(root.HostPath(copy));
            AddUsersToTheLog(2000 + 1000 * place, 150);
            OnPage(kBackupNode, Choose(place, {"answer ok", "key ENTER"}));
            for (const char* suffix : {"-journal", "-wal", "-shm"})
                EXPECT_FALSE(std::filesystem::exists(root.HostPath(copy) + suffix)) << suffix << " left beside";
            EXPECT_EQ(FormatOf(root.HostPath(copy)), std::pair(1, 1));
            const FileFacts facts = FactsOf(root.HostPath(copy));
            EXPECT_EQ(facts.integrity, "ok");
            EXPECT_EQ(facts.users, Users());
            const int users = Users();
            OnPage(kRestoreNode, Choose(place, {"answer ok", "key ENTER", "wait 600"}));
            EXPECT_EQ(Users(), users);
            EXPECT_EQ(Messages().back(), kRestored);
        }
        EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kBackedUp, kRestored, kBackedUp, kBackedUp, kRestored}));
    }
};

TEST_F(StaleLogTest, AJournalOfACutTransactionBesideTheOlderCopyIsNotRolledIntoTheNewOne) {
    AddUsersToTheLog(1000, 300);
    BackUpOverAnOlderCopyWith(LeaveCutTransactionBeside);
}

TEST_F(StaleLogTest, ALogBesideTheOlderCopyIsNotReadIntoTheNewOne) {
    AddUsersToTheLog(1000, 300);
    BackUpOverAnOlderCopyWith([](const std::string& copy) { ::AddUsersToTheLog(copy, 50000, 40); });
}

}  // namespace database_copies_test
