#include "data/DatabaseCheck.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "data/CopyConnection.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/FileAsItStands.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/handle.h"
#include "platform/base/utf.h"

namespace {

constexpr char kHeader[] = "SQLite format 3";  // and its terminating zero
// About as many instructions per 1024 bytes of the file as the checks of a
// terminal's database run (900 per page of 4096 bytes, measured on copies
// of 13 MB and of 1 GB).
constexpr ULONGLONG kInstructionsPerKiB = 225;

// SQL text as SQLite reads it: letters in one case, white space only where
// it separates two words.
std::string CanonicalSql(const std::string& sql) {
    std::string text;
    bool space = false;
    for (const char c : sql) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = true;
            continue;
        }
        const bool punctuation = std::strchr("(),", c) != nullptr;
        if (space && !text.empty() && !punctuation && !std::strchr("(,", text.back())) text += ' ';
        space = false;
        text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// An entry of sqlite_master: a table, index, view or trigger.
struct SchemaObject {
    std::string type;
    std::string table;
    std::string sql;
    std::string name;  // as it stands, for a statement that names it
};
using Schema = std::map<std::string, SchemaObject>;

// Names ignore the case of ASCII letters, as SQL names do.
bool ReadSchema(const CCopyConnection& db, Schema& schema) {
    std::vector<std::vector<std::string>> rows;
    if (!db.Rows("select type, name, tbl_name, sql from sqlite_master", rows)) return false;
    for (const std::vector<std::string>& row : rows)
        schema[CanonicalSql(row[1])] = SchemaObject{row[0], CanonicalSql(row[2]), CanonicalSql(row[3]), row[1]};
    return true;
}

// The schema the terminal makes, in memory: the factory's, and the table
// start-up adds when it is missing.
bool MakeTerminalSchema(const CCopyConnection& factory) {
    return factory && factory.Run(FactorySchemaSql()) && factory.Run(Utf16ToUtf8(kAutoFnTableSql).c_str());
}

// SQLite's own statistics of the tables and indexes, which a PC tool's
// ANALYZE writes (sqlite_stat4 only where its SQLite keeps samples), in the
// only definitions SQLite gives them.
bool IsStatisticsTable(const std::string& name, const SchemaObject& object) {
    static const std::map<std::string, std::string> kStatistics = {
        {"sqlite_stat1", CanonicalSql("CREATE TABLE sqlite_stat1(tbl,idx,stat)")},
        {"sqlite_stat4", CanonicalSql("CREATE TABLE sqlite_stat4(tbl,idx,neq,nlt,ndlt,sample)")},
    };
    const auto known = kStatistics.find(name);
    return known != kStatistics.end() && object.type == "table" && object.sql == known->second;
}

// How an object of a copy stands to the terminal's schema.
enum class SchemaFit {
    Own,    // one of the terminal's, to the letter of its definition
    Added,  // harmless once dropped: statistics, or an index that
            // constrains nothing on one of the terminal's tables
    Foreign,
};

SchemaFit FitOf(const std::string& name, const SchemaObject& object, const Schema& wanted) {
    const auto own = wanted.find(name);
    if (own != wanted.end())
        return own->second.type == object.type && own->second.table == object.table && own->second.sql == object.sql
                   ? SchemaFit::Own
                   : SchemaFit::Foreign;
    if (IsStatisticsTable(name, object)) return SchemaFit::Added;
    const auto table = wanted.find(object.table);
    // A unique index would refuse rows the terminal stores (two users of
    // one name); an index without SQL text comes with a constraint of a
    // table definition that is not the terminal's.
    const bool plainIndex = object.type == "index" && !object.sql.empty() && object.sql.rfind("create unique", 0) != 0;
    return plainIndex && table != wanted.end() && table->second.type == "table" ? SchemaFit::Added
                                                                                 : SchemaFit::Foreign;
}

// Every object of `found` is one of the terminal's, to the letter of its
// definition, or one dropped before the copy is used: no trigger, no view,
// no table or unique index of anyone else. An index may be missing (a file
// from before it; start-up or a slower query copes), and so may the table
// start-up creates.
bool HasTerminalSchema(const CCopyConnection& db, const CCopyConnection& terminal) {
    Schema wanted;
    Schema found;
    if (!ReadSchema(terminal, wanted) || !ReadSchema(db, found)) return false;
    for (const auto& [name, object] : found)
        if (FitOf(name, object, wanted) == SchemaFit::Foreign) return false;
    const std::string startUpTable = CanonicalSql("AtuoFN");
    for (const auto& [name, object] : wanted)
        if (object.type == "table" && name != startUpTable && !found.count(name)) return false;
    return true;
}

// A name inside double quotes, as SQL reads it whatever it holds.
std::string QuotedName(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// Every stored template is one the template store takes at start.
bool HasStorableTemplates(const CCopyConnection& db) {
    std::vector<std::vector<std::string>> rows;
    const std::string sql = "select count(*) from FPinfo where typeof(FPTemplate) != 'blob' or length(FPTemplate) "
                            "not in (" + std::to_string(StoredTemplateSize) + ", " +
                            std::to_string(OldStoredTemplateSize) + ")";
    return db.Rows(sql, rows) && rows.size() == 1 && rows[0][0] == "0";
}

// The full check: every page, every row against each of its indexes.
bool IsIntact(const CCopyConnection& db) {
    std::vector<std::vector<std::string>> check;
    return db.Rows("pragma integrity_check", check) && check.size() == 1 && check[0][0] == "ok";
}

}  // namespace

bool HasSqliteHeader(LPCWSTR devicePath) {
    // A pipe or a device in the place of the file would never answer.
    HANDLE file = CreateFileW(devicePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_REGULAR_FILE_ONLY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char header[sizeof kHeader] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    return ok && read == sizeof header && std::memcmp(header, kHeader, sizeof header) == 0;
}

bool IsTerminalDatabase(LPCWSTR devicePath, const DatabaseCheckProgress& progress) {
    if (!HasSqliteHeader(devicePath)) return false;
    // Read as it lies: checking a copy writes nothing beside it.
    CCopyConnection db(FileAsItStandsUri(DeviceToHostPath(devicePath)), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    const CCopyConnection terminal(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!db || !MakeTerminalSchema(terminal) || !db.OnProgress(kInstructionsPerKiB, progress)) return false;
    return HasTerminalSchema(db, terminal) && IsIntact(db) && HasStorableTemplates(db);
}

bool DropWhatOtherProgramsAdded(LPCWSTR devicePath) {
    const CCopyConnection db(DeviceToHostPath(devicePath), SQLITE_OPEN_READWRITE);
    const CCopyConnection terminal(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Schema wanted;
    Schema found;
    if (!db || !MakeTerminalSchema(terminal) || !ReadSchema(terminal, wanted) || !ReadSchema(db, found)) return false;
    std::string drops;
    for (const auto& [name, object] : found)
        if (FitOf(name, object, wanted) == SchemaFit::Added)
            drops += (object.type == "index" ? "DROP INDEX " : "DROP TABLE ") + QuotedName(object.name) + ";";
    if (drops.empty()) return true;
    if (!db.Run(("BEGIN IMMEDIATE;" + drops + "COMMIT;").c_str())) {
        db.Run("ROLLBACK");
        return false;
    }
    // The copy is used without its log: the drops must be in the file.
    std::vector<std::vector<std::string>> checkpoint;
    return db.Rows("pragma wal_checkpoint(TRUNCATE)", checkpoint) && checkpoint.size() == 1 &&
           checkpoint[0].size() == 3 && checkpoint[0][0] == "0" && checkpoint[0][1] == checkpoint[0][2];
}
