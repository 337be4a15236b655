// CDbSqlite's whole-database copies, through SQLite's backup interface: a
// copy taken from one state of the database, log and all, and a content
// put in place as one transaction.
#include <sqlite3.h>

#include "data/BusyTimeout.h"
#include "data/DataLocks.h"
#include "data/DbSqlite.h"
#include "data/FileAsItStands.h"
#include "data/FileConnection.h"
#include "platform/base/device_fs.h"
#include "platform/base/utf.h"

namespace {

// Pages per step: the bar moves and the watchdog is fed between steps.
constexpr int kSlicePages = 64;

// Every page of `from` into `to`; the write transaction on `to` lasts from
// the first step to the last, and backup_finish rolls it back when the copy
// did not get there.
int CopyPages(sqlite3* to, sqlite3* from, const DatabaseCopyProgress& progress) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) return sqlite3_extended_errcode(to);
    int step = SQLITE_OK;
    while ((step = sqlite3_backup_step(backup, kSlicePages)) == SQLITE_OK) {
        const int total = sqlite3_backup_pagecount(backup);
        if (progress) progress(static_cast<ULONGLONG>(total - sqlite3_backup_remaining(backup)), total);
    }
    const int finished = sqlite3_backup_finish(backup);
    return step == SQLITE_DONE ? finished : step;
}

// The page copies carry the live database's header, which names the
// write-ahead log as its format (bytes 18 and 19 are 2). A copy is one file
// that stands alone: in the rollback-journal format (1) a program that
// opens it keeps no "-wal" and "-shm" beside it, which would otherwise lie
// there to meet the next copy of that name. Written through the copy's own
// file, as SQLite writes these bytes when it changes the format: letting
// the connection change it would open a log beside the copy first.
int MarkRollbackJournalFormat(sqlite3* copy) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(copy, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return SQLITE_ERROR;
    constexpr unsigned char kRollbackJournal[2] = {1, 1};
    constexpr sqlite3_int64 kFormatOffset = 18;
    const int written = file->pMethods->xWrite(file, kRollbackJournal, sizeof kRollbackJournal, kFormatOffset);
    return written != SQLITE_OK ? written : file->pMethods->xSync(file, SQLITE_SYNC_FULL);
}

// The pages a copy that did not complete wrote into the log are no part of
// the database, but the log keeps its length until it is next reset: on a
// flash that filled, the room would stay taken until the terminal ends. A
// truncating checkpoint gives it back. Another program's read in its way
// ends it at once instead of after the busy wait: the log is then reset by
// a later checkpoint.
void GiveBackTheLog(sqlite3* db) {
    sqlite3_busy_timeout(db, 0);
    sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    WaitForOtherPrograms(db);
}

}  // namespace

DatabaseCopyResult CDbSqlite::CopyContentTo(const std::string& hostPath, const DatabaseCopyProgress& progress) {
    CDataStoreLock lock(g_csDatabase);
    if (!m_db) return DatabaseCopyResult::Failed;
    // A transaction of other work still open is not the copy's to end.
    if (!sqlite3_get_autocommit(m_db)) return DatabaseCopyResult::InUse;
    CFileConnection target(hostPath, SQLITE_OPEN_READWRITE);
    if (!target.Handle()) return DatabaseCopyResultOf(target.OpenResult());
    // The new file needs no journal: a copy that fails is removed whole.
    // SQLite writes it a page at a time, and the terminal's pages are 4096
    // bytes: the medium sees the blocks of a file copy. The commit syncs it.
    sqlite3_exec(target.Handle(), "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    // One read transaction across all the steps: every page comes from the
    // same state of the database, whatever another program writes meanwhile.
    int copied = sqlite3_exec(m_db, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (copied == SQLITE_OK) copied = CopyPages(target.Handle(), m_db, progress);
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (copied == SQLITE_OK) copied = MarkRollbackJournalFormat(target.Handle());
    const int closed = target.Close();
    return DatabaseCopyResultOf(copied != SQLITE_OK ? copied : closed);
}

DatabaseCopyResult CDbSqlite::ReplaceContentWith(LPCWSTR devicePath, const DatabaseCopyProgress& progress) {
    CDataStoreLock lock(g_csDatabase);
    if (!m_db) return DatabaseCopyResult::Failed;
    const CFileConnection source(FileAsItStandsUri(DeviceToHostPath(devicePath)), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    if (!source.Handle()) return DatabaseCopyResultOf(source.OpenResult());
    // Pages of texts in another encoding would be read in this database's:
    // the connection could not even load the schema.
    DatabaseShape from;
    DatabaseShape into;
    if (!ReadShape(source.Handle(), from) || !ReadShape(m_db, into)) return DatabaseCopyResult::Failed;
    if (from.encoding != into.encoding) return DatabaseCopyResult::OtherEncoding;
    // A statement left between rows would hold a read on this connection,
    // which the copy cannot write past.
    RetireStatements(true);
    const DatabaseCopyResult result = DatabaseCopyResultOf(CopyPages(m_db, source.Handle(), progress));
    if (result != DatabaseCopyResult::Done) GiveBackTheLog(m_db);
    return result;
}

DatabaseShape CDbSqlite::Shape() {
    CDataStoreLock lock(g_csDatabase);
    DatabaseShape shape;
    ReadShape(m_db, shape);
    return shape;
}
