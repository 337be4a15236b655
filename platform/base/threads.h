// Threads, their priorities, suspension and thread-local storage.
//
// Thread identifiers are the host's thread ids; a thread handle is signalled
// when the thread has ended. Priorities use the device's eight levels
// (THREAD_PRIORITY_TIME_CRITICAL = 0 ... THREAD_PRIORITY_IDLE = 7) and the
// 256 levels of CeSetThreadPriority (248 + level for the eight); they are kept
// and reported back but not enforced on the host.
//
// Suspension: a thread that suspends itself stops at once until another
// thread resumes it. Suspending another thread takes effect when that thread
// next sleeps or waits through the platform (its next safe point), since the
// host offers no safe way to stop a thread where it stands.
//
// TerminateThread ends a thread's life as far as others can see: its handle
// is signalled at once with the given exit code. The thread itself stops for
// good at its next safe point; until then it runs on.
#pragma once

#include <thread>

#include "platform/base/types.h"

#define THREAD_PRIORITY_TIME_CRITICAL 0
#define THREAD_PRIORITY_HIGHEST 1
#define THREAD_PRIORITY_ABOVE_NORMAL 2
#define THREAD_PRIORITY_NORMAL 3
#define THREAD_PRIORITY_BELOW_NORMAL 4
#define THREAD_PRIORITY_LOWEST 5
#define THREAD_PRIORITY_ABOVE_IDLE 6
#define THREAD_PRIORITY_IDLE 7
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF
// CeSetThreadPriority level of THREAD_PRIORITY_TIME_CRITICAL.
#define CE_THREAD_PRIORITY_BASE 248

#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u
#define TLS_OUT_OF_INDEXES 0xFFFFFFFFu

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID parameter);
typedef UINT (*AFX_THREADPROC)(LPVOID parameter);

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, LPDWORD threadId);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
BOOL TerminateThread(HANDLE thread, DWORD exitCode);
// Previous suspend count, or 0xFFFFFFFF with the last error set.
DWORD SuspendThread(HANDLE thread);
DWORD ResumeThread(HANDLE thread);

BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
BOOL CeSetThreadPriority(HANDLE thread, int priority);
int CeGetThreadPriority(HANDLE thread);

// A pseudo-handle meaning "the calling thread" to the calls above; closing it
// does nothing.
HANDLE GetCurrentThread();
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

// The calling thread's safe point: stops here while the thread is suspended,
// and for good once it has been terminated. Sleep and the waits call it.
void ThreadSafePoint();

// Thread-local storage: at least 64 slots; a new slot reads null in every
// thread.
DWORD TlsAlloc();
BOOL TlsFree(DWORD index);
BOOL TlsSetValue(DWORD index, LPVOID value);
LPVOID TlsGetValue(DWORD index);

class CWnd;

// A thread in the manner of the class library. A worker thread runs its
// procedure; a thread without one runs InitInstance, then Run when that
// succeeded, and ExitInstance. The window system's threads derive from it.
class CWinThread {
public:
    CWinThread();
    CWinThread(AFX_THREADPROC procedure, LPVOID parameter);
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the host thread (suspended when flags hold CREATE_SUSPENDED).
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES attributes = nullptr);
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL SetThreadPriority(int priority);
    int GetThreadPriority();
    operator HANDLE() const { return m_hThread; }

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // Deletes the object when its thread ends (the handle closes with it).
    BOOL m_bAutoDelete = TRUE;
    CWnd* m_pMainWnd = nullptr;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    static DWORD Main(LPVOID self);
};

// Starts `procedure(parameter)` on a new worker thread at `priority`.
CWinThread* AfxBeginThread(AFX_THREADPROC procedure, LPVOID parameter, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES attributes = nullptr);
// Starts a CWinThread object made by the caller (the window system's threads).
CWinThread* AfxBeginThread(CWinThread* thread, int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                           DWORD flags = 0, LPSECURITY_ATTRIBUTES attributes = nullptr);
// The CWinThread running the calling thread, or null for other threads.
CWinThread* AfxGetThread();

// Starts `procedure(parameter)` on a new host thread held by `thread`. False
// when the system has no thread to give (where std::thread would throw),
// with errno set.
bool StartHostThread(std::thread& thread, void (*procedure)(void*), void* parameter);

// Tests: every start of a thread that runs `procedure` (an AfxBeginThread,
// CreateThread or StartHostThread procedure) fails from now on as it fails
// when the system has no thread to give. Null: none fails.
void RefuseThreadStartsOf(const void* procedure);
