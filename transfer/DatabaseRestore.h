// The restore page's work once it found a copy of the database: the copy
// taken beside the live file, checked there, made fit and written in place
// of the live database's content, with one bar over all of it and the
// watchdog kept. The live database is touched only by the last step, which
// on a failure leaves it as it was.
#pragma once

#include "data/DatabaseCopyResult.h"
#include "platform/base/CString.h"
#include "transfer/BlockCopy.h"

class CTransferLoop;

struct RestoreResult {
    // The copy from the medium failed: nothing else was done.
    FileCopyError copy;
    // The copy is no database of this terminal.
    bool foreign = false;
    // How its content was made fit and written in; Done when it is in
    // place.
    DatabaseCopyResult content = DatabaseCopyResult::Failed;
};

// Restores the database from `source`, a plain file with SQLite's header
// and no journal beside it.
RestoreResult RestoreDatabaseFrom(const CString& source, CTransferLoop& loop);
