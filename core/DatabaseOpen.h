// The database file at start-up: opening, the integrity probe, the auto
// function-key table, and closing and restoring it.
#pragma once

// application directory + "DB\KD4700.DB"
#include "platform/base/CString.h"

CString GetDatabasePath();
// 0 when a database object exists already or the file cannot be opened.
int OpenDatabase();
// 1 when the schema can be read and holds at least one object.
int CheckDatabase();
// True when another program holds the database's write lock past the wait
// for it (the write lock is taken and given back at once, without a word).
// A file that may not be written or a full flash count as free here: the
// terminal runs, and its first write that fails says why.
bool IsDatabaseInUseElsewhere();
// Creates table AtuoFN with its 16 rows when it is missing, and adds the
// rows a table cut short lacks (rows there are kept).
void EnsureAutoFnTable();
int CloseDatabase();
int RestoreDatabaseBackup();
