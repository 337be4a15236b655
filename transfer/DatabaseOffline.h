// The database's files around the maintenance pages: the journal files that
// belong to a database file, what a cut backup, restore or update leaves,
// and the caches taken again after a restore.
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

// Everything the program keeps in memory from the database, taken from it
// again after its content was replaced: the fingerprint templates, the user
// count, the record ring's counters, the bells, the access groups and the
// access time zones.
void ReloadDatabaseCaches();
