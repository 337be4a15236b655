// Whether a file is a database this terminal can work on, before it takes
// the place of the live one.
#pragma once

#include "platform/base/types.h"

// The file begins with SQLite's 16-byte header text.
bool HasSqliteHeader(LPCWSTR devicePath);
// SQLite's header, the file opens, its quick check finds nothing wrong, and
// every table of the factory schema is in it with at least the factory's
// columns in the factory's order (the pages read rows by column position).
bool IsTerminalDatabase(LPCWSTR devicePath);
