// The backup and restore pages: a copy byte for byte with the database
// usable after, a restore from a changed copy with everything the program
// keeps in memory taken again and the restart asked for, and the refusals
// that leave everything as it was.
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "platform/base/debug.h"
#include "tests/maintenance/DatabasePageTest.h"
#include "transfer/CPTreeBackupDatabase.h"
#include "transfer/CPTreeRecord.h"
#include "transfer/CPTreeRestoreDatabase.h"
#include "tests/maintenance/RecordPageDates.h"
#include "users/UserFormPage.h"

namespace {

const char* const kFlashCopy = "NandFlash/KD4700.DB";

bool HasFile(const ScopedDeviceRoot& root, const std::string& relative) {
    return std::filesystem::exists(root.HostPath(relative));
}

// Every row of every table, as text: what the terminal reads of a
// database, whatever its pages look like after it wrote the same
// values back (the user count) and checkpointed them.
std::string Content(const std::string& hostPath) {
    sqlite3* db = nullptr;
    std::string text;
    if (sqlite3_open_v2(hostPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        const auto rows = [](void* out, int columns, char** values, char**) {
            for (int i = 0; i < columns; ++i) *static_cast<std::string*>(out) += values[i] ? values[i] : "NULL";
            *static_cast<std::string*>(out) += "\n";
            return 0;
        };
        std::string tables;
        sqlite3_exec(db, "select name from sqlite_master where type='table' order by name", rows, &tables, nullptr);
        size_t start = 0;
        for (size_t end = tables.find('\n'); end != std::string::npos; start = end + 1, end = tables.find('\n', start)) {
            const std::string sql = "select * from " + tables.substr(start, end - start) + " order by rowid";
            text += tables.substr(start, end - start) + ":\n";
            sqlite3_exec(db, sql.c_str(), rows, &text, nullptr);
        }
    }
    sqlite3_close(db);
    return text;
}

class BackupPageTest : public DatabasePageTest {};

TEST_F(BackupPageTest, FlashCopyHoldsTheLiveDatabase) {
    AddUser(u"7", u"1234", 1);
    std::string live, copy;
    OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER", "call"}), {[&] {
               live = Content(root.HostPath(LiveDatabase()));
               copy = Content(root.HostPath(kFlashCopy));
               EXPECT_TRUE(g_pDatabase->IsOpen());
           }});
    EXPECT_NE(live.find("Userinfo:\n7"), std::string::npos);
    EXPECT_EQ(live, copy) << "the copy differs from the live database";
    EXPECT_EQ(Messages(), std::vector<CString>{u"Backup done!"});
    // The database is in use again.
    AddUser(u"8", u"", 0);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select count(*) from Userinfo"), 2);
    for (const auto& entry : std::filesystem::directory_iterator(root.HostPath("NandFlash")))
        EXPECT_EQ(entry.path().filename().string().find(".~tmp"), std::string::npos) << "a temporary file stayed";
}

