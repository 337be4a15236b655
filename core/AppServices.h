// Services every subsystem calls: alarm prompts, the switch back to the
// desktop shell, the lock and bell outputs, the repeat-punch query and the
// wireless module's line.
#pragma once

#include "platform/base/COleDateTime.h"
#include "platform/base/CString.h"

void PlayFCCheckAlarm();
void PlayMCCheckAlarm();
// Starts the desktop shell; with `switchAutostart` 1 the shell also becomes
// the program started at boot.
int ShowDesktop(int switchAutostart);
// Shows and enables the shell's task bar when it exists.
void RestoreShellTaskBar();
// Kind 1 rings the bell (RING 1, 3), kind 2 opens the lock (RING 0, 2, 3).
int SetLockOutput(int kind);
// 1 when the user has a record within REATTIMEGAP minutes up to `time`.
int HasRecentRecord(CString userId, COleDateTime time);
void SetGpioG4();
void ClearGpioG4();
