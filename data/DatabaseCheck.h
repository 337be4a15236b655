// Whether a file is a database this terminal can work on, before it takes
// the place of the live one.
#pragma once

#include <functional>

#include "platform/base/types.h"

// A regular file (no link, device or pipe) that begins with SQLite's
// 16-byte header text.
bool HasSqliteHeader(LPCWSTR devicePath);
// How far the check has come: `done` of an estimated `total`, called often
// enough to keep a bar moving and a watchdog fed.
using DatabaseCheckProgress = std::function<void(ULONGLONG done, ULONGLONG total)>;

// SQLite's header, the file opens, its schema is the terminal's own (every
// factory table with the factory's definition, only the terminal's indexes,
// nothing else: a trigger or a view would change what the terminal's writes
// do), its full integrity check finds nothing wrong (every index agrees with
// its table), and every stored template has a length the template store
// takes. A text may be longer than its column's declared length: SQLite
// holds it whole, and the terminal's own pages store such texts.
bool IsTerminalDatabase(LPCWSTR devicePath, const DatabaseCheckProgress& progress = {});
