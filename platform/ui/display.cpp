#include "platform/ui/display.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/base/threads.h"

#include "platform/ui/dc.h"
#include "platform/ui/queue.h"
#include "platform/ui/winuser.h"

namespace {

std::unique_ptr<DisplayBackend>& Backend() {
    static std::unique_ptr<DisplayBackend> backend;
    return backend;
}

std::atomic<DWORD> g_displayThread{0};
DeviceHands* g_hands = nullptr;
std::function<void(const std::string&)> g_lostHandler;
// The code asked for by RequestDisplayQuit, -1 when none waits.
std::atomic<int> g_quitRequest{-1};

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

void SetDeviceHands(DeviceHands* hands) { g_hands = hands; }

DeviceHands* GetDeviceHands() { return g_hands; }

DWORD DisplayThreadId() { return g_displayThread; }

void SetDisplayLostHandler(std::function<void(const std::string& display)> handler) {
    g_lostHandler = std::move(handler);
}

void RequestDisplayQuit(int code) {
    g_quitRequest = code;
    WakeAllQueues();
}

void DisplayIdle() {
    if (GetCurrentThreadId() != g_displayThread) return;
    const int quit = g_quitRequest.exchange(-1);
    if (quit >= 0) PostQuitMessage(quit);
    if (Backend() == nullptr) return;
    Backend()->Present(ScreenSurface());
    Backend()->PumpEvents();
}

void DisplayGoneAway() {
    const std::string display = HostDisplayName();
    if (g_lostHandler) g_lostHandler(display);
    std::fprintf(stderr, "the display %s has gone away\n", display.c_str());
    std::_Exit(1);
}

bool DisplayNeedsPolling() { return Backend() != nullptr && Backend()->NeedsPolling(); }
