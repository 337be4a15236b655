#include "main/MainWindowTimers.h"

void SetMainWindowTimers(CWnd& window) {
    window.SetTimer(kIdleTimer, 10000);
    window.SetTimer(kClockTimer, 1000);
    window.SetTimer(kMemoryTimer, 600000);
}
