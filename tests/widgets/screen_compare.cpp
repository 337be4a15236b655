#include "tests/widgets/screen_compare.h"

#include "platform/ui/display.h"
#include "platform/ui/image.h"
#include "widgets/WidgetRules.h"

::testing::AssertionResult ScreenShows(const CRect& area, const std::function<void(CDC&)>& paint) {
    CxImage background(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&memory, area.Width(), area.Height());
    CBitmap* previous = memory.SelectObject(&bitmap);
    background.Draw(memory, -area.left, -area.top);
    paint(memory);
    int differing = 0;
    CPoint first;
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            const COLORREF screen = ColorRefFromPixel(ScreenSurface().At(area.left + x, area.top + y) & 0xFFFFFF);
            if (memory.GetPixel(x, y) == screen) continue;
            if (differing++ == 0) first = CPoint(x, y);
        }
    }
    memory.SelectObject(previous);
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ, first at (" << area.left + first.x << ","
                                         << area.top + first.y << ")";
}

std::vector<Pixel> CopyOfScreen() {
    const Surface& screen = ScreenSurface();
    std::vector<Pixel> pixels;
    for (int y = 0; y < screen.Height(); ++y) pixels.insert(pixels.end(), screen.Row(y), screen.Row(y) + screen.Width());
    return pixels;
}

std::vector<Pixel> ScreenPixels(const CRect& area) {
    std::vector<Pixel> pixels;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) pixels.push_back(ScreenSurface().At(x, y) & 0xFFFFFF);
    return pixels;
}
