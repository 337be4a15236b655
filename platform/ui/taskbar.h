// The shell's task bar, a window of class "HHTaskBar" along the bottom of
// the screen, and the soft input panel (its state journaled as kind
// "shell").
#pragma once

#include "platform/base/types.h"

#define SIPF_OFF 0x00000000u
#define SIPF_ON 0x00000001u

// Makes the shell's task bar (visible, enabled) when it does not exist yet;
// the program does this before its application starts, as the device's
// shell has done before it. Returns its window.
HWND StartShellTaskBar();

BOOL SipShowIM(DWORD flags);
