// A lock for globals, made on first use and never freed: a global may take
// it while other globals are still being constructed or already destroyed.
// Each caller keeps its own in a function-local static:
//   static CRITICAL_SECTION& lock = NewPermanentLock();
#pragma once

#include "platform/base/sync.h"

inline CRITICAL_SECTION& NewPermanentLock() {
    auto* section = new CRITICAL_SECTION;
    InitializeCriticalSection(section);
    return *section;
}
