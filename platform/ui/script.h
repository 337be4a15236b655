// The script driver: everything a person does at the terminal, as text.
//
//   tap X Y           a finger touches (X, Y) and lifts
//   key NAME          a keypad key is pressed and released; keydown NAME and
//                     keyup NAME do one half. NAME: ESC ENTER UP DOWN LEFT
//                     RIGHT BACK F1..F12 MENU 0-9 STAR HASH
//   finger PATH       a finger image lies on the sensor; lift takes it away
//   card HEX          the I/O controller reports a card
//   answer yes|no|ok  answers the message box showing, else the next one
//   wait MS           lets MS milliseconds pass (virtual time when the clock
//                     is virtual: timers run in order, no real waiting)
//   shot FILE.png     writes the screen as it stands
//   quit              ends the program's message loop
// Blank lines and lines starting with '#' are skipped. Each command runs
// when the user-interface thread is idle (no sent, posted, input, paint or
// due timer message left), so it sees the screen the last one left.
//
// finger, lift, card, answer and goto (goto NODE: the control panel shows
// that menu node) belong to other layers: they register a handler under the
// command's name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/types.h"

class ScriptDriver {
public:
    // Arguments after the command name; an error text for a failure.
    using Handler = std::function<bool(const std::vector<std::string>& args, std::string* error)>;
    static void RegisterCommand(const std::string& name, Handler handler);

    // The virtual-key code of a key name, 0 when unknown.
    static BYTE KeyCode(const std::string& name);

    // Runs one command now. `wait` only arms the wait (see Waiting); tap and
    // key queue their input. False with an error text for a bad command.
    bool Execute(const std::string& line, std::string* error);
    // True while a wait has time left. In virtual time, moves the clock to
    // the next due timer (or the end of the wait) and returns true, so the
    // caller processes what became due.
    bool Waiting();

    // Processes messages on the calling thread until it is idle, through
    // the application's pre-translation when there is an application.
    static void PumpUntilIdle();

    bool QuitRequested() const { return m_quit; }

private:
    uint64_t m_waitUntil = 0;
    bool m_waiting = false;
    bool m_quit = false;
    UINT_PTR m_wakeTimer = 0;
};

// Runs `lines` on the calling (user-interface) thread as it goes idle, in
// whatever message loop is running then (a modal dialog's too). `quit` posts
// WM_QUIT, and so does the end of the script when `quitAtEnd`. An error
// stops the script: it is written to standard error and WM_QUIT is posted
// with exit code 2. The script starts at line `firstLine` (counted from 0;
// errors still name the file's line numbers).
void RunScriptWhenIdle(std::vector<std::string> lines, bool quitAtEnd, size_t firstLine = 0);
// The same for a script file; false when it cannot be read. In a program
// that replaced a scripted one (HandScriptPlaceToRestart), the script goes
// on where that one stopped.
bool RunScriptFileWhenIdle(const std::string& hostPath, bool quitAtEnd);

// A restart of the program was asked for: the script takes no further line
// for up to a second of real time, so that the restarted program,
// not this one, runs the rest. A program that is not restarted goes on.
void HoldScriptForRestart();
// Called just before the program replaces itself (exec): the running
// script's place goes to the new program through its environment.
void HandScriptPlaceToRestart();
// True while a script runs on the calling thread: a box that waits for a
// person's answer waits for the script's there.
bool ScriptRunsOnThisThread();
// True once a script has failed: a bad command, or its end (or quit) while
// a message box still waited for an answer. The program's exit status says
// so.
bool ScriptFailed();

// A message box that waits for its answer, for as long as the object
// lives: "answer" reaches it while it shows (`answer` receives IDOK, IDYES
// or IDNO), and a script that ends meanwhile fails, naming the box by its
// text. Boxes shown over one another stack; the top one is answered.
class WaitingMessageBox {
public:
    WaitingMessageBox(std::string text, std::function<void(int answer)> answer);
    ~WaitingMessageBox();
    WaitingMessageBox(const WaitingMessageBox&) = delete;
    WaitingMessageBox& operator=(const WaitingMessageBox&) = delete;
};
// Gives `answer` to the box showing on top; false when no box shows.
bool AnswerShowingMessageBox(int answer);
// The text of the box showing on top, empty when none shows.
std::string ShowingMessageBoxText();
