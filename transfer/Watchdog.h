// The I/O controller's watchdog, fed by the long loops of the transfer and
// maintenance pages that keep the user-interface thread from the main
// screen's own feeding.
#pragma once

#include "platform/base/types.h"

// FE 01 01 FE written under the controller's lock; no reply is read.
// Nothing is sent in debug mode (DEBUGMODE 1).
void FeedWatchdog();

// Feeds it on a timetable of its own: whenever more than 5000 ms have
// passed since its last feed.
class CWatchdogFeeder {
public:
    // The last feed is now; with `feedNow` it is made now too.
    void Start(bool feedNow);
    void FeedWhenDue();

private:
    DWORD m_lastFeed = 0;
};
