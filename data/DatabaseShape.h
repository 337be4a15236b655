// What of a database file SQLite's backup interface cannot carry into a
// database in the write-ahead log format: the size of its pages and the
// encoding of its texts. A copy from elsewhere (a PC tool's VACUUM, an
// older SQLite) may differ in either.
#pragma once

#include <string>

#include "data/DatabaseCopyResult.h"
#include "platform/base/types.h"

struct sqlite3;

struct DatabaseShape {
    int pageSize = 0;
    // As "PRAGMA encoding" names it: "UTF-8", "UTF-16le" or "UTF-16be".
    std::string encoding;
};

// The shape of an open database; false when it cannot be read.
bool ReadShape(sqlite3* db, DatabaseShape& shape);
// The shape of the database file `devicePath`, read as it stands.
bool ReadDatabaseShape(LPCWSTR devicePath, DatabaseShape& shape);
// Rewrites the database file `devicePath`, a scratch copy of the
// terminal's own that nothing else has open, to pages of `pageSize` bytes
// where its pages are of another size; Done when they are of that size
// now. A copy cut short here is no whole database: on a failure it is
// only to be removed.
DatabaseCopyResult FitPageSize(LPCWSTR devicePath, int pageSize, const DatabaseCopyProgress& progress);
