// Has the I/O controller restart the terminal: what a page does after it has
// replaced the database file or the program files, instead of ending the
// program.
#pragma once

// F8 01 01 F8 as one exchange under the controller's lock; the reply is
// read and dropped. Sent in debug mode too.
void SendRestartCommand();
