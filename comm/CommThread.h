// The communication thread: builds the link the settings choose, runs it
// until a restart is asked for, closes it, waits 4 s and builds it again.
// The link sends the frames handed to it; the command protocol itself does
// not run on it in this build.
#pragma once

#include "platform/base/types.h"

UINT CommThread(LPVOID mainWindow);
// Ends the thread after its current link (tests, program end).
void StopCommThread();
