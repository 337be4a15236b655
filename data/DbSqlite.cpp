#include "data/DbSqlite.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>

#include "data/BusyTimeout.h"
#include "data/DataLocks.h"
#include "data/DataStoreServices.h"
#include "platform/base/device_fs.h"
#include "platform/base/utf.h"

namespace {

// The innermost quiet scope of this thread, or none.
thread_local CQuietStatementErrors* t_quiet = nullptr;

// The connections open now, each with the number it was opened under; a
// statement made on a connection that was closed since (the database file
// being replaced) finds its number gone. Guarded by g_csDatabase.
struct OpenConnection {
    uint64_t number = 0;
    // The lasting cause (in use, full, read-only) a box told last on this
    // connection. Such a cause is told once until rows are written again:
    // a file that stays read-only, a flash that stays full or a lock that
    // goes on would otherwise show the same box at every write (a punch,
    // each save of a page, each write of start-up), and the pages that
    // write say themselves that they did not save.
    DatabaseFailure told = DatabaseFailure::None;
};
std::map<const sqlite3*, OpenConnection>& OpenConnections() {
    static std::map<const sqlite3*, OpenConnection> open;
    return open;
}
uint64_t g_lastConnection = 0;

uint64_t ConnectionNumber(const sqlite3* db) {
    const auto found = OpenConnections().find(db);
    return found == OpenConnections().end() ? 0 : found->second.number;
}

// Rows written on the statement's connection so far.
sqlite3_int64 RowsWritten(sqlite3_stmt* stmt) { return stmt ? sqlite3_total_changes64(sqlite3_db_handle(stmt)) : 0; }

// Whether a box tells this failure of the statement's connection.
bool IsToBeTold(sqlite3_stmt* stmt, DatabaseFailure failure) {
    if (failure == DatabaseFailure::Other || !stmt) return true;
    CDataStoreLock lock(g_csDatabase);
    const auto found = OpenConnections().find(sqlite3_db_handle(stmt));
    if (found == OpenConnections().end()) return true;
    const bool told = found->second.told == failure;
    found->second.told = failure;
    return !told;
}

void ForgetToldFailure(sqlite3_stmt* stmt) {
    CDataStoreLock lock(g_csDatabase);
    const auto found = OpenConnections().find(sqlite3_db_handle(stmt));
    if (found != OpenConnections().end()) found->second.told = DatabaseFailure::None;
}

// Why a call of the connection failed with `result`. SQLite reports a disk
// that refuses to grow a file it maps (the write-ahead log's index, 32 KB)
// as an I/O error; the system's own code says that the flash is full.
DatabaseFailure FailureOf(sqlite3* db, int result) {
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    if ((result & 0xFF) == SQLITE_IOERR && (systemError == ENOSPC || systemError == EDQUOT))
        return DatabaseFailure::Full;
    return DatabaseFailureOf(result);
}

// The developer's line on standard error (SQLite's code and message, and
// the statement), then the person's box in words, or the note of the
// quiet scope whose caller tells it.
void TellStepError(int result, sqlite3_stmt* stmt) {
    sqlite3* db = stmt ? sqlite3_db_handle(stmt) : nullptr;
    std::fprintf(stderr, "database: error %d (%s): %s; statement: %s\n", result, sqlite3_errstr(result),
                 db ? sqlite3_errmsg(db) : "not prepared", stmt ? sqlite3_sql(stmt) : "none");
    const DatabaseFailure failure = FailureOf(db, result);
    // A wait cut short by the end: nothing is said while the terminal ends.
    if (failure == DatabaseFailure::InUse && WaitingForOtherProgramsStopped()) return;
    if (t_quiet) {
        t_quiet->Note(failure);
        return;
    }
    if (IsToBeTold(stmt, failure)) DataMessageBox(DatabaseWriteFailedText(failure), u"CSqlStatement::Execute");
}

// Steps a statement of a connection that is still open; a closed one's
// statement ends as if it had no rows, without touching the closed file.
int Step(sqlite3_stmt* stmt, uint64_t connection) {
    if (!stmt) return SQLITE_MISUSE;
    CDataStoreLock lock(g_csDatabase);
    if (ConnectionNumber(sqlite3_db_handle(stmt)) != connection) return SQLITE_ABORT;
    const int result = sqlite3_step(stmt);
    if ((result & 0xFF) == SQLITE_BUSY) AfterWaitForOtherPrograms();
    return result;
}

void UseWriteAheadLog(sqlite3* db) {
    // Every punch is one small transaction. With the default rollback
    // journal a commit syncs the journal, its folder, the journal's header
    // and the database: four waits on the flash. Appended to a write-ahead
    // log, the same commit is durable after one sync of the log; the pages
    // reach the database file in batches at checkpoints. synchronous=FULL
    // keeps that sync on every commit, so an acknowledged punch survives a
    // power cut (NORMAL would sync only at checkpoints).
    //
    // The mode is stored in the file and the log lives beside it ("-wal",
    // "-shm"): the file alone is not the database. Copies go out and come
    // in through SQLite's backup interface (CopyContentTo,
    // ReplaceContentWith), never as the file.
    //
    // A file that is no database, or one that cannot be written, keeps its
    // mode; the start-up probe judges it.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
}

}  // namespace

