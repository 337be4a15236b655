// Long work on the user-interface thread: an import, an export or a copy
// that runs inside a button's handler and does not go back to a message loop
// until it is over. Meanwhile the screen only shows its progress: a person
// cannot see what a key or a tap would hit once the work is over (the notice
// of its result, the page behind it), so the keypad's keys and the screen's
// touches that come meanwhile are dropped, not kept for afterwards. The
// window is still painted, and its close is obeyed at once.
#pragma once

#include <functional>

#include "platform/base/types.h"
#include "platform/ui/input.h"

// Called by the work at each of its records or blocks, on the
// user-interface thread. The thread is in long work from the first step
// until it next looks at its messages (a message box, or its message loop).
// The window's events are taken in every few hundredths of a second (keys
// and touches dropped, the close obeyed), and when an end has been asked for
// (the window's close, a stop signal) the end handler ends the terminal
// here, between two records.
void LongWorkStep();
// While one lives, the work of its thread has a note of how far it came,
// which the end writes should it cut the work, wherever it comes: between
// two records, or once a wait inside the database library is over.
class CLongWorkEndNote {
public:
    explicit CLongWorkEndNote(std::function<void()> note);
    ~CLongWorkEndNote();
    CLongWorkEndNote(const CLongWorkEndNote&) = delete;
    CLongWorkEndNote& operator=(const CLongWorkEndNote&) = delete;

private:
    CLongWorkEndNote* m_outer;
    std::function<void()> m_note;
    friend void WriteLongWorkEndNote();
};
// Called by the end: writes the note of the work under way on this thread,
// when it has one, and only once.
void WriteLongWorkEndNote();
// The same step without the end, for work that cannot be cut where it
// stands (a wait inside the database library): true when an end has been
// asked for, which the work obeys once it can.
bool LongWorkLook();
// The thread looks at its messages again: whatever the window's events
// still hold from the work is dropped, and the long work is over. Called by
// the message retrieval; nothing on a thread that is not in long work.
void LongWorkOver();
bool InLongWork();

// What ends the terminal when an end is asked for during long work; it does
// not return. Without one the work goes on and the end comes after it.
void SetLongWorkEndHandler(std::function<void()> handler);

// For the input queue, from any thread: true when the key event is to be
// dropped. A press during long work is, and so are the auto-repeats and the
// release of a press that was dropped, whenever they come (also after the
// work): a key ends as its press began. A key already down before the work
// keeps its release.
bool DropKeyOfLongWork(BYTE vk, bool down);
// The same for a touch: a finger put down during long work is dropped with
// its moves and its lift.
bool DropTouchOfLongWork(TouchAction action);
