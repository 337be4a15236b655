#include "transfer/Watchdog.h"

#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataLocks.h"
#include "main/IoController.h"

void FeedWatchdog() {
    if (g_MachineConfig.DEBUGMODE == 1) return;
    BYTE frame[kIoFrameSize];
    MakeIoFrame(kIoWatchdogFeed, 1, 1, frame);
    CLockGuard lock(g_csIoController);
    g_ioControllerPort.Write(frame, kIoFrameSize);
}
