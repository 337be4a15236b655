// Update regions and window DCs (the painting half of the window system).
#pragma once

#include "platform/ui/queue.h"
#include "platform/ui/region.h"
#include "platform/ui/window.h"

// The next window of `queue` that needs painting, parents before children
// and lower windows before the ones above them; nullptr when none (caller
// holds WindowLock). `filter` limits the search to one window.
HWND NextWindowToPaint(const ThreadQueue* queue, HWND filter);

// The part of the window that shows on the screen, in its client
// coordinates: clipped by its ancestors and by the top-level windows above
// its own, and, when asked by WS_CLIPCHILDREN / WS_CLIPSIBLINGS, by its
// children and higher siblings.
Region VisibleRegion(const Window* w);
