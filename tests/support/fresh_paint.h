// Stale and missing paint: the screen as the windows left it, compared with
// the same windows painted afresh.
//
// Painting afresh invalidates every visible window with erase and serves the
// paints as the message loop does (parents first, lower windows before the
// ones above them) into a surface of its own that starts as a copy of the
// screen; the screen keeps what it showed. A rectangle where the two differ is paint that a window left
// behind, or paint it owes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/surface.h"
#include "platform/ui/winuser.h"

// A window whose pixels may differ between two paints with nothing wrong
// (a live picture, a running clock), and why.
struct PaintAllowance {
    std::function<bool(HWND)> covers;
    std::string reason;
};

struct StalePaint {
    RECT area;           // in screen coordinates
    std::string window;  // the top-most window over the area's middle
    int pixels;          // differing pixels inside the area
};

// The screen the visible windows paint when all of them paint at once. Runs
// on the user-interface thread; nothing of it reaches the screen.
Surface PaintAfresh();

// The areas where `shown` differs from `fresh`, outside the windows an
// allowance covers; nearby differing pixels make one area.
std::vector<StalePaint> CompareWithFresh(const Surface& shown, const Surface& fresh,
                                         const std::vector<PaintAllowance>& allowances);

// The screen against a fresh paint. When they differ and `keepAs` is not
// empty, both pictures are written as <keepAs>.shown.png and
// <keepAs>.fresh.png in the working folder.
std::vector<StalePaint> FindStalePaint(const std::vector<PaintAllowance>& allowances, const std::string& keepAs = "");

// One line per area: where, how many pixels, which window.
std::string Describe(const std::vector<StalePaint>& stale);
