#include "data/DatabaseShape.h"

#include <sqlite3.h>

#include <cstdlib>

#include "data/CopyConnection.h"
#include "data/FileAsItStands.h"
#include "platform/base/device_fs.h"

namespace {

// About as many instructions per 1024 bytes as a VACUUM of a terminal's
// database to pages of 4096 bytes runs (measured on a copy of 5000 users
// with their templates in pages of 1024, 8192 and 65536 bytes).
constexpr ULONGLONG kVacuumInstructionsPerKiB = 25;

bool ReadPragma(sqlite3* db, const char* sql, std::string& value) {
    sqlite3_stmt* stmt = nullptr;
    bool read = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW;
    const unsigned char* text = read ? sqlite3_column_text(stmt, 0) : nullptr;
    read = text != nullptr;
    if (read) value = reinterpret_cast<const char*>(text);
    sqlite3_finalize(stmt);
    return read;
}

}  // namespace

bool ReadShape(sqlite3* db, DatabaseShape& shape) {
    std::string pageSize;
    if (!db || !ReadPragma(db, "pragma page_size", pageSize) || !ReadPragma(db, "pragma encoding", shape.encoding))
        return false;
    shape.pageSize = std::atoi(pageSize.c_str());
    return true;
}

bool ReadDatabaseShape(LPCWSTR devicePath, DatabaseShape& shape) {
    const CCopyConnection db(FileAsItStandsUri(DeviceToHostPath(devicePath)), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    return ReadShape(db.Handle(), shape);
}

DatabaseCopyResult FitPageSize(LPCWSTR devicePath, int pageSize, const DatabaseCopyProgress& progress) {
    CCopyConnection copy(DeviceToHostPath(devicePath), SQLITE_OPEN_READWRITE);
    if (!copy) return DatabaseCopyResultOf(copy.OpenResult());
    DatabaseShape shape;
    if (!ReadShape(copy.Handle(), shape)) return DatabaseCopyResultOf(sqlite3_extended_errcode(copy.Handle()));
    if (shape.pageSize == pageSize) return DatabaseCopyResult::Done;
    // The scratch copy needs no journal: one that fails is removed whole,
    // and the flash is spared a second copy of every page. The copy was
    // checked, so the protection against a file's own SQL can give way to
    // that (it refuses journal_mode=OFF). A page size changes only outside
    // the log's format.
    sqlite3_db_config(copy.Handle(), SQLITE_DBCONFIG_DEFENSIVE, 0, nullptr);
    const std::string vacuum =
        "PRAGMA journal_mode=OFF; PRAGMA page_size=" + std::to_string(pageSize) + "; VACUUM";
    if (!copy.OnProgress(kVacuumInstructionsPerKiB, progress) || !copy.Run(vacuum.c_str()))
        return DatabaseCopyResultOf(sqlite3_extended_errcode(copy.Handle()));
    if (!ReadShape(copy.Handle(), shape) || shape.pageSize != pageSize) return DatabaseCopyResult::Failed;
    return DatabaseCopyResultOf(copy.Close());
}
