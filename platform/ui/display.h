// The screen and the back ends that show it.
//
// The screen is one 320 x 240 surface in memory that every window DC draws
// into. A back end shows it and turns host input into the terminal's input:
// headless shows nothing; the window back end is an SDL window scaled x2
// (mouse = touch, keyboard = keypad).
#pragma once

#include <functional>
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
    // Shows the screen as it stands. Paced by the caller: at most once a
    // frame while paints follow each other or the thread idles, and at once
    // when a round of paints is over.
    virtual void Present(const Surface& screen) = 0;
    // Turns pending host input into touches and keys; a request to close the
    // window, or the window destroyed by another program, goes to
    // DisplayCloseRequested. Runs on the user-interface thread.
    virtual void PumpEvents() = 0;
    // True when PumpEvents must run regularly while the thread waits.
    virtual bool NeedsPolling() const = 0;
};

// The simulated hardware under the hands of the person at the window: the
// window's keys that are not keypad keys (Ctrl+1..9, Space, Ctrl+K) and
// files dropped on it come here. Called on the user-interface thread.
class DeviceHands {
public:
    virtual ~DeviceHands() = default;
    // The number-th finger image (from 1) becomes the chosen one.
    virtual void ChooseSample(int number) = 0;
    // An image file dropped on the window becomes the chosen one.
    virtual void ChooseImage(const std::string& hostPath) = 0;
    // The chosen finger is laid on the sensor (true) or lifted.
    virtual void PressFinger(bool down) = 0;
    virtual void ShowNextCard() = 0;
    // What the window's title says: the chosen image, the card shown last.
    virtual std::string Title() const = 0;
};

// The hands the window passes its own keys to (nullptr: none; those keys
// are then ignored). The caller keeps them alive while the display runs.
void SetDeviceHands(DeviceHands* hands);
DeviceHands* GetDeviceHands();

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

// Starts `backend` (a test's own) on the calling thread, which becomes
// the user-interface thread.
void StartDisplayWith(std::unique_ptr<DisplayBackend> backend);

// Runs when the user-interface thread goes idle: shows the screen and
// collects host input.
void DisplayIdle();
// Drawing on the screen has ended (a window's DC released, a DC of the
// display deleted). On the user-interface thread the back end shows it at
// once: what a page paints while it works without going back to its
// message loop (a long loop's progress bar, an UpdateWindow, a paint
// inside a modal loop) is seen as it is drawn, as on the device, where
// drawing goes straight to the screen. Headless it costs nothing.
void DisplayPainted();
// What runs when the display goes away (its server ended, the connection
// broke); it gets the display's name as HostDisplayName() gives it, and
// must end the program: it runs inside the display library's call, on the
// thread that made it, and nothing can be shown any more. Without one, or
// should it return, the program ends at once with status 1.
void SetDisplayLostHandler(std::function<void(const std::string& display)> handler);
// Called by a back end whose display has gone away; does not return.
[[noreturn]] void DisplayGoneAway();
// What runs when the display's server cut the window's connection and runs
// on: another program had it cut (a window manager's kill). The window is
// gone with it, which is the terminal's close; but the display library
// cannot go on after a cut connection, so this must end the program where
// it is, as the lost display's handler does. Without one, or should it
// return, the program ends at once with status 0.
void SetDisplayCutHandler(std::function<void()> handler);
// Called by a back end whose connection its server cut; does not return.
[[noreturn]] void DisplayConnectionCut();
// Asks the user-interface thread's message loops to end with `code` (a
// WM_QUIT there), from any thread; the thread wakes for it.
void RequestDisplayQuit(int code);
// True from RequestDisplayQuit until the user-interface thread has posted
// its WM_QUIT.
bool DisplayQuitRequested();
// What the window's close button does; it runs on the user-interface
// thread, also while it is in long work (longwork.h). Without one, the
// message loops end with 0.
void SetDisplayCloseHandler(std::function<void()> handler);
// Called by a back end when its window is asked to close (or is gone).
void DisplayCloseRequested();
bool DisplayNeedsPolling();

// The SDL window back end, or nullptr with SDL's reason in `why` when SDL
// cannot open a window.
std::unique_ptr<DisplayBackend> MakeSdlBackend(std::string* why);
