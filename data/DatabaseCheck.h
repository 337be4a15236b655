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
// factory table with the factory's definition, the terminal's indexes,
// nothing else: a trigger, a view or a unique index would change what the
// terminal's writes do), its full integrity check finds nothing wrong
// (every index agrees with its table), and every stored template has a
// length the template store takes. A text may be longer than its column's
// declared length: SQLite holds it whole, and the terminal's own pages
// store such texts. What a PC tool adds that DropWhatOtherProgramsAdded
// takes away again passes too: SQLite's statistics (ANALYZE) and indexes
// that are not unique.
bool IsTerminalDatabase(LPCWSTR devicePath, const DatabaseCheckProgress& progress = {});

// Drops, in one transaction, the statistics and plain indexes the check
// lets pass, so that the copy holds the terminal's schema alone. The
// terminal never analyses its database: its queries are planned, and their
// times measured, without statistics, which taken of other data (or made
// up) would steer them elsewhere, and would go on into every backup. An
// index of another program costs each write its time and room on the
// flash, and one on an expression can even fail a write the terminal makes
// (a name its function refuses). True when nothing is left to drop.
bool DropWhatOtherProgramsAdded(LPCWSTR devicePath);