TEST_F(BackupPageTest, TheCopyHoldsEveryWriteThoughAReadWasLeftBetweenRows) {
    AddUser(u"7", u"", 0);
    StatementPtr reading(g_pDatabase->Statement(u"select Userid from Userinfo"));
    ASSERT_TRUE(reading->NextRow());
    AddUser(u"8", u"", 0);
    OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Backup done!"});
    // The copy alone, where no log of it lies.
    const std::string alone = root.HostPath("alone.DB");
    std::filesystem::copy_file(root.HostPath(kFlashCopy), alone);
    sqlite3* copy = nullptr;
    sqlite3_stmt* count = nullptr;
    ASSERT_EQ(sqlite3_open_v2(alone.c_str(), &copy, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_prepare_v2(copy, "select count(*) from Userinfo", -1, &count, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 2);
    sqlite3_finalize(count);
    sqlite3_close(copy);
}

TEST_F(BackupPageTest, NoUsbDiskTouchesNothing) {
    OnPage(kBackupNode, Choose(0, {"answer ok", "key ENTER"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Folder not found. Is the medium inserted?"});
    EXPECT_TRUE(g_pDatabase->IsOpen());
}

TEST_F(BackupPageTest, UsbDiskCopyAndAFailedCopyThatLeavesNoPart) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    OnPage(kBackupNode, Choose(0, {"answer ok", "key ENTER"}));
    EXPECT_EQ(Content(root.HostPath("USB Disk/KD4700.DB")), Content(root.HostPath(LiveDatabase())));
    // A folder where the copy should go: the copy cannot take its place.
    std::filesystem::create_directories(root.HostPath("NandFlash/KD4700.DB"));
    OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER"}));
    const std::vector<CString> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"Backup done!");
    EXPECT_NE(messages[1], u"Backup done!") << "a failed copy is reported as its cause";
    EXPECT_TRUE(std::filesystem::is_directory(root.HostPath(kFlashCopy)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.HostPath("NandFlash")),
                            std::filesystem::directory_iterator{}),
              2) << "only zeta42 and the folder in the way";
    EXPECT_TRUE(g_pDatabase->IsOpen());
    EXPECT_EQ(controller.State().restarts, 0);
}

// Which control of the shown page has the focus.
int FocusedId() {
    const CWnd* focus = CWnd::GetFocus();
    return focus ? focus->GetDlgCtrlID() : 0;
}

// Enter on the button goes on to the next control after the backup; a tap
// on the button leaves the focus on it.
TEST_F(BackupPageTest, EnterMovesTheFocusOnAfterTheBackupATapLeavesItOnTheButton) {
    std::vector<int> focused;
    const auto note = [&] { focused.push_back(FocusedId()); };
    OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER", "call", "call", "answer ok", "tap 276 42", "call"}),
           {note,
            [] {
                CRect button;
                ShownPage<CCPTreeBackupDatabase>()->GetDlgItem(CCPTreeBackupDatabase::IDC_BACKUP)->GetWindowRect(&button);
                ASSERT_TRUE(button.PtInRect(CPoint(276, 42))) << "the tap misses the button";
            },
            note});
    EXPECT_EQ(Messages(), std::vector<CString>(2, u"Backup done!"));
    EXPECT_EQ(focused, (std::vector<int>{CCPTreeBackupDatabase::IDC_STORAGE, CCPTreeBackupDatabase::IDC_BACKUP}));
}

// A finished backup leaves the flash chosen and the bar full; the next
// visit starts again from the USB disk and an empty bar.
TEST_F(BackupPageTest, EnteringAgainResetsTheChoiceAndTheBar) {
    std::vector<std::pair<int, UINT>> seen;
    const auto note = [&] {
        CCPTreeBackupDatabase* page = ShownPage<CCPTreeBackupDatabase>();
        seen.emplace_back(page->StorageChoice(), page->ProgressBar().GetPos());
    };
    OnPage(kBackupNode, Choose(1, {"answer ok", "key ENTER", "call"}), {note});
    OnPage(kBackupNode, {"call"}, {note});
    EXPECT_EQ(seen, (std::vector<std::pair<int, UINT>>{{1, 100u}, {0, 0u}}));
}

class RestorePageTest : public DatabasePageTest {
protected:
    // A backup on the flash root that differs from the live database: a
    // user with a finger, three records, zone 1 opened at 07:30 and
    // access group 3.
    void PutChangedCopy() {
        // Closed, the live file holds everything.
        g_pDatabase->Close();
        std::filesystem::copy_file(root.HostPath(LiveDatabase()), root.HostPath(kFlashCopy));
        ASSERT_TRUE(g_pDatabase->Open(u"\\NandFlash\\zeta42\\DB\\KD4700.DB"));
        CDbSqlite copy;
        ASSERT_TRUE(copy.Open(u"\\NandFlash\\KD4700.DB"));
        ASSERT_TRUE(copy.DirectStatement(u"INSERT INTO Userinfo VALUES ('42','','Restored','0','',0,6,'',0,'',3,1)"));
        StatementPtr finger = PrepareBound(copy, u"INSERT INTO FPinfo VALUES (0,'42',?)");
        const std::vector<BYTE> blob(StoredTemplateSize, 0x5A);
        ASSERT_TRUE(finger->BindBlob(0, blob.data(), static_cast<int>(blob.size())));
        ASSERT_TRUE(finger->Execute());
        for (int i = 1; i <= 3; ++i) {
            CString sql;
            sql.Format(u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
                       u"VALUES (%d, '42', '2014-09-01 08:0%d:00', 0, 0, 0)",
                       i, i);
            ASSERT_TRUE(copy.DirectStatement(sql));
        }
        ASSERT_TRUE(copy.DirectStatement(
            u"update BasePara set UserCount=1, AllRecordcount=3, NewRecordcount=1, AllRecordBeginRowid=1"));
        ASSERT_TRUE(copy.DirectStatement(u"update OpenDoorSpace set MonStart='07:30' where SpaceID=1"));
        ASSERT_TRUE(copy.DirectStatement(u"INSERT INTO SpaceGroup VALUES (3, 1, 2, 0, 0)"));
        copy.Close();
    }
    // The same copy, then changed by `sql`.
    void PutChangedCopy(const char* sql) {
        ASSERT_NO_FATAL_FAILURE(PutChangedCopy());
        sqlite3* copy = nullptr;
        ASSERT_EQ(sqlite3_open(root.HostPath(kFlashCopy).c_str(), &copy), SQLITE_OK);
        const int changed = sqlite3_exec(copy, sql, nullptr, nullptr, nullptr);
        sqlite3_close(copy);
        ASSERT_EQ(changed, SQLITE_OK);
    }
};

TEST_F(RestorePageTest, ChangedCopyTakesThePlaceOfTheLiveDatabase) {
    PutChangedCopy();
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
    EXPECT_EQ(Content(root.HostPath(LiveDatabase())), Content(root.HostPath(kFlashCopy)))
        << "the live database is not the copy";
    EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.bak"));
    EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.old"));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Database restored. The terminal restarts now!"});

    EXPECT_EQ(g_pUserStorage->GetCount(), 1);
    EXPECT_EQ(g_pFPTemplateStore->GetCount(), 1);
    EXPECT_EQ(g_pRecordStore->GetAllRecordcount(), 3u);
    EXPECT_EQ(g_pRecordStore->GetNewRecordcount(), 1u);
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(1, zone));
    EXPECT_EQ(zone.MonStart, u"07:30");
    AccessGroupEntry group;
    ASSERT_TRUE(g_MachineConfig.AccessGroupTable.Get(3, group));
    EXPECT_EQ(group.SecondSpace, 2);

    EXPECT_EQ(controller.State().restarts, 1);
    const auto frames = ControllerFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].first.substr(0, 11), "F8 01 01 F8");
    const auto boxes = JournalRead(kJournalMessageBox);
    ASSERT_FALSE(boxes.empty());
    EXPECT_GE(frames[0].second, boxes.back().clockMs + 500) << "the restart comes 500 ms after the box";
}

