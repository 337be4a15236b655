// Another program may hold the database for a moment (a PC tool, the
// records maker, a copy being taken): every connection of the terminal and
// its tools waits for it this long before a statement fails as busy.
//
// The wait is made of short slices. Between two of them the waiting thread
// runs what the program gave (the terminal keeps its window answering, as
// long work does), and the wait ends at once when the program ends: an end
// never waits on another program.
#pragma once

#include <functional>

#include "platform/base/sync.h"

struct sqlite3;

constexpr int kDatabaseBusyTimeoutMs = 5000;

// Right after a connection is opened.
void WaitForOtherPrograms(sqlite3* db);

// What a program does around the waits of its threads; both run on the
// waiting thread, and either may be empty.
struct OtherProgramWaitHooks {
    // Between two slices of a wait, `waitedMs` into it (0 at its first).
    // It runs inside the database library, in the middle of a statement:
    // it makes no database call and does not end the program.
    std::function<void(int waitedMs)> whileWaiting;
    // Out of the library again, after a wait that ended because the
    // program ends: ends it where that thread can, or returns, and the
    // statement fails without a word to the person.
    std::function<void()> afterStopped;
};
// Set once at start, before any thread uses the database.
void SetOtherProgramWaitHooks(OtherProgramWaitHooks hooks);

// From any thread: every wait ends now and none begins again.
void StopWaitingForOtherPrograms();
bool WaitingForOtherProgramsStopped();
// Called by the connection after a statement failed as busy: runs
// `afterStopped` when the wait ended because the program ends.
void AfterWaitForOtherPrograms();
// True while this thread runs `whileWaiting`, inside a statement: its
// connection must not be touched then (an end that comes from there leaves
// the database as it stands).
bool InsideWaitForOtherPrograms();

// Takes `lock`, which another thread of this program may hold through a
// wait for another program (a statement of the link or the I/O thread), as
// long as that wait lasts: meanwhile this thread waits as a busy statement
// does, running `whileWaiting` between its slices, so that a window whose
// thread waits still answers. It never gives up: the holder's wait ends by
// its own time, or at once at the end.
void EnterWhileOtherProgramsWait(CRITICAL_SECTION& lock);

// While one lives on a thread, the waits of that thread share one wait's
// time: once they have waited kDatabaseBusyTimeoutMs in all, later ones
// give up at once. Start-up makes several statements before it can tell
// that another program holds the database; it tells so after one wait.
class CWaitOnceForOtherPrograms {
public:
    CWaitOnceForOtherPrograms();
    ~CWaitOnceForOtherPrograms();
    CWaitOnceForOtherPrograms(const CWaitOnceForOtherPrograms&) = delete;
    CWaitOnceForOtherPrograms& operator=(const CWaitOnceForOtherPrograms&) = delete;

    // Milliseconds waited so far by the waits of its thread.
    int Waited() const { return m_waitedMs; }
    void AddWaited(int ms) { m_waitedMs += ms; }

private:
    CWaitOnceForOtherPrograms* m_outer;
    int m_waitedMs = 0;
};
