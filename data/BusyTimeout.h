// Another program may hold the database for a moment (a PC tool, the
// records maker, a copy being taken): every connection of the terminal and
// its tools waits for it this long before a statement fails as busy.
#pragma once

struct sqlite3;

constexpr int kDatabaseBusyTimeoutMs = 5000;

// Right after a connection is opened.
void WaitForOtherPrograms(sqlite3* db);
