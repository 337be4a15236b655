#include "core/SystemLocks.h"

#include "data/DataLocks.h"

CRITICAL_SECTION g_csCapture;
CRITICAL_SECTION g_csIoController;

namespace {
bool g_locksMade = false;
}

void InitSystemLocks() {
    if (g_locksMade) return;
    g_locksMade = true;
    InitializeCriticalSection(&g_csCapture);
    InitializeCriticalSection(&g_csIoController);
    InitDataStoreLocks();
}

void DeleteLocks() {
    if (!g_locksMade) return;
    g_locksMade = false;
    DeleteDataStoreLocks();
    DeleteCriticalSection(&g_csIoController);
    DeleteCriticalSection(&g_csCapture);
}
