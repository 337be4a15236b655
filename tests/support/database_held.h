// Another program's connection to a database file, holding it while the
// terminal works: a write lock ("BEGIN IMMEDIATE"), or the whole file
// ("PRAGMA locking_mode=EXCLUSIVE" and a write). Header only: the tests
// that use it link SQLite with the application.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>

class DatabaseHeldByAnotherProgram {
public:
    // `hold` runs on a connection of its own, which keeps what it took
    // until Release (or the end of this object).
    DatabaseHeldByAnotherProgram(const std::string& hostPath, const char* hold) {
        EXPECT_EQ(sqlite3_open_v2(hostPath.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK) << hostPath;
        EXPECT_EQ(sqlite3_exec(m_db, hold, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
    }
    ~DatabaseHeldByAnotherProgram() {
        if (m_releaser.joinable()) m_releaser.join();
        Release();
    }
    DatabaseHeldByAnotherProgram(const DatabaseHeldByAnotherProgram&) = delete;
    DatabaseHeldByAnotherProgram& operator=(const DatabaseHeldByAnotherProgram&) = delete;

    // What was taken goes back, nothing of it kept.
    void Release() {
        if (!m_db) return;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    // The same, from a thread of its own, `ms` milliseconds from now.
    void ReleaseAfter(int ms) {
        m_releaser = std::thread([this, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            Release();
        });
    }

private:
    sqlite3* m_db = nullptr;
    std::thread m_releaser;
};
