// How the terminal program ends, also when the end comes from outside it: a
// termination signal (SIGTERM, SIGINT, SIGHUP), the window's close button or
// the window destroyed by another program ends it as a normal end does: the
// message loops unwind (long work, which holds them, ends the terminal at
// its next record), the database is closed (its write-ahead log folded back
// into the file) and the log gets its last line; should the loops not unwind
// within a few seconds, the program ends from another thread, leaving the
// database open under the work that held them (its unfinished step is rolled
// back at the next open). A display that goes away ends it at once as a
// normal end does, with its own status; a window whose connection was cut
// (a window manager's kill) ends it at once as a normal end.
#pragma once

#include <string>

// Asks for the normal end, as a termination signal does; the window's close
// button asks for it the same way. From any thread.
void RequestEnd();

// The end asked for during long work (an import, an export, a copy), run
// between two of its records on the user-interface thread: the work goes no
// further (whatever it had not yet put in place is left as it was), and the
// terminal ends as a normal end does, with the database closed.
[[noreturn]] void EndDuringLongWork();

// Blocks the termination signals for this thread and every thread started
// after it, and starts the thread that waits for them. Call before any
// other thread starts.
void WatchEndSignals();

// The procedures of the two threads this needs: the one that waits for the
// signals, and the one that ends the program when the loops have not
// unwound in time. Should the system give no thread for the first, the
// signals end the program as they end any program; for the second, the
// program ends at once.
void WaitForEndSignals(void*);
void EndAfterUnwindTime(void*);

// The display has gone away: says so on standard error, naming the
// display, and ends the terminal with kExitCannotStart.
[[noreturn]] void EndForLostDisplay(const std::string& display);

// The window's connection was cut by its display's server at another
// program's request: the window is gone, which is its close, but nothing
// can be drawn or read any more to unwind through: the terminal ends here
// as a normal end does, with the database closed.
[[noreturn]] void EndForCutConnection();

// The end of a run: closes the database and ends the process with `code`.
[[noreturn]] void EndTerminal(int code);
