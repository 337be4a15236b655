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
// Creates table AtuoFN with its 16 rows when it is missing, and adds the
// rows a table cut short lacks (rows there are kept).
void EnsureAutoFnTable();
int CloseDatabase();
int RestoreDatabaseBackup();
