// Locks and waitable kernel objects: critical sections, events, mutexes and
// the waits on them, with the platform's semantics.
//
// Waits end on the terminal's clock (platform/base/clock.h): in virtual time
// a time-out ends when the virtual clock has moved that far, or after the
// same span of real time at the latest.
//
// Named objects: within one process a second CreateEvent or CreateMutex with
// the same name opens the same object and leaves ERROR_ALREADY_EXISTS; a name
// used by an object of the other kind fails with ERROR_INVALID_HANDLE.
// A named MUTEX is also seen by other processes that use the same device
// root: each process holding it keeps a lock on the file
//   $XDG_RUNTIME_DIR (else /tmp) / quillon-mutex-<hash>.lock
// where <hash> is taken from the device root and the name, so terminals run
// from different device roots (parallel tests) never meet. A process whose
// CreateMutex finds the name held by another process gets a handle and
// ERROR_ALREADY_EXISTS. Across processes only the name's existence is shared:
// ownership (waiting, ReleaseMutex) excludes the threads of one process.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/base/handle.h"
#include "platform/base/types.h"

#ifndef ERROR_NOT_OWNER
#define ERROR_NOT_OWNER 288L
#endif
#define MAXIMUM_WAIT_OBJECTS 64

// A recursive lock for the threads of one process. A section is usable from
// its construction: a thread that enters a global section before
// InitializeCriticalSection has run (a worker started early in the start-up)
// gets the lock that InitializeCriticalSection then keeps. Delete frees it.
struct CRITICAL_SECTION {
    std::atomic<std::recursive_timed_mutex*> lock{nullptr};
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
// Waits up to `ms` milliseconds for the section; TRUE once entered.
BOOL TryEnterCriticalSectionFor(LPCRITICAL_SECTION section, DWORD ms);
void LeaveCriticalSection(LPCRITICAL_SECTION section);

// A kernel object that threads can wait for. The state is guarded by one
// process-wide lock, so that a wait for several objects sees them together.
class WaitableObject : public KernelObject {
public:
    DWORD Wait(DWORD timeoutMs) override;

    // Both called with the kernel lock held, on behalf of `threadId`.
    virtual bool IsSignaledFor(DWORD threadId) const = 0;
    // Takes what a satisfied wait consumes (an auto-reset event's signal, a
    // mutex's ownership).
    virtual void Acquire(DWORD threadId) { (void)threadId; }

protected:
    // Runs `change` under the kernel lock and wakes the waiters.
    template <class Change>
    static void ChangeState(Change change);
    static std::mutex& KernelLock();
    static void WakeWaiters();
};

template <class Change>
void WaitableObject::ChangeState(Change change) {
    {
        std::lock_guard<std::mutex> lock(KernelLock());
        change();
    }
    WakeWaiters();
}

// Events.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    return CreateEventW(attributes, manualReset, initialState, name);
}
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Mutexes (recursive ownership by one thread).
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
inline HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name) {
    return CreateMutexW(attributes, initialOwner, name);
}
BOOL ReleaseMutex(HANDLE mutex);

// WAIT_OBJECT_0 (+ index), WAIT_TIMEOUT, or WAIT_FAILED with the last error
// set (a bad handle, a handle that cannot be waited for, a bad count).
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs);

LONG InterlockedIncrement(LONG volatile* value);
LONG InterlockedDecrement(LONG volatile* value);
LONG InterlockedExchange(LONG volatile* target, LONG value);
LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand);
