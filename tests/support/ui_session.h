// The window system set up for one test, and the script driver in-process.
//
// A session runs on the test's thread, which becomes the user-interface
// thread; the clock is virtual and owned by it, the screen is headless. At
// the end every window the test left is destroyed and queued input, idle
// scripts and pending quits are dropped, so tests do not see each other.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/script.h"

class UiSession {
public:
    UiSession();
    ~UiSession();
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    // Runs one script command and then the UI until it is idle again
    // (a wait runs the timers that fall due, in virtual time). A bad command
    // fails the test.
    void Run(const std::string& line);
    // Processes every message that is ready.
    void Pump();
    // Runs `lines` when the UI goes idle inside a loop the test starts next
    // (a modal dialog's); a trailing "quit" keeps a dialog that fails to
    // close from hanging the test.
    void RunWhenIdle(std::vector<std::string> lines);

private:
    ScriptDriver m_driver;
};
