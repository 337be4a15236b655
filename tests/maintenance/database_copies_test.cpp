// Copies of a database in use, whose latest users sit in its write-ahead
// log: a restore that fails (a full flash, another program's lock) leaves
// the live database as it was, and a backup holds every user or is told as
// failed, with no file of the backup's name left new.
#include <sqlite3.h>

#include <filesystem>

#include "data/DataGlobals.h"
#include "data/FileAsItStands.h"
#include "data/SqlHelpers.h"
#include "tests/maintenance/DatabasePageTest.h"
#include "tests/maintenance/FullFlash.h"

// Named: the sources of a test program are compiled together.
namespace database_copies_test {

const char* const kFlashBackup = "NandFlash/KD4700.DB";
const char* const kUsbBackup = "USB Disk/KD4700.DB";
const CString kUnchanged = u"Restore failed. The database is unchanged.";
const CString kInUse = u"The database is in use by another program: nothing was restored. The database is unchanged.";
const CString kRestored = u"Database restored. The terminal restarts now!";
const CString kBackedUp = u"Backup done!";

// What a database file holds by itself, as another terminal or a PC would
// find it: its integrity check and its users.
struct FileFacts {
    std::string integrity = "cannot open";
    int users = -1;
};

FileFacts FactsOf(const std::string& hostPath) {
    FileFacts facts;
    sqlite3* db = nullptr;
    sqlite3_stmt* row = nullptr;
    if (sqlite3_open_v2(FileAsItStandsUri(hostPath).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
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

// Another program on the live database: a connection of its own holding a
// transaction, read or write, until it ends.
class OtherProgram {
public:
    OtherProgram(const std::string& hostPath, const char* begin) {
        EXPECT_EQ(sqlite3_open(hostPath.c_str(), &m_db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
    }
    ~OtherProgram() {
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

private:
    sqlite3* m_db = nullptr;
};

constexpr const char* kReading = "BEGIN; SELECT count(*) FROM Userinfo";
constexpr const char* kWriting = "BEGIN IMMEDIATE";

class DatabaseCopiesTest : public DatabasePageTest {
protected:
    // `count` users with long names, left in the live database's log.
    void AddUsersToTheLog(int first, int count) {
        QueryInt(*g_pDatabase, u"PRAGMA wal_autocheckpoint = 0");
        CString sql;
        sql.Format(u"WITH RECURSIVE n(i) AS (SELECT %d UNION ALL SELECT i + 1 FROM n WHERE i < %d) "
                   u"INSERT INTO Userinfo SELECT i, '', printf('%%.200c', 'n'), '0', '', 0, 6, '', 0, '', 1, 0 FROM n",
                   first, first + count - 1);
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
        ASSERT_GT(std::filesystem::file_size(root.HostPath(std::string(LiveDatabase()) + "-wal")), 0u);
    }
    static int Users() { return QueryInt(*g_pDatabase, u"select count(*) from Userinfo"); }
    static CString Integrity() {
        StatementPtr check(g_pDatabase->Statement(u"pragma integrity_check"));
        return check->NextRow() ? CString(check->ValueString(0)) : CString(u"(no row)");
    }
    // The live database, whole, with `users` users, open, and no restart.
    void ExpectLiveDatabase(int users) {
        EXPECT_TRUE(g_pDatabase->IsOpen());
        EXPECT_EQ(Integrity(), u"ok");
        EXPECT_EQ(Users(), users);
        EXPECT_EQ(controller.State().restarts, 0);
        EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(LiveDatabase()) + ".bak")));
    }
    // A backup of the database as it is now on the flash root.
    void BackUpToFlash() { OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER"})); }
    void RestoreFromFlash() { OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"})); }
    // No new file of a copy not finished beside the backup's place.
    void ExpectNoTemporaryIn(const std::string& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(root.HostPath(folder)))
            EXPECT_EQ(entry.path().filename().string().find(".~tmp"), std::string::npos)
                << "left behind: " << entry.path();
    }
};

TEST_F(DatabaseCopiesTest, ARestoreOnAFullFlashLeavesEveryUserOfTheLog) {
    BackUpToFlash();
    FullFlash flash(root.HostPath("NandFlash"));
    AddUsersToTheLog(1000, 2000);
    // Room for the copy beside the live file, none for the database to grow.
    FullFlash::LeaveFree(0);
    RestoreFromFlash();
    EXPECT_TRUE(FullFlash::Refused()) << "the flash was never found full";
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kUnchanged}));
    ExpectLiveDatabase(2000);
}

// Another program reads the database (and a second copy of it would not
// fit beside it, here a folder where an older restore kept one): the
// restore writes past the reader, and nothing of either database is lost.
TEST_F(DatabaseCopiesTest, ARestoreWhileAnotherProgramReadsPutsTheWholeCopyInPlace) {
    AddUser(u"7", u"", 0);
    BackUpToFlash();
    std::filesystem::create_directories(root.HostPath(std::string(LiveDatabase()) + ".old"));
    OtherProgram reader(root.HostPath(LiveDatabase()), kReading);
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
        OtherProgram writer(root.HostPath(LiveDatabase()), kWriting);
        RestoreFromFlash();
    }
    EXPECT_EQ(Messages(), (std::vector<CString>{kBackedUp, kInUse}));
    ExpectLiveDatabase(11);
}

// The copy is of the database the terminal works on, also when another
// program's read keeps the latest users in the log.
TEST_F(DatabaseCopiesTest, ABackupWhileAnotherProgramReadsHoldsEveryUser) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    OtherProgram reader(root.HostPath(LiveDatabase()), kReading);
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

}  // namespace database_copies_test
