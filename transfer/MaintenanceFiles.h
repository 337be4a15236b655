// The database's files around the maintenance pages: the journal files that
// belong to a database file, and what a cut backup, restore or update leaves.
#pragma once

#include "platform/base/CString.h"

// A database file's journal files ("-wal", "-shm", "-journal"), which
// belong to the file they were written for and must not meet another one.
void RemoveJournalFiles(const CString& databasePath);
// Whether a "-wal" or "-journal" file that may hold part of the database
// lies beside the file: any but an empty regular file, which SQLite takes
// as holding nothing (a link or a folder is never taken so).
bool HasJournalFiles(const CString& databasePath);

// What a backup, restore or update cut by a power failure leaves behind:
// the new files not yet renamed into place, an update's install half done
// (undone, or finished when all its files were in place), the restore's copy
// beside the live file, and the old file that earlier versions of the restore
// kept aside (the live database is whole either way).
// Start-up removes them before the database is opened.
void RemoveMaintenanceLeftovers();
