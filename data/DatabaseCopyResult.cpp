#include "data/DatabaseCopyResult.h"

#include <sqlite3.h>

DatabaseCopyResult DatabaseCopyResultOf(int sqliteCode) {
    switch (sqliteCode & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
        return DatabaseCopyResult::Done;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseCopyResult::InUse;
    case SQLITE_FULL:
        return DatabaseCopyResult::Full;
    case SQLITE_IOERR:
        return DatabaseCopyResult::IoError;
    default:
        return DatabaseCopyResult::Failed;
    }
}
