// The modal message box of the whole system: one button (result 1) or two
// (IDYES or IDNO), shown by the skinned box CLDMessageBox on the
// user-interface thread, from any page and from inside a page's leave
// handling (the box centres on whatever owner is left, or the screen).
//
// From another thread the message is handed to the user-interface thread:
// a one-button notice is posted and the worker goes on at once (result 1);
// a question waits for its answer. Without a display (tools, start-up before
// the screen, tests of other layers), or before the settings name the skin
// folder, the plain system box (AfxMessageBox) shows the text instead.
#pragma once

#include "platform/base/CString.h"

#define IDYES 6
#define IDNO 7

int ShowMessage(CString text, int twoButtons);
int ShowMessageEx(CString text, int twoButtons);

// Makes the window that receives messages from other threads; runs on the
// user-interface thread (ShowMessage there makes it too). Start-up calls it
// once the display runs, so a worker's first message has somewhere to go.
void PrepareMessageRelay();
