#include "data/BusyTimeout.h"

#include <sqlite3.h>

void WaitForOtherPrograms(sqlite3* db) {
    if (db) sqlite3_busy_timeout(db, kDatabaseBusyTimeoutMs);
}
