// The calling thread's last error, as the platform's calls leave it.
#pragma once

#include "platform/base/types.h"

DWORD GetLastError();
void SetLastError(DWORD error);
// Maps a host errno value to the platform's error code.
DWORD ErrorFromErrno(int error);
