// The input queue: touches and keys from the back ends, the script driver and
// keybd_event, in arrival order, turned into window messages when the
// user-interface thread retrieves them (so each goes to the window that has
// the focus or lies under the finger at that moment). Keys and touches that
// come during long work on the user-interface thread are dropped (longwork.h).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/base/types.h"
#include "platform/ui/messages.h"

enum class TouchAction { Down, Move, Up };

// Thread-safe; screen coordinates are clipped to the screen.
void InjectKey(BYTE vk, bool down);
void InjectTouch(POINT screen, TouchAction action);

// The sequence number of the oldest input event, if any (caller holds
// WindowLock).
std::optional<uint64_t> OldestInputSequence();
// Removes the oldest input event, passes keys through the low-level keyboard
// hooks, and routes it. Returns the message to deliver, or nothing when a
// hook swallowed it or no window takes it. Call without WindowLock.
std::optional<MSG> TakeInputMessage();
// Drops every input event not yet retrieved, and forgets the presses whose
// ends are to be dropped.
void ClearInputQueue();

// The key's press was taken by a window that ended with it (a box that
// closed on the press): the key's auto-repeats and its release, queued or
// still to come, are dropped, as those of a press dropped during long work
// are, so that the window below (a second box) does not take them for its
// own. Nothing when the key is not down.
void DropEndsOfTakenPress(BYTE vk);

// A dying window's tracking request ends (caller holds WindowLock).
void ForgetMouseTracking(HWND hwnd);

// Runs the low-level keyboard hooks for one key; true when one of them
// swallowed it. Call without WindowLock.
bool RunKeyboardHooks(BYTE vk, bool down, DWORD time);
