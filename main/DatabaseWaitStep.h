// A statement of the user-interface thread that waits for another program
// holding the database (up to five seconds) holds the thread as long work
// does, and runs long work's step meanwhile: the window is painted, keys and
// taps made meanwhile are dropped with their ends, the I/O controller's
// watchdog is fed, and a close or a stop signal ends the terminal as soon as
// the statement is out of the database library, without waiting further.
// Waits of other threads only wait; the end cuts them short too.
#pragma once

// Once at start, after the end's handlers are set.
void RunLongWorkStepWhileWaitingForTheDatabase();