TEST_F(RestorePageTest, NonDatabaseFileIsRefusedWithEverythingUntouched) {
    root.PutFile(kFlashCopy, std::string(8192, 'x'));
    const std::string live = FileBytes(LiveDatabase());
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"That file is no database backup of this terminal!"});
    EXPECT_TRUE(FileBytes(LiveDatabase()) == live);
    EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.bak"));
    EXPECT_TRUE(g_pDatabase->IsOpen());
    EXPECT_EQ(controller.State().restarts, 0);
}

TEST_F(RestorePageTest, APipeOrALinkInPlaceOfTheCopyIsRefused) {
    PutChangedCopy();
    std::filesystem::rename(root.HostPath(kFlashCopy), root.HostPath("NandFlash/Elsewhere.DB"));
    // A pipe would keep the page waiting for a writer for ever.
    ASSERT_EQ(mkfifo(root.HostPath(kFlashCopy).c_str(), 0600), 0);
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
    std::filesystem::remove(root.HostPath(kFlashCopy));
    std::filesystem::create_symlink(root.HostPath("NandFlash/Elsewhere.DB"), root.HostPath(kFlashCopy));
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
    EXPECT_EQ(Messages(), std::vector<CString>(2, u"That file is no database backup of this terminal!"));
    EXPECT_EQ(g_pUserStorage->GetCount(), 0);
    EXPECT_EQ(controller.State().restarts, 0);
}

