#include "transfer/Watchdog.h"

#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataLocks.h"
#include "main/IoController.h"
#include "platform/base/clock.h"

namespace {

constexpr DWORD kFeedIntervalMs = 5000;

}  // namespace

void FeedWatchdog() {
    if (g_MachineConfig.DEBUGMODE == 1) return;
    BYTE frame[kIoFrameSize];
    MakeIoFrame(kIoWatchdogFeed, 1, 1, frame);
    CLockGuard lock(g_csIoController);
    g_ioControllerPort.Write(frame, kIoFrameSize);
}

void CWatchdogFeeder::Start(bool feedNow) {
    m_lastFeed = GetTickCount();
    if (feedNow) FeedWatchdog();
}

void CWatchdogFeeder::FeedWhenDue() {
    const DWORD now = GetTickCount();
    // Unsigned difference: right across the wrap of the tick count.
    if (now - m_lastFeed <= kFeedIntervalMs) return;
    m_lastFeed = now;
    FeedWatchdog();
}
