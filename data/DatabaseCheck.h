// Whether a file is a database this terminal can work on, before it takes
// the place of the live one.
#pragma once

#include "platform/base/types.h"

// A regular file (no link, device or pipe) that begins with SQLite's
// 16-byte header text.
bool HasSqliteHeader(LPCWSTR devicePath);
// SQLite's header, the file opens, its quick check finds nothing wrong, its
// schema is the terminal's own (every factory table with the factory's
// definition, only the terminal's indexes, nothing else: a trigger or a view
// would change what the terminal's writes do), and every stored template has
// a length the template store takes.
bool IsTerminalDatabase(LPCWSTR devicePath);
