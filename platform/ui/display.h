// The screen and the back ends that show it.
//
// The screen is one 320 x 240 surface in memory that every window DC draws
// into. A back end shows it and turns host input into the terminal's input:
// headless shows nothing; the window back end is an SDL window scaled x2
// (mouse = touch, keyboard = keypad).
#pragma once

#include <memory>
#include <string>

#include "platform/base/types.h"
#include "platform/ui/surface.h"

inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 240;

// The screen surface, made (black) on first use and handed to GDI.
Surface& ScreenSurface();

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // Shows the screen as it stands.
    virtual void Present(const Surface& screen) = 0;
    // Turns pending host input into touches and keys; a request to close the
    // window becomes WM_QUIT. Runs on the user-interface thread.
    virtual void PumpEvents() = 0;
    // True when PumpEvents must run regularly while the thread waits.
    virtual bool NeedsPolling() const = 0;
};

enum class DisplayMode { Auto, Headless, Window };

// Starts the back end for `mode` on the calling (user-interface) thread.
// Auto means a window when a display exists, else headless. Returns the mode
// actually started (Headless when no window could be opened; `why` then
// tells why, naming the display).
DisplayMode StartDisplay(DisplayMode mode, std::string* why = nullptr);
// The host's display as its environment names it ("DISPLAY=:0"), empty
// when there is none.
std::string HostDisplayName();
void StopDisplay();
// The thread that started the display (the user-interface thread), 0 when
// none runs.
DWORD DisplayThreadId();

// Runs when the user-interface thread goes idle: shows the screen and
// collects host input.
void DisplayIdle();
bool DisplayNeedsPolling();

// The SDL window back end, or nullptr with SDL's reason in `why` when SDL
// cannot open a window.
std::unique_ptr<DisplayBackend> MakeSdlBackend(std::string* why);