CQuietStatementErrors::CQuietStatementErrors() : m_outer(t_quiet) { t_quiet = this; }

CQuietStatementErrors::~CQuietStatementErrors() { t_quiet = m_outer; }

void CQuietStatementErrors::Note(DatabaseFailure failure) {
    if (m_failure == DatabaseFailure::None) m_failure = failure;
}

CSqlStatement::CSqlStatement(LPCWSTR sql, sqlite3* db) {
    if (!db || !sql) return;
    CDataStoreLock lock(g_csDatabase);
    m_connection = ConnectionNumber(db);
    const int prepared = sqlite3_prepare16_v2(db, sql, -1, &m_stmt, nullptr);
    if (prepared != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        // Reading the schema waits for another program too.
        if ((prepared & 0xFF) == SQLITE_BUSY) AfterWaitForOtherPrograms();
    }
}

CSqlStatement::~CSqlStatement() {
    if (m_stmt) sqlite3_finalize(m_stmt);
}

bool CSqlStatement::Execute() {
    // A statement that did not prepare cannot run; SQLite calls that misuse.
    const sqlite3_int64 rowsBefore = RowsWritten(m_stmt);
    const int result = Step(m_stmt, m_connection);
    switch (result) {
    case SQLITE_DONE:
        // Rows written end what a box told: the next failure is told again.
        if (RowsWritten(m_stmt) != rowsBefore) ForgetToldFailure(m_stmt);
        sqlite3_reset(m_stmt);
        return true;
    case SQLITE_ROW:
        return false;
    case SQLITE_ABORT:
        // The database was closed under it: nothing ran.
        return false;
    default:
        // A statement that did not prepare (SQLite calls running it a
        // misuse), and every code of a failed step.
        TellStepError(result, m_stmt);
        break;
    }
    if (m_stmt) sqlite3_reset(m_stmt);
    return false;
}

bool CSqlStatement::NextRow() {
    if (!m_stmt) return false;
    const int result = Step(m_stmt, m_connection);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_ABORT) sqlite3_reset(m_stmt);
    return false;
}

bool CSqlStatement::HasRow() {
    const bool row = NextRow();
    Reset();
    return row;
}

bool CSqlStatement::Reset() { return m_stmt && sqlite3_reset(m_stmt) == SQLITE_OK; }

int CSqlStatement::Fields() { return m_stmt ? sqlite3_column_count(m_stmt) : 0; }

LPCWSTR CSqlStatement::FieldName(int col) {
    const void* name = m_stmt ? sqlite3_column_name16(m_stmt, col) : nullptr;
    m_scratch = name ? static_cast<const char16_t*>(name) : u"";
    return m_scratch;
}

int CSqlStatement::FieldType(int col) { return m_stmt ? sqlite3_column_type(m_stmt, col) : SQLITE_NULL; }

LPCWSTR CSqlStatement::FieldTypeName(int col) {
    switch (FieldType(col)) {
    case SQLITE_INTEGER:
        m_scratch = u"INTEGER";
        break;
    case SQLITE_FLOAT:
        m_scratch = u"FLOAT";
        break;
    case SQLITE_TEXT:
        m_scratch = u"TEXT";
        break;
    case SQLITE_BLOB:
        m_scratch = u"BLOBL";
        break;
    default:
        m_scratch = u"NULL";
        break;
    }
    return m_scratch;
}

int CSqlStatement::ValueInt(int col) { return m_stmt ? sqlite3_column_int(m_stmt, col) : 0; }

__int64 CSqlStatement::ValueInt64(int col) { return m_stmt ? sqlite3_column_int64(m_stmt, col) : 0; }

LPCWSTR CSqlStatement::ValueString(int col) {
    m_scratch.Empty();
    // Ids, dates and most names are plain ASCII: widened here byte for byte,
    // they skip SQLite's conversion of the column to UTF-16, which cost a
    // fifth of filling the template store. Anything else is SQLite's to
    // convert. Either way the text ends at its first NUL.
    const auto* utf8 = m_stmt ? sqlite3_column_text(m_stmt, col) : nullptr;
    const unsigned char* end = utf8;
    while (end && *end && *end < 0x80) ++end;
    if (end && *end == 0) {
        m_scratch = CString(std::u16string(utf8, end));
    } else if (end) {
        m_scratch = CString(static_cast<const char16_t*>(sqlite3_column_text16(m_stmt, col)));
    }
    // A NULL column reads as empty, and so does the text "(null)", which is
    // what a NULL column once printed as and was stored as.
    if (m_scratch == u"(null)") m_scratch.Empty();
    return m_scratch;
}

