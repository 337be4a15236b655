#include "platform/ui/xwindow.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "platform/base/debug.h"
#include "platform/base/threads.h"
#include "platform/base/utf.h"
#include "platform/ui/display.h"

namespace {

// A server that still runs takes a new connection at once; one behind a
// broken network may keep the question waiting for minutes.
constexpr auto kAnswerTime = std::chrono::seconds(2);

// The window watched and its connection; the handlers run on whichever
// thread made the X call.
std::atomic<Window> g_window{0};
std::atomic<bool> g_destroyed{false};
Display* g_display = nullptr;
decltype(&XSync) g_sync = nullptr;
decltype(&XOpenDisplay) g_openDisplay = nullptr;
decltype(&XCloseDisplay) g_closeDisplay = nullptr;

struct ServerQuestion {
    std::string display;
    std::promise<bool> answer;
};

void AskServer(void* parameter) {
    auto* question = static_cast<ServerQuestion*>(parameter);
    Display* connection = g_openDisplay(question->display.c_str());
    if (connection != nullptr) g_closeDisplay(connection);
    question->answer.set_value(connection != nullptr);
}

// Whether the X server of the broken connection takes a new one.
bool ServerStillAnswers(Display* display) {
    if (g_openDisplay == nullptr || g_closeDisplay == nullptr) return false;
    auto question = std::make_unique<ServerQuestion>();
    question->display = DisplayString(display);
    std::future<bool> answer = question->answer.get_future();
    std::thread asking;
    if (!StartHostThread(asking, AskServer, question.get())) return false;
    if (answer.wait_for(kAnswerTime) == std::future_status::ready) {
        asking.join();
        return answer.get();
    }
    // The program ends now, under the thread still asking.
    asking.detach();
    question.release();
    return false;
}

// Xlib's own answer to a broken connection is exit() from inside a library
// call, under the program's running threads, whose static destructors then
// talk to the dead connection for ever. The program's own end replaces it,
// from here: SDL, once this returned, would go on with the answers the dead
// connection gives (no keyboard map, no device), which it takes for real
// ones. A server that still answers cut this connection itself, at another
// program's request (a window manager's kill, `xdotool windowkill`): the
// window is gone with it, and the terminal ends as at its close.
int OnXConnectionLost(Display* display) {
    if (ServerStillAnswers(display)) DisplayConnectionCut();
    DisplayGoneAway();
}

// Runs inside Xlib with the connection locked: it makes no X call, and
// leaves the end to the window's next look at its events. Once the window
// is gone, every drawing on it is refused until the end: those go unlogged.
int OnXError(Display*, XErrorEvent* error) {
    const bool windowGone = (error->error_code == BadWindow || error->error_code == BadDrawable) &&
                            error->resourceid == g_window.load();
    if (windowGone) {
        g_destroyed = true;
        return 0;
    }
    char line[160];
    std::snprintf(line, sizeof line, "X server refused request %u.%u: error %u on resource 0x%lx; ignored",
                  static_cast<unsigned>(error->request_code), static_cast<unsigned>(error->minor_code),
                  static_cast<unsigned>(error->error_code), static_cast<unsigned long>(error->resourceid));
    OutputDebugStringW(Utf8ToUtf16(line).c_str());
    return 0;
}

}  // namespace

void WatchXWindow(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // SDL's library has loaded Xlib; the terminal does not link it.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (xlib == nullptr) return;
    const auto setIoErrorHandler = reinterpret_cast<decltype(&XSetIOErrorHandler)>(dlsym(xlib, "XSetIOErrorHandler"));
    const auto setErrorHandler = reinterpret_cast<decltype(&XSetErrorHandler)>(dlsym(xlib, "XSetErrorHandler"));
    g_sync = reinterpret_cast<decltype(&XSync)>(dlsym(xlib, "XSync"));
    g_openDisplay = reinterpret_cast<decltype(&XOpenDisplay)>(dlsym(xlib, "XOpenDisplay"));
    g_closeDisplay = reinterpret_cast<decltype(&XCloseDisplay)>(dlsym(xlib, "XCloseDisplay"));
    dlclose(xlib);
    g_window = info.info.x11.window;
    g_display = info.info.x11.display;
    g_destroyed = false;
    if (setIoErrorHandler != nullptr) setIoErrorHandler(OnXConnectionLost);
    // SDL's handler, which this replaces, puts back screen modes it changed
    // (this window changes none) and then calls Xlib's, which ends the
    // process: it is not called on.
    if (setErrorHandler != nullptr) setErrorHandler(OnXError);
}

bool XWindowDestroyed() { return g_destroyed.load(); }

void SettleXWindow() {
    if (g_display != nullptr && g_sync != nullptr) g_sync(g_display, False);
    g_display = nullptr;
    g_window = 0;
}