TEST_F(RestorePageTest, ForeignDatabaseAndMissingFilesAreRefused) {
    std::filesystem::create_directories(root.HostPath("USB Disk"));
    {
        CDbSqlite foreign;
        ASSERT_TRUE(foreign.Open(u"\\USB Disk\\KD4700.DB"));
        ASSERT_TRUE(foreign.DirectStatement(u"create table Userinfo (userid nvarchar(20))"));
    }
    const std::string live = FileBytes(LiveDatabase());
    OnPage(kRestoreNode, Choose(0, {"answer ok", "key ENTER", "key UP", "key RIGHT", "key RIGHT", "key DOWN",
                                    "answer ok", "key ENTER", "wait 600"}));
    const std::vector<CString> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"That file is no database backup of this terminal!");
    EXPECT_EQ(messages[1], u"Folder not found. Is the medium inserted?") << "no SD card";
    EXPECT_TRUE(FileBytes(LiveDatabase()) == live);
    EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.bak"));
    EXPECT_EQ(controller.State().restarts, 0);
}

// Copies of the live database that pass the integrity check and carry the
// factory's column names, each changed by one statement into a database the
// terminal's writes would not work on as they should.
struct HostileCopy {
    const char* name;
    const char* sql;
};

const HostileCopy kHostileCopies[] = {
    {"TriggerThatDeletesUsersOnInsert",
     "CREATE TRIGGER Halve AFTER INSERT ON Userinfo BEGIN DELETE FROM Userinfo WHERE rowid % 2 = 0; END"},
    {"TriggerOnTheCounters", "CREATE TRIGGER Stop BEFORE UPDATE ON BasePara BEGIN SELECT RAISE(ABORT, 'no'); END"},
    {"ViewInPlaceOfTheUserTable",
     "DROP TABLE Userinfo; CREATE VIEW Userinfo AS SELECT '' userid, '' CardNo, '' Name, '' sex, '' pwd, 0 Deptid, "
     "0 ACFlag, '' IConPath, 0 AdminFlag, '' Birthday, 0 GroupNO, 0 FPFlag"},
    {"UserIdAsTheRowKey",
     "DROP TABLE Userinfo; CREATE TABLE Userinfo (userid INTEGER PRIMARY KEY, CardNo nvarchar(20), Name nvarchar(24), "
     "sex nvarchar(8), pwd nvarchar(8), Deptid INTEGER, ACFlag INTEGER, IConPath nvarchar(128), AdminFlag INTEGER, "
     "Birthday nvarchar(20), GroupNO INTEGER, FPFlag INTEGER)"},
    {"CheckOnTheGroup",
     "DROP TABLE Userinfo; CREATE TABLE Userinfo (userid nvarchar(20), CardNo nvarchar(20), Name nvarchar(24), "
     "sex nvarchar(8), pwd nvarchar(8), Deptid INTEGER, ACFlag INTEGER, IConPath nvarchar(128), AdminFlag INTEGER, "
     "Birthday nvarchar(20), GroupNO INTEGER CHECK (GroupNO < 2), FPFlag INTEGER)"},
    {"ColumnOfAnotherType", "DROP TABLE FPinfo; CREATE TABLE FPinfo (fingerNO INTEGER, UserID nvarchar(20), FPTemplate TEXT)"},
    {"ColumnAdded", "ALTER TABLE Userinfo ADD COLUMN Extra INTEGER"},
    {"TableOfSomeoneElse", "CREATE TABLE Spare (x)"},
    {"IndexOfSomeoneElse", "CREATE UNIQUE INDEX UserinfoName ON Userinfo (Name)"},
    {"PartialUniqueIndexOfSomeoneElse", "CREATE UNIQUE INDEX UserinfoCard ON Userinfo (CardNo) WHERE CardNo != ''"},
    {"StatisticsTableOfAnotherShape",
     "PRAGMA writable_schema=ON; CREATE TABLE sqlite_stat1(tbl, idx, stat, extra); PRAGMA writable_schema=OFF"},
    {"StatisticsOfAnOlderSqlite",
     "PRAGMA writable_schema=ON; CREATE TABLE sqlite_stat3(tbl, idx, neq, nlt, ndlt, sample); "
     "PRAGMA writable_schema=OFF"},
    {"IndexOnATableOfSomeoneElse", "CREATE TABLE Spare (x); CREATE INDEX SpareX ON Spare (x)"},
    {"TemplateBlobOf100Bytes", "INSERT INTO FPinfo VALUES (0, '42', zeroblob(100))"},
    {"TemplateStoredAsText", "INSERT INTO FPinfo VALUES (0, '42', 'template')"},
    // A user in the table whom the index on user IDs does not know: the
    // terminal would not find him. The index is made partial for the
    // insert and given its definition back.
    {"UserMissingFromTheUserIndex",
     "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql='CREATE INDEX UserinfoUserid ON Userinfo (userid) "
     "WHERE userid != ''43''' WHERE name='UserinfoUserid'; PRAGMA writable_schema=RESET; "
     "INSERT INTO Userinfo VALUES ('43','','Hidden','0','',0,6,'',0,'',0,0); PRAGMA writable_schema=ON; "
     "UPDATE sqlite_master SET sql='CREATE INDEX UserinfoUserid ON Userinfo (userid)' WHERE name='UserinfoUserid'; "
     "PRAGMA writable_schema=RESET"},
};

