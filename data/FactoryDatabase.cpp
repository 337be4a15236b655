#include "data/FactoryDatabase.h"

#include <sqlite3.h>

#include <string>

#include "data/FileConnection.h"
#include "platform/base/device_fs.h"

namespace {

int CountTables(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    int tables = -1;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        tables = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return tables;
}

}  // namespace

bool CreateFactoryDatabase(LPCWSTR devicePath) {
    const std::string host = DeviceToHostPath(devicePath);
    const CFileConnection connection(host, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3* db = connection.Handle();
    bool created = false;
    if (db && CountTables(db) == 0) {
        const std::string script = std::string("BEGIN;\n") + FactorySchemaSql() + "\nCOMMIT;";
        created = sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!created) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        // Delivered in the mode the terminal runs it in (see CDbSqlite);
        // closing folds the log back into the file and removes it.
        if (created) sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    }
    return created;
}
