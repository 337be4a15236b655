// What the power-cut tests of the terminal share: a device folder laid anew
// from the factory image for each round, the terminal's start on it (a
// headless start that quits at once), and a number read from its database.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/device_root.h"

class TerminalFolder {
public:
    TerminalFolder() { std::ofstream(m_script) << "quit\n"; }
    ~TerminalFolder() { std::filesystem::remove(m_script); }

    const std::string& Host() const { return root.Host(); }
    std::string HostPath(const std::string& relative) const { return root.HostPath(relative); }
    void LayFactoryImage() const {
        std::filesystem::remove_all(root.Host());
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
    }
    std::vector<std::string> Start() const {
        return {QUILLON_PROGRAM, "--root", root.Host(), "--headless", "--script", m_script};
    }
    // The first column of the first row of `sql` on the terminal's database; -1 when none.
    int Query(const char* sql) const { return QueryDatabase(root.HostPath("NandFlash/zeta42/DB/KD4700.DB"), sql); }

    // The same on any database file.
    static int QueryDatabase(const std::string& database, const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_stmt* statement = nullptr;
        int value = -1;
        if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }

private:
    ScopedDeviceRoot root;
    std::string m_script = root.Host() + ".script";
};
