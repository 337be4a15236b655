#include "platform/ui/display.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/base/threads.h"

#include "platform/ui/dc.h"
#include "platform/ui/paint.h"
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
std::function<void()> g_closeHandler;
std::function<void()> g_cutHandler;
// The code asked for by RequestDisplayQuit, -1 when none waits.
std::atomic<int> g_quitRequest{-1};

// Sixty pictures a second are plenty for a person; a picture costs real
// time whatever the terminal's clock says.
constexpr auto kFrame = std::chrono::milliseconds(16);
std::chrono::steady_clock::time_point g_lastPresent;  // on the display's thread

bool FrameDue() { return std::chrono::steady_clock::now() - g_lastPresent >= kFrame; }

void PresentScreen() {
    Backend()->Present(ScreenSurface());
    g_lastPresent = std::chrono::steady_clock::now();
}

// The calling thread becomes the display's, nothing shown yet.
void TakeDisplay(std::unique_ptr<DisplayBackend> backend) {
    Backend() = std::move(backend);
    g_lastPresent = {};
    ScreenSurface();
    g_displayThread = GetCurrentThreadId();
}

// A window of the calling thread still waits for its paint.
bool PaintWaits() {
    WindowGuard guard(WindowLock());
    return NextWindowToPaint(CurrentQueue(), nullptr) != nullptr;
}

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
    TakeDisplay(nullptr);
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

void StartDisplayWith(std::unique_ptr<DisplayBackend> backend) { TakeDisplay(std::move(backend)); }

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

bool DisplayQuitRequested() { return g_quitRequest.load() >= 0; }

void SetDisplayCloseHandler(std::function<void()> handler) { g_closeHandler = std::move(handler); }

void DisplayCloseRequested() {
    if (g_closeHandler)
        g_closeHandler();
    else
        PostQuitMessage(0);
}

void DisplayIdle() {
    if (GetCurrentThreadId() != g_displayThread) return;
    const int quit = g_quitRequest.exchange(-1);
    if (quit >= 0) PostQuitMessage(quit);
    if (Backend() == nullptr) return;
    // The poll comes every 10 ms; each frame shows whatever changed since.
    if (FrameDue()) PresentScreen();
    Backend()->PumpEvents();
}

void DisplayPainted() {
    if (GetCurrentThreadId() != g_displayThread || Backend() == nullptr) return;
    // A frame's worth while paints follow each other; the last paint of a
    // round is shown at once, whatever the thread does next (a long loop
    // may paint nothing more for a while).
    if (FrameDue() || !PaintWaits()) PresentScreen();
}

void DisplayGoneAway() {
    const std::string display = HostDisplayName();
    if (g_lostHandler) g_lostHandler(display);
    std::fprintf(stderr, "the display %s has gone away\n", display.c_str());
    std::_Exit(1);
}

void SetDisplayCutHandler(std::function<void()> handler) { g_cutHandler = std::move(handler); }

void DisplayConnectionCut() {
    if (g_cutHandler) g_cutHandler();
    std::_Exit(0);
}

bool DisplayNeedsPolling() { return Backend() != nullptr && Backend()->NeedsPolling(); }
