// The live database taken out of use while its file is copied or replaced:
// every other thread's statement waits from the close to the reopen (all of
// them prepare and step under g_csDatabase), and the file alone holds the
// whole database while it is closed.
#pragma once

#include "data/DataLocks.h"
#include "platform/base/CString.h"

class CDatabaseOffline {
public:
    // Holds g_csDatabase, moves a write-ahead log's content into the file
    // and closes the database.
    CDatabaseOffline();
    // Reopens the database when Reopen has not, and lets the others go on.
    ~CDatabaseOffline();
    CDatabaseOffline(const CDatabaseOffline&) = delete;
    CDatabaseOffline& operator=(const CDatabaseOffline&) = delete;

    // Opens the live file again; false with the message that says why.
    bool Reopen(CString& failure);

private:
    CLockGuard m_lock;
    bool m_reopened = false;
};

// The live file's journal files ("-wal", "-shm", "-journal"), which belong
// to the file they were written for and must not meet another one.
void RemoveJournalFiles(const CString& databasePath);
// Whether a "-wal" or "-journal" file that may hold part of the database
// lies beside the file: any but an empty regular file, which SQLite takes
// as holding nothing (a link or a folder is never taken so).
bool HasJournalFiles(const CString& databasePath);

// What a backup, restore or update cut by a power failure leaves behind:
// the new files not yet renamed into place, an update's install half done
// (undone, or finished when all its files were in place), and the restore's copy of the
// new database and of the old one (the live file is whole either way).
// Start-up removes them before the database is opened.
void RemoveMaintenanceLeftovers();

// Everything the program keeps in memory from the database, taken from it
// again after the file was replaced: the fingerprint templates, the user
// count, the record ring's counters, the bells, the access groups and the
// access time zones.
void ReloadDatabaseCaches();
