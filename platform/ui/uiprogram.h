// What every program with a screen does with its command line: choose the
// back end (--headless, --window; default: a window when a display exists)
// and optionally run a script (--script FILE, in virtual time, ending the
// program after its last line).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/display.h"

struct UiOptions {
    DisplayMode display = DisplayMode::Auto;
    std::string script;
};

// Takes the options above out of `args` (the program's arguments without
// its name) and leaves the others in order. False with an error text for a
// --script without a file, or --headless with --window.
bool TakeUiOptions(std::vector<std::string>& args, UiOptions* options, std::string* error);

// Starts the back end on the calling (user-interface) thread and arms the
// script. False with an error text when a window is wanted (asked for, or
// a display exists) and cannot be opened (`displayFailed` then tells so),
// or when the script cannot be read.
bool StartUi(const UiOptions& options, std::string* error, bool* displayFailed = nullptr);
