// The plain message box of start-up, shown before the skinned box can be:
// the text goes to the journal of message boxes (and so to the log of a
// scripted run). In a scripted run the box waits while the script goes on
// until it gives "answer yes|no|ok"; without one (no script, or it quits or
// ends first) the answer is the safe one (OK, or No for a question).
#pragma once

#include "platform/base/types.h"

#define MB_OK 0x00000000u
#define MB_YESNO 0x00000004u
#define MB_ICONQUESTION 0x00000020u

int AfxMessageBox(LPCWSTR text, UINT type = MB_OK);

// The answer for the next box (IDOK, IDYES or IDNO), queued in order.
void QueueMessageBoxAnswer(int answer);
// The next queued answer, or `fallback` when none is queued.
int TakeMessageBoxAnswer(int fallback);
