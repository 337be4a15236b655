#include "platform/ui/display.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "platform/base/threads.h"

#include "platform/ui/dc.h"

namespace {

std::unique_ptr<DisplayBackend>& Backend() {
    static std::unique_ptr<DisplayBackend> backend;
    return backend;
}

std::atomic<DWORD> g_displayThread{0};

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
    g_displayThread = GetCurrentThreadId();
    if (mode == DisplayMode::Auto) mode = HostHasDisplay() ? DisplayMode::Window : DisplayMode::Headless;
    if (mode == DisplayMode::Window) {
        Backend() = MakeSdlBackend();
        if (Backend() == nullptr) mode = DisplayMode::Headless;
    }
    return mode;
}

void StopDisplay() {
    Backend().reset();
    g_displayThread = 0;
}

DWORD DisplayThreadId() { return g_displayThread; }

void DisplayIdle() {
    if (Backend() == nullptr) return;
    Backend()->Present(ScreenSurface());
    Backend()->PumpEvents();
}

bool DisplayNeedsPolling() { return Backend() != nullptr && Backend()->NeedsPolling(); }
