#include "tests/main/sensor_page.h"

#include "platform/ui/display.h"

int SensorPageTest::PixelsNotFrom(const CRect& area, const std::function<int(int x, int y)>& grey, int stepX,
                                  int stepY) {
    int differing = 0;
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            const uint32_t pixel = ScreenSurface().At(area.left + x, area.top + y);
            const int shown = static_cast<int>(pixel & 0xFF);
            bool found = false;
            for (int dy = 0; dy < stepY && !found; ++dy)
                for (int dx = 0; dx < stepX && !found; ++dx) found = grey(x * stepX + dx, y * stepY + dy) == shown;
            const bool isGrey = ((pixel >> 16) & 0xFF) == (pixel & 0xFF) && ((pixel >> 8) & 0xFF) == (pixel & 0xFF);
            if (!found || !isGrey) ++differing;
        }
    }
    return differing;
}
