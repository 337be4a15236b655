#include "core/ProcessExit.h"

#include <cstdio>
#include <cstdlib>

#include "core/DebugLog.h"
#include "platform/ui/script.h"

void EndProcess(UINT code) {
    GetLogger().Close();
    std::fflush(nullptr);
    if (code == kExitNormal && ScriptFailed()) code = kExitUsage;
    std::_Exit(static_cast<int>(code));
}
