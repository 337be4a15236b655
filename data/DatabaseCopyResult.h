// How a copy of a whole database ended, and how far it has come.
#pragma once

#include <functional>

#include "platform/base/types.h"

enum class DatabaseCopyResult {
    Done,
    // Another program holds a lock the copy needs: nothing was written.
    InUse,
    // No room left for the pages being written.
    Full,
    // A read or a write of the files failed.
    IoError,
    // The copy's texts are in another encoding than the database it was
    // to go into, which no page copy changes: nothing was written.
    OtherEncoding,
    // Anything else: a file that is no database, a page size the live
    // database cannot take, no database open.
    Failed,
};

// What SQLite's result code (or extended code) says of a copy.
DatabaseCopyResult DatabaseCopyResultOf(int sqliteCode);

// How far a copy has come: `done` of `total`, between slices.
using DatabaseCopyProgress = std::function<void(ULONGLONG done, ULONGLONG total)>;
