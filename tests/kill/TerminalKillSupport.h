// What the power-cut tests of the terminal share: a device folder laid anew
// from the factory image for each round, the terminal's start on it (a
// headless start that quits at once), a number read from its database, and
// the kill window fitted to a timed run.
#pragma once

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/device_root.h"
#include "tests/support/kill_harness.h"

class TerminalFolder {
public:
    TerminalFolder() { std::ofstream(m_script) << "quit\n"; }
    ~TerminalFolder() { std::filesystem::remove(m_script); }

    const std::string& Host() const { return root.Host(); }
    std::string HostPath(const std::string& relative) const { return root.HostPath(relative); }
    std::string Read(const std::string& relative) const { return root.ReadFile(relative); }
    void LayFactoryImage() const {
        std::filesystem::remove_all(root.Host());
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
    }
    std::vector<std::string> Start() const {
        return {QUILLON_PROGRAM, "--root", root.Host(), "--headless", "--script", m_script};
    }
    // The first column of the first row of `sql` on the terminal's database; -1 when none.
    int Query(const char* sql) const { return QueryDatabase(root.HostPath("NandFlash/zeta42/DB/KD4700.DB"), sql); }

    // The same as text: "" when none.
    std::string Text(const char* sql) const {
        std::string text;
        FirstColumn(root.HostPath("NandFlash/zeta42/DB/KD4700.DB"), sql, [&](sqlite3_stmt* row) {
            if (const unsigned char* value = sqlite3_column_text(row, 0)) text = reinterpret_cast<const char*>(value);
        });
        return text;
    }

    // The same on any database file.
    static int QueryDatabase(const std::string& database, const char* sql) {
        int value = -1;
        FirstColumn(database, sql, [&](sqlite3_stmt* row) { value = sqlite3_column_int(row, 0); });
        return value;
    }

private:
    // Calls `read` on the first row of `sql`, when there is one.
    template <class Read>
    static void FirstColumn(const std::string& database, const char* sql, Read read) {
        sqlite3* db = nullptr;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            read(statement);
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }

    ScopedDeviceRoot root;
    std::string m_script = root.Host() + ".script";
};

// Kills drawn over a little more than one whole run, timed here: the
// sanitizer build runs some three times slower, and the kills must fall
// before, during and after the writes in both.
inline void FitWindow(KillPlan& plan) {
    plan.prepare(0);
    std::string command;
    for (const std::string& arg : plan.command) command += "'" + arg + "' ";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(std::system((command + ">/dev/null 2>&1").c_str()), 0) << "the run timed to fit the window failed";
    const auto run = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    plan.window = KillWindowFor(run);
}
