// Focus, activation and mouse capture: one of each for the whole screen.
#pragma once

#include "platform/base/types.h"

// `closing` (a top-level window being hidden or destroyed) gives up the
// activation: its owner, or else the top-most other visible top-level
// window, becomes active and gets its focus back.
void ActivateNextAfter(HWND closing);
