#include "core/ProcessExit.h"

#include <cstdio>
#include <cstdlib>

#include "core/DebugLog.h"

void EndProcess(UINT code) {
    GetLogger().Close();
    std::fflush(nullptr);
    std::_Exit(static_cast<int>(code));
}
