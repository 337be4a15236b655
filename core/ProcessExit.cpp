#include "core/ProcessExit.h"

#include <cstdio>
#include <cstdlib>

#include "core/DebugLog.h"
#include "data/BusyTimeout.h"
#include "data/DataGlobals.h"
#include "data/DbSqlite.h"
#include "platform/base/atomic_file.h"
#include "platform/ui/script.h"

void EndProcess(UINT code) {
    // Every write goes into the database file, which then holds all of it;
    // but the end waits on nobody: what another program's lock keeps in the
    // log stays there for the next start.
    StopWaitingForOtherPrograms();
    if (g_pDatabase) g_pDatabase->Close();
    EndProcessLeavingDatabase(code);
}

void EndProcessLeavingDatabase(UINT code) {
    // A copy or a file being replaced when the end came keeps its old file.
    RemoveUnfinishedTemporaries();
    GetLogger().Close();
    std::fflush(nullptr);
    if (code == kExitNormal && ScriptFailed()) code = kExitUsage;
    std::_Exit(static_cast<int>(code));
}