// Texts longer than their columns declare: SQLite keeps them whole, the
// terminal's own pages store such names, and where a text goes into a
// place of fixed size that place cuts it.
const HostileCopy kLongTextCopies[] = {
    {"NameOf32000Characters", "UPDATE Userinfo SET Name = printf('%.32000c', 'n') WHERE userid = '42'"},
    {"CardOf21Digits", "UPDATE Userinfo SET CardNo = '123456789012345678901' WHERE userid = '42'"},
    {"StatusNameOf25Characters", "UPDATE StatusBase SET StatuName = printf('%.25c', 's') WHERE ID = 0"},
    {"DepartmentNameOf300Characters",
     "INSERT INTO Dept VALUES (2, printf('%.300c', 'd'), 1, 0); UPDATE Userinfo SET Deptid = 2 WHERE userid = '42'"},
};

class HostileRestoreTest : public RestorePageTest, public ::testing::WithParamInterface<HostileCopy> {};

TEST_P(HostileRestoreTest, IsRefusedWithEverythingUntouched) {
    ASSERT_NO_FATAL_FAILURE(PutChangedCopy(GetParam().sql)) << GetParam().name;
    const std::string live = FileBytes(LiveDatabase());
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"That file is no database backup of this terminal!"});
    EXPECT_TRUE(FileBytes(LiveDatabase()) == live) << "the live database changed";
    EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.bak"));
    EXPECT_EQ(g_pUserStorage->GetCount(), 0);
    EXPECT_EQ(controller.State().restarts, 0);
}

INSTANTIATE_TEST_SUITE_P(Copies, HostileRestoreTest, ::testing::ValuesIn(kHostileCopies),
                         [](const auto& info) { return std::string(info.param.name); });

class LongTextRestoreTest : public RestorePageTest, public ::testing::WithParamInterface<HostileCopy> {};

// Taken, and then shown on the records list and the user's page and
// exported, however long the text.
TEST_P(LongTextRestoreTest, IsTakenShownAndExported) {
    ASSERT_NO_FATAL_FAILURE(PutChangedCopy(GetParam().sql)) << GetParam().name;
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Database restored. The terminal restarts now!"});
    EXPECT_EQ(Content(root.HostPath(LiveDatabase())), Content(root.HostPath(kFlashCopy)));
    EXPECT_EQ(g_pUserStorage->GetCount(), 1);
    EXPECT_EQ(controller.State().restarts, 1);

    StatementPtr stored(g_pDatabase->Statement(u"select Name from Userinfo where userid = '42'"));
    ASSERT_TRUE(stored->NextRow());
    const CString name = stored->ValueString(0);
    std::vector<CString> listed;
    CString shownName;
    OnPage(131, {"call", "key F1", "call"}, {[] { SetSeptember2014Dates(ShownPage<CCPTreeRecord>(), 1, 1); },
                                             [&] {
                                                 const CSkinListCtrl& list = ShownPage<CCPTreeRecord>()->List();
                                                 for (int row = 0; row < list.GetItemCount(); ++row)
                                                     listed.push_back(list.GetItemText(row, 1));
                                             }});
    // The list hands its cells out through a buffer of its own size: a
    // longer name comes back as its start.
    ASSERT_EQ(listed.size(), 3u);
    for (const CString& cell : listed) {
        EXPECT_FALSE(cell.IsEmpty());
        EXPECT_EQ(cell, name.Left(cell.GetLength()));
    }
    OnPage(122, {"key 4", "key 2", "key ENTER", "call"}, {[&] {
               CControlPanel::Open()->ShownPage()->GetDlgItem(IDC_USER_NAME)->GetWindowText(shownName);
           }});
    EXPECT_EQ(shownName, name);
    OnPage(1331, {"key DOWN", "answer yes", "answer ok", "key ENTER", "wait 100"});
    EXPECT_EQ(Messages().back(), u"Export done");
}

