// Window and thread timers on the terminal's clock.
#pragma once

#include <cstdint>

#include "platform/ui/messages.h"
#include "platform/ui/queue.h"

// The earliest due timer of `queue` (matching `filter`) as a WM_TIMER
// message; with `remove` the timer starts its next period from now, so at
// most one WM_TIMER per timer is ever pending. Caller holds WindowLock.
bool TakeDueTimer(const ThreadQueue* queue, HWND filter, bool remove, MSG* msg);
// When the next timer of `queue` is due (kNoDeadline when none).
uint64_t NextTimerDue(const ThreadQueue* queue);
