#include "main/DatabaseWaitStep.h"

#include "data/BusyTimeout.h"
#include "main/ProgramEnd.h"
#include "platform/base/threads.h"
#include "platform/ui/display.h"
#include "platform/ui/longwork.h"
#include "transfer/Watchdog.h"

namespace {

CWatchdogFeeder g_watchdog;  // on the user-interface thread

bool OnUserInterfaceThread() { return DisplayThreadId() != 0 && GetCurrentThreadId() == DisplayThreadId(); }

void WhileWaiting(int waitedMs) {
    if (!OnUserInterfaceThread()) return;
    // Whatever held the thread before may have kept the watchdog hungry.
    if (waitedMs == 0)
        g_watchdog.Start(true);
    else
        g_watchdog.FeedWhenDue();
    // The end cannot come inside the library: the wait stops, and the end
    // comes once the statement is out.
    if (LongWorkLook()) StopWaitingForOtherPrograms();
}

void AfterStopped() {
    if (OnUserInterfaceThread()) EndDuringLongWork();
}

}  // namespace

void RunLongWorkStepWhileWaitingForTheDatabase() { SetOtherProgramWaitHooks({WhileWaiting, AfterStopped}); }
