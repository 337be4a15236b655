// The process-wide locks made before any thread that uses them starts.
#pragma once

#include "platform/base/sync.h"

// One fingerprint capture and its image buffers.
extern CRITICAL_SECTION g_csCapture;
// Each command-and-reply exchange with the I/O controller, and each read
// pass of its reader thread.
extern CRITICAL_SECTION g_csIoController;

// Makes these and the data store's locks; a second call does nothing.
void InitSystemLocks();
void DeleteLocks();
