#include "main/ScreenFile.h"

#include <vector>

#include "platform/base/atomic_file.h"
#include "platform/ui/display.h"
#include "platform/ui/imagefile.h"

namespace ScreenFile {

namespace {

std::string g_path;
std::vector<Pixel> g_written;

}  // namespace

void SetPath(const std::string& hostPath) {
    g_path = hostPath;
    g_written.clear();
    // A write cut by a power failure leaves its temporary file behind.
    if (!g_path.empty()) RemoveStaleTemporaries(g_path);
}

void WriteWhenChanged() {
    if (g_path.empty()) return;
    const Surface& screen = ScreenSurface();
    std::vector<Pixel> now;
    now.reserve(static_cast<size_t>(screen.Width() * screen.Height()));
    for (int y = 0; y < screen.Height(); ++y) now.insert(now.end(), screen.Row(y), screen.Row(y) + screen.Width());
    if (now == g_written) return;
    if (SaveSurfacePng(screen, g_path)) g_written = std::move(now);
}

}  // namespace ScreenFile
