// The main window's three timers: the idle timer (every 10 s, no action),
// the clock (every second) and the night memory check (every 600 s).
#pragma once

#include "platform/ui/CWnd.h"

enum : UINT_PTR { kIdleTimer = 1, kClockTimer = 2, kMemoryTimer = 3 };

// Starts the three timers of `window`.
void SetMainWindowTimers(CWnd& window);
