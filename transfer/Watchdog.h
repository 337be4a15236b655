// The I/O controller's watchdog, fed by the long loops of the transfer and
// maintenance pages that keep the user-interface thread from the main
// screen's own feeding.
#pragma once

// FE 01 01 FE written under the controller's lock; no reply is read.
// Nothing is sent in debug mode (DEBUGMODE 1).
void FeedWatchdog();
