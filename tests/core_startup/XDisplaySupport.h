// The terminal in a real window on a virtual X server the test starts
// itself: the server, the terminal's window found by its title, its
// picture, keys pressed on it as a person presses them, and its close
// button.
#pragma once

#if defined(QUILLON_X11_TEST) && defined(QUILLON_PROGRAM)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/display.h"
#include "platform/ui/surface.h"
#include "tests/core_startup/ChildProcess.h"
#include "tests/support/wait_until.h"

// Pixels where two pictures of the window differ.
inline int DifferingPixels(const Surface& a, const Surface& b) {
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) differing += a.At(x, y) != b.At(x, y);
    return differing;
}

// A virtual X server of its own (it picks a free display number) and the
// test's connection to it.
class VirtualDisplay {
public:
    // False with the reason in Why() when no server can run here.
    bool Start(const std::string& errorsFile);
    const std::string& Why() const { return m_why; }
    const std::string& Name() const { return m_name; }  // ":N"
    Display* X() const { return m_x; }
    // Ends the server; the test's connection is closed first.
    void Kill();
    // A connection of its own for a forked copy of the test: the one it
    // inherited goes on being the parent's, untouched, so that the parent's
    // stays in step with the server.
    bool ConnectAnew();
    ~VirtualDisplay();

private:
    Child m_server;
    Display* m_x = nullptr;
    std::string m_name;
    std::string m_why;
};

// The terminal program on a virtual display.
class TerminalWindow {
public:
    explicit TerminalWindow(VirtualDisplay& display) : m_display(display) {}
    // Starts the program with `arguments` on the display, its standard
    // error going to `errors`.
    bool Start(const std::vector<std::string>& arguments, const std::string& errors);
    // Waits (up to `seconds`) for the window whose title starts with
    // "Terminal"; false when none comes.
    bool FindWindow(int seconds);
    std::string Title() const;
    // The window's picture at the terminal's size (each screen pixel is a
    // 2 x 2 block there); an empty surface when it cannot be read.
    Surface Screen() const;
    // Presses and releases the key, with Ctrl held when `control`.
    void Key(KeySym key, bool control = false) const;
    // Presses (true) or releases the key.
    void Hold(KeySym key, bool down) const;
    // What a window manager sends when the close button is pressed.
    void Close() const;
    // Destroys the window from the test's own connection, as another
    // program does (`xdotool windowclose`).
    void Destroy() const;
    // Has the X server cut the program's connection, as a window manager's
    // kill and `xdotool windowkill` do; the server runs on.
    void Kill() const;
    // Lays a window of the test's own, all red, over the whole window, as
    // another program's window comes in front; and takes it away again.
    Window LayWindowOver() const;
    void TakeAway(Window cover) const;
    void Signal(int signal) const { m_program.Signal(signal); }
    int Wait(int seconds) { return m_program.Wait(seconds); }

private:
    void PointAtWindow() const;

    VirtualDisplay& m_display;
    Child m_program;
    Window m_window = 0;
};

#endif
