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

}  // namespace

std::string HostDisplayName() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0) return std::string(name) + "=" + value;
    }
    return {};
}

Surface& ScreenSurface() {
    static Surface* screen = [] {
        static Surface surface(kScreenWidth, kScreenHeight);
        SetScreenSurface(&surface);
        return &surface;
    }();
    return *screen;
}

DisplayMode StartDisplay(DisplayMode mode, std::string* why) {
    ScreenSurface();
    g_displayThread = GetCurrentThreadId();
    const std::string display = HostDisplayName();
    if (mode == DisplayMode::Auto) mode = display.empty() ? DisplayMode::Headless : DisplayMode::Window;
    if (mode != DisplayMode::Window) return mode;
    std::string reason;
    if (display.empty()) {
        reason = "a window needs a display and none is set (DISPLAY is empty)";
    } else {
        Backend() = MakeSdlBackend(&reason);
        if (Backend() != nullptr) return mode;
        reason = "cannot open a window on the display " + display + ": " + reason;
    }
    if (why != nullptr) *why = reason;
    return DisplayMode::Headless;
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
