// Users added to a database and left in its write-ahead log (the format
// the database is put in when it is in the other), as on a terminal in use
// between two checkpoints, written by a connection of another program. Header only: the tests that use it link
// SQLite with the application.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

// `count` users from the ID `first` on, each with a name of 200 letters,
// and the user count of the settings table brought up to date.
inline void AddUsersToTheLog(const std::string& hostPath, int first, int count) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(hostPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK) << hostPath;
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_busy_timeout(db, 5000);
    const std::string sql = "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; WITH RECURSIVE n(i) AS (SELECT " + std::to_string(first) +
                            " UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(first + count - 1) +
                            ") INSERT INTO Userinfo SELECT i, '', printf('%.200c', 'n'), '0', '', 0, 6, '', 0, '', 1, 0 "
                            "FROM n; UPDATE BasePara SET UserCount = (SELECT count(*) FROM Userinfo)";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    ASSERT_GT(std::filesystem::file_size(hostPath + "-wal"), 0u) << "the users are not in the log";
}