INSTANTIATE_TEST_SUITE_P(Copies, LongTextRestoreTest, ::testing::ValuesIn(kLongTextCopies),
                         [](const auto& info) { return std::string(info.param.name); });

// A journal or a write-ahead log beside the copy holds part of it: the file
// alone may be a transaction cut in two. Nothing is copied or changed.
TEST_F(RestorePageTest, ACopyWithAJournalOrALogBesideItIsRefused) {
    PutChangedCopy();
    const std::string live = FileBytes(LiveDatabase());
    std::vector<CString> told;
    for (const char* beside : {"-journal", "-wal"}) {
        root.PutFile(std::string(kFlashCopy) + beside, std::string(4096, 'j'));
        OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
        std::filesystem::remove(root.HostPath(std::string(kFlashCopy) + beside));
        told.push_back(u"A journal file lies beside that backup: it may be incomplete. The database is unchanged.");
        EXPECT_EQ(Messages(), told) << beside;
        EXPECT_TRUE(FileBytes(LiveDatabase()) == live) << beside;
        EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.bak")) << beside;
        EXPECT_TRUE(g_pDatabase->IsOpen()) << beside;
        EXPECT_EQ(g_pUserStorage->GetCount(), 0) << beside;
        EXPECT_EQ(controller.State().restarts, 0) << beside;
    }
}

TEST_F(RestorePageTest, CopyWithoutWhatStartUpAddsIsTaken) {
    // A file from a terminal that had not yet made them.
    ASSERT_NO_FATAL_FAILURE(
        PutChangedCopy("DROP TABLE IF EXISTS AtuoFN; DROP INDEX CheckinoutUserid; DROP INDEX CheckinoutTypeTime"));
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Database restored. The terminal restarts now!"});
    EXPECT_EQ(g_pUserStorage->GetCount(), 1);
    EXPECT_EQ(controller.State().restarts, 1);
}

// What a PC tool adds to a copy without harm: SQLite's statistics of an
// ANALYZE, and indexes that constrain nothing. The copy is taken, and what
// was added is gone from the live database.
const HostileCopy kAnalysedOrIndexedCopies[] = {
    {"Analysed", "ANALYZE"},
    {"AnalysedWithSamples",
     "ANALYZE; PRAGMA writable_schema=ON; CREATE TABLE sqlite_stat4(tbl, idx, neq, nlt, ndlt, sample); "
     "PRAGMA writable_schema=OFF"},
    {"IndexAdded", "CREATE INDEX UserinfoName ON Userinfo (Name); ANALYZE"},
    {"PartialIndexAdded", "CREATE INDEX \"Named \"\"users\"\"\" ON Userinfo (Name) WHERE Name != ''"},
};

class AnalysedOrIndexedRestoreTest : public RestorePageTest, public ::testing::WithParamInterface<HostileCopy> {};

TEST_P(AnalysedOrIndexedRestoreTest, IsTakenWithoutWhatWasAdded) {
    ASSERT_NO_FATAL_FAILURE(PutChangedCopy(GetParam().sql)) << GetParam().name;
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Database restored. The terminal restarts now!"});
    EXPECT_EQ(g_pUserStorage->GetCount(), 1);
    EXPECT_EQ(controller.State().restarts, 1);
    EXPECT_EQ(QueryInt(*g_pDatabase, u"select count(*) from sqlite_master where name like 'sqlite_stat%' or name in "
                                     u"('UserinfoName', 'Named \"users\"')"),
              0);
    EXPECT_FALSE(HasFile(root, "NandFlash/zeta42/DB/KD4700.DB.bak"));
}

INSTANTIATE_TEST_SUITE_P(Copies, AnalysedOrIndexedRestoreTest, ::testing::ValuesIn(kAnalysedOrIndexedCopies),
                         [](const auto& info) { return std::string(info.param.name); });

