#include "data/DatabaseCheck.h"

#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/FactoryDatabase.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/handle.h"

namespace {

constexpr char kHeader[] = "SQLite format 3";  // and its terminating zero

class Connection {
public:
    Connection(const std::string& hostPath, int flags) {
        if (sqlite3_open_v2(hostPath.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    explicit operator bool() const { return m_db != nullptr; }
    // Column 0 of every row.
    std::vector<std::string> Texts(const std::string& sql) const {
        std::vector<std::string> texts;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const unsigned char* text = sqlite3_column_text(stmt, 0);
                texts.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
        }
        sqlite3_finalize(stmt);
        return texts;
    }
    bool Run(const char* sql) const { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

private:
    sqlite3* m_db = nullptr;
};

std::vector<std::string> Columns(const Connection& db, const std::string& table) {
    return db.Texts("select name from pragma_table_info('" + table + "')");
}

// SQL names ignore the case of ASCII letters.
bool SameName(const std::string& a, const std::string& b) {
    return sqlite3_stricmp(a.c_str(), b.c_str()) == 0;
}

bool HasFactoryTables(const Connection& db) {
    Connection factory(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!factory || !factory.Run(FactorySchemaSql())) return false;
    for (const std::string& table : factory.Texts("select name from sqlite_master where type='table'")) {
        const std::vector<std::string> wanted = Columns(factory, table);
        const std::vector<std::string> found = Columns(db, table);
        if (found.size() < wanted.size()) return false;
        for (size_t i = 0; i < wanted.size(); ++i)
            if (!SameName(found[i], wanted[i])) return false;
    }
    return true;
}

}  // namespace

bool HasSqliteHeader(LPCWSTR devicePath) {
    HANDLE file = CreateFileW(devicePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char header[sizeof kHeader] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    return ok && read == sizeof header && std::memcmp(header, kHeader, sizeof header) == 0;
}

bool IsTerminalDatabase(LPCWSTR devicePath) {
    if (!HasSqliteHeader(devicePath)) return false;
    const Connection db(DeviceToHostPath(devicePath), SQLITE_OPEN_READWRITE);
    if (!db) return false;
    const std::vector<std::string> check = db.Texts("pragma quick_check");
    return check.size() == 1 && check[0] == "ok" && HasFactoryTables(db);
}
