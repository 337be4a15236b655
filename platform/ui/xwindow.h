// The SDL window's X connection, when the window is on X. Xlib answers a
// broken connection, and any request the X server refuses, by ending the
// process from inside the library call; these handlers give both to the
// terminal's own ends instead.
#pragma once

struct SDL_Window;

// Installs the handlers for the connection of `window`; nothing when the
// window is not on X. A broken connection goes to DisplayGoneAway, unless
// the server still takes a new one: then it cut this one itself, and it
// goes to DisplayConnectionCut. A refused request that names the window as
// gone marks it destroyed too; any other refused request is logged and the
// terminal goes on.
void WatchXWindow(SDL_Window* window);
// True once the X server has said that the window no longer exists:
// another program destroyed it (`xdotool windowclose`).
bool XWindowDestroyed();
// Waits for the X server's answers to everything asked so far, so that the
// refusals among them come to the handler; SDL puts Xlib's own handler back
// before it closes the connection.
void SettleXWindow();