// An index on an expression refuses a write whose value its function
// cannot take (here a name that reads as the smallest integer, whose
// absolute value overflows): dropped with the restore, it refuses nothing.
TEST_F(RestorePageTest, AnIndexAddedOnAnExpressionRefusesNoWriteAfterTheRestore) {
    ASSERT_NO_FATAL_FAILURE(PutChangedCopy("CREATE INDEX NameNumber ON Userinfo (abs(CAST(Name AS INTEGER)))"));
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"Database restored. The terminal restarts now!"});
    EXPECT_TRUE(g_pDatabase->DirectStatement(
        u"INSERT INTO Userinfo VALUES ('43','','-9223372036854775808','0','',0,6,'',0,'',0,0)"));
}

// An empty journal or log beside the copy holds nothing (SQLite takes it
// so): the copy is taken.
TEST_F(RestorePageTest, ACopyWithAnEmptyJournalOrLogBesideItIsTaken) {
    PutChangedCopy();
    int restarts = 0;
    for (const char* beside : {"-journal", "-wal"}) {
        root.PutFile(std::string(kFlashCopy) + beside, "");
        OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 100"}));
        std::filesystem::remove(root.HostPath(std::string(kFlashCopy) + beside));
        EXPECT_EQ(Messages().back(), u"Database restored. The terminal restarts now!") << beside;
        EXPECT_EQ(g_pUserStorage->GetCount(), 1) << beside;
        EXPECT_EQ(controller.State().restarts, ++restarts) << beside;
    }
}

// Beside the copy, a link (even to an empty file) or something that is no
// plain file is not taken for an empty journal.
TEST_F(RestorePageTest, ALinkOrAFolderInPlaceOfAJournalIsRefused) {
    PutChangedCopy();
    const std::string live = FileBytes(LiveDatabase());
    root.PutFile("NandFlash/empty", "");
    std::filesystem::create_symlink(root.HostPath("NandFlash/empty"), root.HostPath(std::string(kFlashCopy) + "-wal"));
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
    std::filesystem::remove(root.HostPath(std::string(kFlashCopy) + "-wal"));
    std::filesystem::create_directories(root.HostPath(std::string(kFlashCopy) + "-journal"));
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER", "wait 600"}));
    EXPECT_EQ(Messages(), std::vector<CString>(2, u"A journal file lies beside that backup: it may be incomplete. The "
                                                  u"database is unchanged."));
    EXPECT_TRUE(FileBytes(LiveDatabase()) == live);
    EXPECT_EQ(g_pUserStorage->GetCount(), 0);
    EXPECT_EQ(controller.State().restarts, 0);
}

// Enter on the storage choice only moves on to the button; Enter there
// restores, and a missing medium leaves the focus where it was.
TEST_F(RestorePageTest, EnterOnTheChoiceMovesOnAndEnterOnTheButtonRestores) {
    std::vector<int> focused;
    const auto note = [&] { focused.push_back(FocusedId()); };
    OnPage(kRestoreNode, {"wait 600", "key ENTER", "call", "answer ok", "key ENTER", "call"}, {note, note});
    EXPECT_EQ(Messages(), std::vector<CString>{u"Folder not found. Is the medium inserted?"});
    EXPECT_EQ(focused, (std::vector<int>{CCPTreeRestoreDatabase::IDC_RESTORE, CCPTreeRestoreDatabase::IDC_RESTORE}));
    EXPECT_EQ(controller.State().restarts, 0);
}

TEST_F(RestorePageTest, NoFileOnTheFlashRoot) {
    OnPage(kRestoreNode, Choose(1, {"answer ok", "key ENTER"}));
    EXPECT_EQ(Messages(), std::vector<CString>{u"No backup file found there!"});
    EXPECT_TRUE(g_pDatabase->IsOpen());
}

}  // namespace

namespace {

class MaintenancePageLooks : public DatabasePageTest {};

TEST_F(MaintenancePageLooks, BackupPageGolden) {
    OnPage(kBackupNode, {"golden transfer_backup"});
    EXPECT_TRUE(golden);
}

TEST_F(MaintenancePageLooks, RestorePageGolden) {
    OnPage(kRestoreNode, {"golden transfer_restore"});
    EXPECT_TRUE(golden);
}

}  // namespace
