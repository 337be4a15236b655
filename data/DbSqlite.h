// The database object and its prepared statements, over SQLite's UTF-16
// interface. Results are true/false; nothing throws. A statement handed out
// by CDbSqlite::Statement belongs to the caller, who deletes it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "data/DatabaseCopyResult.h"
#include "data/DatabaseFailure.h"
#include "data/DatabaseShape.h"
#include "platform/base/CString.h"
#include "platform/base/types.h"

struct sqlite3;
struct sqlite3_stmt;

class CSqlStatement {
public:
    CSqlStatement(LPCWSTR sql, sqlite3* db);
    virtual ~CSqlStatement();
    CSqlStatement(const CSqlStatement&) = delete;
    CSqlStatement& operator=(const CSqlStatement&) = delete;

    // One step. Execute: true when the statement ran to its end (a row is
    // not an end); NextRow: true while rows come.
    bool Execute();
    bool NextRow();
    // One step, then reset: true when a row came.
    bool HasRow();
    bool Reset();

    int Fields();
    LPCWSTR FieldName(int col);
    int FieldType(int col);
    LPCWSTR FieldTypeName(int col);

    int ValueInt(int col);
    __int64 ValueInt64(int col);
    // Valid until the next call on this statement; NULL reads as empty.
    LPCWSTR ValueString(int col);
    const void* ValueBlob(int col, int& bytes);

    // Parameter indexes are 0-based. Texts are copied; a blob is not, so its
    // bytes must live until the statement has run.
    bool Bind(int index, LPCWSTR text);
    bool Bind(int index, double value);
    bool Bind(int index, int value);
    bool BindNull(int index);
    bool BindBlob(int index, const void* data, int bytes);

    bool IsPrepared() const { return m_stmt != nullptr; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    // The number of the connection it was made on (0: none).
    uint64_t m_connection = 0;
    CString m_scratch;
};

// While one lives on a thread, a statement of that thread that fails shows
// no box of its own (the failure goes to standard error): its caller tells
// the failure once, in its own words, instead of a box for every statement.
class CQuietStatementErrors {
public:
    CQuietStatementErrors();
    ~CQuietStatementErrors();
    CQuietStatementErrors(const CQuietStatementErrors&) = delete;
    CQuietStatementErrors& operator=(const CQuietStatementErrors&) = delete;

    // Why the first statement that failed meanwhile failed; None while
    // none has.
    DatabaseFailure Failure() const { return m_failure; }
    void Note(DatabaseFailure failure);

private:
    CQuietStatementErrors* m_outer;
    DatabaseFailure m_failure = DatabaseFailure::None;
};

class CDbSqlite {
public:
    CDbSqlite() = default;
    virtual ~CDbSqlite();
    CDbSqlite(const CDbSqlite&) = delete;
    CDbSqlite& operator=(const CDbSqlite&) = delete;

    // `path` is a device path; it is resolved under the device root.
    bool Open(LPCWSTR path);
    // Statements made before still exist but no longer run (they end as
    // if they had no rows). Every write is in the database file then, and
    // its write-ahead log is empty; once the waits for other programs are
    // stopped (the program ends), a log another program keeps from being
    // folded back stays for the next open.
    void Close();
    bool IsOpen() const;

    // Writes one state of the whole database, what its write-ahead log
    // holds included, into the new empty file `hostPath`, which is synced
    // and closed when it returns. The copy stands alone: it is in the
    // rollback-journal format, not this database's write-ahead log. Other
    // threads wait meanwhile.
    DatabaseCopyResult CopyContentTo(const std::string& hostPath, const DatabaseCopyProgress& progress);
    // Puts the content of the database file `devicePath` in place of this
    // database's as one write transaction: on any failure the database is
    // as it was, and what the copy wrote into its log is given back to the
    // flash. A content of another text encoding is refused before anything
    // is written; one of another page size fails (FitPageSize brings it to
    // this one's first). Statements made before end as if they had no rows,
    // as after a Close.
    DatabaseCopyResult ReplaceContentWith(LPCWSTR devicePath, const DatabaseCopyProgress& progress);
    // This database's page size and text encoding (none while it is
    // closed), which a content put in its place must have.
    DatabaseShape Shape();

    CSqlStatement* Statement(LPCWSTR sql);
    bool DirectStatement(LPCWSTR sql);
    LPCWSTR GetLastErrorText();
    // Why the connection's last statement failed: a write refused because
    // the file or its folder may not be written, or another program holding
    // the database past the busy timeout, is no damage to the database.
    DatabaseFailure LastFailure();

    bool BeginTransaction();
    // Whether a transaction is open on the connection. SQLite itself ends
    // one on some failures (a full flash): there is nothing left to roll
    // back then.
    bool InTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();

private:
    // Ends the reads of the statements made so far and lets none of them
    // run again; `reopened` keeps the connection for new ones.
    void RetireStatements(bool reopened);

    sqlite3* m_db = nullptr;
    CString m_path;
    CString m_scratch;
};
