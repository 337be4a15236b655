#include "platform/ui/display.h"

#include <cstdlib>
#include <mutex>

#include "platform/ui/dc.h"

namespace {

std::unique_ptr<DisplayBackend>& Backend() {
    static std::unique_ptr<DisplayBackend> backend;
    return backend;
}

bool HostHasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return (x11 && *x11) || (wayland && *wayland) || (driver && *driver);
}

}  // namespace

Surface& ScreenSurface() {
    static Surface* screen = [] {
        static Surface surface(kScreenWidth, kScreenHeight);
        SetScreenSurface(&surface);
        return &surface;
    }();
    return *screen;
}

DisplayMode StartDisplay(DisplayMode mode) {
    ScreenSurface();
    if (mode == DisplayMode::Auto) mode = HostHasDisplay() ? DisplayMode::Window : DisplayMode::Headless;
    if (mode == DisplayMode::Window) {
        Backend() = MakeSdlBackend();
        if (Backend() == nullptr) mode = DisplayMode::Headless;
    }
    return mode;
}

void StopDisplay() { Backend().reset(); }

void DisplayIdle() {
    if (Backend() == nullptr) return;
    Backend()->Present(ScreenSurface());
    Backend()->PumpEvents();
}

bool DisplayNeedsPolling() { return Backend() != nullptr && Backend()->NeedsPolling(); }