const void* CSqlStatement::ValueBlob(int col, int& bytes) {
    if (!m_stmt) {
        bytes = 0;
        return nullptr;
    }
    const void* data = sqlite3_column_blob(m_stmt, col);
    bytes = sqlite3_column_bytes(m_stmt, col);
    return data;
}

bool CSqlStatement::Bind(int index, LPCWSTR text) {
    if (!m_stmt) return false;
    // No text at all is stored as NULL, which reads back as empty.
    if (!text) return BindNull(index);
    const int bytes = static_cast<int>(std::char_traits<char16_t>::length(text) * sizeof(char16_t));
    return sqlite3_bind_text16(m_stmt, index + 1, text, bytes, SQLITE_TRANSIENT) == SQLITE_OK;
}

bool CSqlStatement::Bind(int index, double value) {
    return m_stmt && sqlite3_bind_double(m_stmt, index + 1, value) == SQLITE_OK;
}

bool CSqlStatement::Bind(int index, int value) {
    return m_stmt && sqlite3_bind_int(m_stmt, index + 1, value) == SQLITE_OK;
}

bool CSqlStatement::BindNull(int index) { return m_stmt && sqlite3_bind_null(m_stmt, index + 1) == SQLITE_OK; }

bool CSqlStatement::BindBlob(int index, const void* data, int bytes) {
    return m_stmt && sqlite3_bind_blob(m_stmt, index + 1, data, bytes, SQLITE_STATIC) == SQLITE_OK;
}

CDbSqlite::~CDbSqlite() { Close(); }

// Opening and closing hold g_csDatabase, so another thread's statement is
// made and run on the connection before or after, never half-way.
bool CDbSqlite::Open(LPCWSTR path) {
    CDataStoreLock lock(g_csDatabase);
    m_path = path;
    Close();
    const std::u16string host = Utf8ToUtf16(DeviceToHostPath(path));
    if (sqlite3_open16(host.c_str(), &m_db) == SQLITE_OK) {
        OpenConnections()[m_db].number = ++g_lastConnection;
        WaitForOtherPrograms(m_db);
        UseWriteAheadLog(m_db);
        return true;
    }
    // A failed open still hands out a handle that must be released.
    sqlite3_close(m_db);
    m_db = nullptr;
    return false;
}

void CDbSqlite::Close() {
    CDataStoreLock lock(g_csDatabase);
    // An end that comes while this thread waits inside a statement (the
    // display gone away) leaves the connection as it stands: the step not
    // yet committed is rolled back when the database is next opened.
    if (!m_db || InsideWaitForOtherPrograms()) return;
    RetireStatements(false);
    // A transaction still open here belongs to work that the end cut short
    // (the end comes between two of its records): its writes were never to
    // be kept without its commit.
    if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
    sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void CDbSqlite::RetireStatements(bool reopened) {
    CDataStoreLock lock(g_csDatabase);
    // A new number for the connection, or none: the statements of the old
    // one no longer run.
    if (reopened)
        OpenConnections()[m_db] = OpenConnection{++g_lastConnection};
    else
        OpenConnections().erase(m_db);
    // Statements still held elsewhere keep the handle until they are
    // deleted. Their reads end here, or one left between rows would keep
    // every write since in the log, and stand in the way of a writer that
    // replaces the whole content.
    for (sqlite3_stmt* statement = sqlite3_next_stmt(m_db, nullptr); statement;
         statement = sqlite3_next_stmt(m_db, statement))
        sqlite3_reset(statement);
}

bool CDbSqlite::IsOpen() const {
    CDataStoreLock lock(g_csDatabase);
    return m_db != nullptr;
}

CSqlStatement* CDbSqlite::Statement(LPCWSTR sql) {
    CDataStoreLock lock(g_csDatabase);
    return new CSqlStatement(sql, m_db);
}

bool CDbSqlite::DirectStatement(LPCWSTR sql) {
    CSqlStatement* statement = Statement(sql);
    const bool done = statement->Execute();
    delete statement;
    return done;
}

LPCWSTR CDbSqlite::GetLastErrorText() {
    const void* text = m_db ? sqlite3_errmsg16(m_db) : nullptr;
    m_scratch = text ? static_cast<const char16_t*>(text) : u"";
    return m_scratch;
}

DatabaseFailure CDbSqlite::LastFailure() {
    CDataStoreLock lock(g_csDatabase);
    return m_db ? FailureOf(m_db, sqlite3_extended_errcode(m_db)) : DatabaseFailure::Other;
}

bool CDbSqlite::BeginTransaction() {
    m_scratch = u"begin";
    return DirectStatement(m_scratch);
}

bool CDbSqlite::InTransaction() {
    CDataStoreLock lock(g_csDatabase);
    return m_db && !sqlite3_get_autocommit(m_db);
}

bool CDbSqlite::CommitTransaction() {
    m_scratch = u"commit";
    return DirectStatement(m_scratch);
}

bool CDbSqlite::RollbackTransaction() {
    m_scratch = u"rollback";
    return DirectStatement(m_scratch);
}
