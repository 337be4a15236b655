// Ends the terminal's process at once with `code`, from any thread: the
// database is closed with every write in its file (without waiting for
// another program that holds it), and the log gets its last line first.
// Threads still running are not waited for, and no object is destroyed
// under them.
#pragma once

#include "platform/base/types.h"

// The program's exit statuses: how the run went, for whoever started it.
enum ExitStatus : UINT {
    kExitNormal = 0,        // ended as a person or a script asked
    kExitStartFailed = 1,   // start-up (or --init-root) stopped with an error message
    kExitUsage = 2,         // a bad command line, or a script that failed
    kExitCannotStart = 3,   // no device folder, or a display that cannot be opened
};

// A normal end (0) of a run whose script failed ends with kExitUsage.
[[noreturn]] void EndProcess(UINT code);
// The same end with the database left open as it stands, for when another
// thread may be half-way through work on it: nothing is closed under that
// work, and a step it had not committed is rolled back when the database is
// next opened.
[[noreturn]] void EndProcessLeavingDatabase(UINT code);
