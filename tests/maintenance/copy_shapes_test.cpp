// Copies another program wrote in another shape: pages of another size (an
// older SQLite's 1024 bytes, a PC tool's VACUUM to 8192 or 65536) are
// restored with their users; texts in another encoding are refused with
// their reason before anything is touched.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "tests/maintenance/DatabaseCopiesTest.h"

// Named: the sources of a test program are compiled together.
namespace copy_shapes_test {

void RunSql(sqlite3* db, const std::string& sql) {
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql << ": " << sqlite3_errmsg(db);
}

int PageSizeOf(const std::string& hostPath) {
    sqlite3* db = nullptr;
    sqlite3_stmt* row = nullptr;
    int pageSize = 0;
    if (sqlite3_open_v2(hostPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "pragma page_size", -1, &row, nullptr) == SQLITE_OK && sqlite3_step(row) == SQLITE_ROW)
        pageSize = sqlite3_column_int(row, 0);
    sqlite3_finalize(row);
    sqlite3_close(db);
    return pageSize;
}

TEST_F(DatabaseCopiesTest, CopiesOfOtherPageSizesRestoreWithTheirUsers) {
    const std::string copy = root.HostPath(kFlashBackup);
    for (const int pageSize : {1024, 8192, 65536}) {
        SCOPED_TRACE(pageSize);
        AddUsersToTheLog(pageSize, 30);
        BackUpToFlash();
        const int users = Users();
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        RunSql(db, "PRAGMA journal_mode = DELETE; PRAGMA page_size = " + std::to_string(pageSize) + "; VACUUM");
        sqlite3_close(db);
        ASSERT_EQ(PageSizeOf(copy), pageSize);
        ASSERT_TRUE(g_pDatabase->DirectStatement(u"DELETE FROM Userinfo"));
        RestoreFromFlash();
        EXPECT_EQ(Messages().back(), kRestored);
        EXPECT_EQ(Users(), users);
        EXPECT_EQ(Integrity(), u"ok");
        EXPECT_EQ(QueryInt(*g_pDatabase, u"pragma page_size"), 4096);
    }
}

// A copy a PC tool wrote in UTF-16, with the terminal's schema and users.
void WriteUtf16Copy(const std::string& live, const std::string& copy) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    RunSql(db, "PRAGMA encoding = 'UTF-16le'");
    sqlite3* from = nullptr;
    ASSERT_EQ(sqlite3_open_v2(live.c_str(), &from, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* row = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(from, "select sql from sqlite_master where sql not null", -1, &row, nullptr),
              SQLITE_OK);
    while (sqlite3_step(row) == SQLITE_ROW) RunSql(db, reinterpret_cast<const char*>(sqlite3_column_text(row, 0)));
    sqlite3_finalize(row);
    sqlite3_close(from);
    RunSql(db, "INSERT INTO Userinfo VALUES ('77','','Utf','0','',0,6,'',0,'',1,0)");
    sqlite3_close(db);
}

TEST_F(DatabaseCopiesTest, ACopyInAnotherTextEncodingIsRefusedWithItsReasonAndNoFailureBox) {
    AddUsersToTheLog(1000, 20);
    WriteUtf16Copy(root.HostPath(LiveDatabase()), root.HostPath(kFlashBackup));
    RestoreFromFlash();
    EXPECT_EQ(Messages(), std::vector<CString>{u"That backup stores its texts in another encoding: it cannot be "
                                               u"restored. The database is unchanged."});
    ExpectLiveDatabase(20);
}

}  // namespace copy_shapes_test
