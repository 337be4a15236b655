// The data store's critical sections. Start-up creates them before the
// database is opened and before any thread that uses the data store starts.
#pragma once

#include "platform/base/sync.h"

// Around every SQLite prepare and step on the one connection, and around a
// whole transaction.
extern CRITICAL_SECTION g_csDatabase;
// Around the attendance-record ring's counters, cursors and range reads.
extern CRITICAL_SECTION g_csRecordStore;
// Around the slot writes of the fingerprint template store.
extern CRITICAL_SECTION g_csTemplateStore;

void InitDataStoreLocks();
void DeleteDataStoreLocks();

// Holds a critical section for the life of the object.
class CLockGuard {
public:
    explicit CLockGuard(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~CLockGuard() { LeaveCriticalSection(&m_cs); }
    CLockGuard(const CLockGuard&) = delete;
    CLockGuard& operator=(const CLockGuard&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

// Holds one of the data store's critical sections for the life of the
// object. The thread waits for it as for another program's lock
// (data/BusyTimeout.h): another thread may hold it through such a wait.
class CDataStoreLock {
public:
    explicit CDataStoreLock(CRITICAL_SECTION& cs);
    ~CDataStoreLock() { LeaveCriticalSection(&m_cs); }
    CDataStoreLock(const CDataStoreLock&) = delete;
    CDataStoreLock& operator=(const CDataStoreLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};
