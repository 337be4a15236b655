// The plain message box of start-up, shown before the skinned box can be:
// the platform's system box (platform/ui/msgbox.h), in front of every
// window. It shows on the user-interface thread when a person or a script
// can answer it (a window, or a script running); headless without a script,
// or from another thread, the answer is at once the queued one or else the
// safe one (OK, or No for a question).
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/msgbox.h"

int AfxMessageBox(LPCWSTR text, UINT type = MB_OK);

// Every box, plain or skinned, tells its text: to the message-box journal,
// and as one line "message box: TEXT" on standard error.
void ReportMessageBox(const CString& text);

// The answer for the next box (IDOK, IDYES or IDNO), queued in order.
void QueueMessageBoxAnswer(int answer);
// The next queued answer, or `fallback` when none is queued.
int TakeMessageBoxAnswer(int fallback);
