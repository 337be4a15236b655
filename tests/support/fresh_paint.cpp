#include "tests/support/fresh_paint.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "platform/base/utf.h"
#include "platform/ui/display.h"
#include "platform/ui/imagefile.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"

namespace {

// Differing pixels closer than this make one area.
constexpr int kCell = 4;
// A paint that keeps asking for more paint is itself a fault; this many
// rounds end the fresh paint.
constexpr int kMostPaints = 5000;

std::string WindowName(HWND hwnd) {
    if (hwnd == nullptr) return "the desktop";
    char16_t buffer[128] = {};
    GetClassNameW(hwnd, buffer, 128);
    std::string name = Utf16ToUtf8(buffer);
    name += " #" + std::to_string(GetDlgCtrlID(hwnd));
    buffer[0] = 0;
    GetWindowTextW(hwnd, buffer, 128);
    if (buffer[0] != 0) name += " \"" + Utf16ToUtf8(buffer) + "\"";
    return name;
}

// The screen rectangles of the visible windows an allowance covers.
void CollectAllowed(HWND parent, const std::vector<PaintAllowance>& allowances, std::vector<RECT>& allowed) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        const bool covered = std::any_of(allowances.begin(), allowances.end(),
                                         [child](const PaintAllowance& allowance) { return allowance.covers(child); });
        if (covered) {
            RECT area;
            GetWindowRect(child, &area);
            allowed.push_back(area);
            continue;
        }
        CollectAllowed(child, allowances, allowed);
    }
}

bool InAny(const std::vector<RECT>& areas, int x, int y) {
    return std::any_of(areas.begin(), areas.end(), [x, y](const RECT& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
}

}  // namespace

Surface PaintAfresh() {
    Surface& screen = ScreenSurface();
    Surface shown = std::move(screen);
    // Pixels no window paints (a box's transparent corners) keep what the
    // screen showed; the desktop is painted black.
    screen = Surface(shown.Width(), shown.Height());
    for (int y = 0; y < shown.Height(); ++y) std::copy_n(shown.Row(y), shown.Width(), screen.Row(y));
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    MSG msg;
    for (int paints = 0; paints < kMostPaints && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++paints)
        DispatchMessageW(&msg);
    Surface fresh = std::move(screen);
    screen = std::move(shown);
    return fresh;
}

std::vector<StalePaint> CompareWithFresh(const Surface& shown, const Surface& fresh,
                                         const std::vector<PaintAllowance>& allowances) {
    std::vector<RECT> allowed;
    CollectAllowed(GetDesktopWindow(), allowances, allowed);
    const int width = std::min(shown.Width(), fresh.Width());
    const int height = std::min(shown.Height(), fresh.Height());
    const int columns = (width + kCell - 1) / kCell;
    const int rows = (height + kCell - 1) / kCell;
    // Per cell: the differing pixels' bounds and count.
    std::vector<StalePaint> cells(static_cast<size_t>(columns) * rows, StalePaint{{width, height, 0, 0}, "", 0});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (shown.At(x, y) == fresh.At(x, y) || InAny(allowed, x, y)) continue;
            StalePaint& cell = cells[static_cast<size_t>(y / kCell) * columns + x / kCell];
            cell.area = {std::min<LONG>(cell.area.left, x), std::min<LONG>(cell.area.top, y),
                         std::max<LONG>(cell.area.right, x + 1), std::max<LONG>(cell.area.bottom, y + 1)};
            ++cell.pixels;
        }
    }
    // Touching cells (corners too) make one area.
    std::vector<StalePaint> areas;
    std::vector<bool> seen(cells.size(), false);
    for (size_t start = 0; start < cells.size(); ++start) {
        if (seen[start] || cells[start].pixels == 0) continue;
        StalePaint area = cells[start];
        std::vector<size_t> pending{start};
        seen[start] = true;
        while (!pending.empty()) {
            const size_t index = pending.back();
            pending.pop_back();
            const StalePaint& cell = cells[index];
            area.area = {std::min(area.area.left, cell.area.left), std::min(area.area.top, cell.area.top),
                         std::max(area.area.right, cell.area.right), std::max(area.area.bottom, cell.area.bottom)};
            if (index != start) area.pixels += cell.pixels;
            const int cx = static_cast<int>(index % columns);
            const int cy = static_cast<int>(index / columns);
            for (int ny = std::max(cy - 1, 0); ny <= std::min(cy + 1, rows - 1); ++ny) {
                for (int nx = std::max(cx - 1, 0); nx <= std::min(cx + 1, columns - 1); ++nx) {
                    const size_t next = static_cast<size_t>(ny) * columns + nx;
                    if (seen[next] || cells[next].pixels == 0) continue;
                    seen[next] = true;
                    pending.push_back(next);
                }
            }
        }
        const POINT middle{(area.area.left + area.area.right) / 2, (area.area.top + area.area.bottom) / 2};
        area.window = WindowName(WindowFromPoint(middle));
        areas.push_back(std::move(area));
    }
    return areas;
}

std::vector<StalePaint> FindStalePaint(const std::vector<PaintAllowance>& allowances, const std::string& keepAs) {
    const Surface fresh = PaintAfresh();
    const Surface& shown = ScreenSurface();
    std::vector<StalePaint> stale = CompareWithFresh(shown, fresh, allowances);
    if (!stale.empty() && !keepAs.empty()) {
        SaveSurfacePng(shown, keepAs + ".shown.png");
        SaveSurfacePng(fresh, keepAs + ".fresh.png");
    }
    return stale;
}

std::string Describe(const std::vector<StalePaint>& stale) {
    std::ostringstream text;
    for (const StalePaint& area : stale) {
        text << "(" << area.area.left << "," << area.area.top << ")-(" << area.area.right << "," << area.area.bottom
             << ") " << area.pixels << " px over " << area.window << "\n";
    }
    return text.str();
}
