#include "data/DataLocks.h"

#include "data/BusyTimeout.h"

CRITICAL_SECTION g_csDatabase;
CRITICAL_SECTION g_csRecordStore;
CRITICAL_SECTION g_csTemplateStore;

void InitDataStoreLocks() {
    InitializeCriticalSection(&g_csDatabase);
    InitializeCriticalSection(&g_csRecordStore);
    InitializeCriticalSection(&g_csTemplateStore);
}

void DeleteDataStoreLocks() {
    DeleteCriticalSection(&g_csTemplateStore);
    DeleteCriticalSection(&g_csRecordStore);
    DeleteCriticalSection(&g_csDatabase);
}

CDataStoreLock::CDataStoreLock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterWhileOtherProgramsWait(m_cs); }
