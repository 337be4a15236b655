// The system's own message box: a modal dialog in front of every other
// window (splash screens included) with the text, centred on the screen,
// and an OK button (MB_OK) or Yes and No (MB_YESNO). Enter presses the
// framed button, the arrows move the frame, Esc answers No (OK for a box
// with one button), a tap presses a button. While it shows, a script's
// "answer" reaches it (see WaitingMessageBox).
#pragma once

#include "platform/ui/winuser.h"

#define MB_OK 0x00000000u
#define MB_YESNO 0x00000004u
#define MB_ICONQUESTION 0x00000020u

// IDOK, IDYES or IDNO. Runs on the user-interface thread.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
