// Kernel and component calls the terminal makes at start-up that have
// nothing to set on this host: each is written to the journal (kind
// "system") so that tests see that and when it was made, and succeeds.
#pragma once

#include "platform/base/types.h"

inline constexpr char kJournalSystem[] = "system";

// Splits the device's RAM between object store and programs, in pages.
BOOL SetSystemMemoryDivision(DWORD storePages);

#define COINIT_MULTITHREADED 0x0
typedef LONG HRESULT;
#define S_OK ((HRESULT)0)
// Makes the calling thread ready for component calls.
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
