// Putting another file in place of a database file.
#pragma once

#include "platform/base/types.h"

// Replaces the closed database at `database` by a copy of `copy` (device
// paths). The replaced database's log files ("-wal", "-shm") go first:
// SQLite would replay an old log into the new file and damage it. False,
// with the database file left as it was, when `copy` is missing or the
// copy fails; the copy itself replaces the file atomically.
bool ReplaceDatabaseWithCopy(LPCWSTR copy, LPCWSTR database);
