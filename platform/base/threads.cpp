#include "platform/base/threads.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <system_error>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/sync.h"

namespace {

// What the platform knows of one thread, whether it started it or not.
struct ThreadState {
    DWORD id = 0;
    std::atomic<int> cePriority{CE_THREAD_PRIORITY_BASE + THREAD_PRIORITY_NORMAL};
    // Guarded by SuspendCondition().
    DWORD suspendCount = 0;
    bool terminated = false;
};

// Suspended and terminated threads wait here.
ClockCondition& SuspendCondition() {
    static ClockCondition& condition = *new ClockCondition;  // outlives detached threads
    return condition;
}

std::atomic<DWORD> g_nextThreadId{1};

std::atomic<const void*> g_refusedProcedure{nullptr};

bool StartRefused(const void* procedure) { return procedure && procedure == g_refusedProcedure.load(); }

// pthread_create for a thread that runs `procedure`: its error number, 0
// when it started.
int CreateHostThread(pthread_t* host, void* (*main)(void*), void* argument, const void* procedure) {
    if (StartRefused(procedure)) return EAGAIN;
    return pthread_create(host, nullptr, main, argument);
}

thread_local std::shared_ptr<ThreadState> t_self;

ThreadState& Self() {
    if (!t_self) {
        t_self = std::make_shared<ThreadState>();
        t_self->id = g_nextThreadId.fetch_add(1);
    }
    return *t_self;
}

HANDLE const kCurrentThreadPseudoHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));

// The handle side of a thread: signalled when the thread has ended.
class ThreadObject : public WaitableObject {
public:
    ThreadObject(std::shared_ptr<ThreadState> state, LPTHREAD_START_ROUTINE start, LPVOID parameter)
        : m_state(std::move(state)), m_start(start), m_parameter(parameter) {}

    bool IsSignaledFor(DWORD) const override { return m_ended; }

    std::shared_ptr<ThreadState> State() const { return m_state; }
    DWORD ExitCode() {
        std::lock_guard<std::mutex> lock(KernelLock());
        return m_ended ? m_exitCode : STILL_ACTIVE;
    }
    // The first end counts: a thread terminated before it returns keeps the
    // exit code it was terminated with.
    bool End(DWORD exitCode) {
        bool first = false;
        ChangeState([&] {
            first = !m_ended;
            if (first) {
                m_ended = true;
                m_exitCode = exitCode;
            }
        });
        return first;
    }

    static void* Main(void* self) {
        auto* thread = static_cast<ThreadObject*>(self);
        t_self = thread->m_state;
        ThreadSafePoint();
        thread->End(thread->m_start(thread->m_parameter));
        thread->Release();
        return nullptr;
    }

private:
    std::shared_ptr<ThreadState> m_state;
    LPTHREAD_START_ROUTINE m_start;
    LPVOID m_parameter;
    bool m_ended = false;
    DWORD m_exitCode = STILL_ACTIVE;
};

// The state of the thread a handle names (the pseudo-handle included).
std::shared_ptr<ThreadState> StateOf(HANDLE handle) {
    if (handle == kCurrentThreadPseudoHandle) {
        Self();
        return t_self;
    }
    auto* thread = ObjectFromHandleAs<ThreadObject>(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return thread->State();
}

// CreateThread for a thread that runs `procedure` (for a CWinThread, its
// procedure rather than the class's own start).
HANDLE CreateThreadRunning(LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD threadId,
                           const void* procedure) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto state = std::make_shared<ThreadState>();
    state->id = g_nextThreadId.fetch_add(1);
    state->suspendCount = (flags & CREATE_SUSPENDED) ? 1 : 0;
    auto* thread = new ThreadObject(state, start, parameter);
    HANDLE handle = MakeHandle(thread);
    thread->AddRef();  // the running thread's own reference
    pthread_t host;
    if (CreateHostThread(&host, &ThreadObject::Main, thread, procedure) != 0) {
        thread->Release();
        CloseHandle(handle);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    pthread_detach(host);
    if (threadId) *threadId = state->id;
    SetLastError(ERROR_SUCCESS);
    return handle;
}

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    LPDWORD threadId) {
    return CreateThreadRunning(start, parameter, flags, threadId, reinterpret_cast<const void*>(start));
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
    auto* thread = ObjectFromHandleAs<ThreadObject>(handle);
    if (!thread || !exitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *exitCode = thread->ExitCode();
    return TRUE;
}

BOOL TerminateThread(HANDLE handle, DWORD exitCode) {
    auto* thread = ObjectFromHandleAs<ThreadObject>(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (thread->End(exitCode)) {
        ClockCondition& condition = SuspendCondition();
        {
            std::lock_guard<std::mutex> lock(condition.Mutex());
            thread->State()->terminated = true;
        }
        condition.NotifyAll();
    }
    if (thread->State().get() == t_self.get()) ThreadSafePoint();
    return TRUE;
}

DWORD SuspendThread(HANDLE handle) {
    auto state = StateOf(handle);
    if (!state) return 0xFFFFFFFFu;
    DWORD previous;
    {
        std::lock_guard<std::mutex> lock(SuspendCondition().Mutex());
        previous = state->suspendCount++;
    }
    if (state == t_self) ThreadSafePoint();
    return previous;
}

DWORD ResumeThread(HANDLE handle) {
    auto state = StateOf(handle);
    if (!state) return 0xFFFFFFFFu;
    ClockCondition& condition = SuspendCondition();
    DWORD previous;
    {
        std::lock_guard<std::mutex> lock(condition.Mutex());
        previous = state->suspendCount;
        if (previous) --state->suspendCount;
    }
    condition.NotifyAll();
    return previous;
}

void ThreadSafePoint() {
    ThreadState& self = Self();
    ClockCondition& condition = SuspendCondition();
    std::unique_lock<std::mutex> lock(condition.Mutex());
    condition.WaitUntil(lock, kNoDeadline, [&] { return self.suspendCount == 0 && !self.terminated; });
}

BOOL CeSetThreadPriority(HANDLE handle, int priority) {
    if (priority < 0 || priority > 255) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto state = StateOf(handle);
    if (!state) return FALSE;
    state->cePriority = priority;
    return TRUE;
}

int CeGetThreadPriority(HANDLE handle) {
    auto state = StateOf(handle);
    return state ? state->cePriority.load() : THREAD_PRIORITY_ERROR_RETURN;
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
    if (priority < THREAD_PRIORITY_TIME_CRITICAL || priority > THREAD_PRIORITY_IDLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return CeSetThreadPriority(handle, CE_THREAD_PRIORITY_BASE + priority);
}

int GetThreadPriority(HANDLE handle) {
    int ce = CeGetThreadPriority(handle);
    if (ce == THREAD_PRIORITY_ERROR_RETURN) return ce;
    // Levels above the eight report as the highest of them.
    return ce < CE_THREAD_PRIORITY_BASE ? THREAD_PRIORITY_TIME_CRITICAL : ce - CE_THREAD_PRIORITY_BASE;
}

HANDLE GetCurrentThread() {
    return kCurrentThreadPseudoHandle;
}

DWORD GetCurrentThreadId() {
    return Self().id;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

// ---- thread-local storage ---------------------------------------------------

namespace {

constexpr DWORD kTlsSlots = 64;

// A slot's generation changes with every allocation, so that a value left in
// a thread from the slot's previous use reads as null.
std::mutex g_tlsLock;
bool g_tlsUsed[kTlsSlots];
std::atomic<unsigned> g_tlsGeneration[kTlsSlots];

struct TlsValue {
    LPVOID value = nullptr;
    unsigned generation = 0;
};
thread_local TlsValue t_tls[kTlsSlots];

bool TlsSlotInUse(DWORD index) {
    if (index >= kTlsSlots) return false;
    std::lock_guard<std::mutex> lock(g_tlsLock);
    return g_tlsUsed[index];
}

}  // namespace

DWORD TlsAlloc() {
    std::lock_guard<std::mutex> lock(g_tlsLock);
    for (DWORD i = 0; i < kTlsSlots; ++i) {
        if (!g_tlsUsed[i]) {
            g_tlsUsed[i] = true;
            g_tlsGeneration[i].fetch_add(1);
            return i;
        }
    }
    SetLastError(ERROR_NO_MORE_ITEMS);
    return TLS_OUT_OF_INDEXES;
}

BOOL TlsFree(DWORD index) {
    std::lock_guard<std::mutex> lock(g_tlsLock);
    if (index >= kTlsSlots || !g_tlsUsed[index]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    g_tlsUsed[index] = false;
    return TRUE;
}

BOOL TlsSetValue(DWORD index, LPVOID value) {
    if (!TlsSlotInUse(index)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    t_tls[index] = {value, g_tlsGeneration[index].load()};
    return TRUE;
}

LPVOID TlsGetValue(DWORD index) {
    if (!TlsSlotInUse(index)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    const TlsValue& slot = t_tls[index];
    return slot.generation == g_tlsGeneration[index].load() ? slot.value : nullptr;
}

// ---- CWinThread -------------------------------------------------------------

namespace {
thread_local CWinThread* t_winThread = nullptr;
}

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC procedure, LPVOID parameter)
    : m_pfnThreadProc(procedure), m_pThreadParams(parameter) {}

CWinThread::~CWinThread() {
    if (m_hThread) CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT, LPSECURITY_ATTRIBUTES) {
    m_hThread = CreateThreadRunning(&CWinThread::Main, this, flags, &m_nThreadID,
                                    reinterpret_cast<const void*>(m_pfnThreadProc));
    return m_hThread != nullptr;
}

DWORD CWinThread::Main(LPVOID self) {
    auto* thread = static_cast<CWinThread*>(self);
    t_winThread = thread;
    DWORD exitCode;
    if (thread->m_pfnThreadProc) {
        exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } else if (thread->InitInstance()) {
        exitCode = static_cast<DWORD>(thread->Run());
    } else {
        exitCode = static_cast<DWORD>(thread->ExitInstance());
    }
    t_winThread = nullptr;
    if (thread->m_bAutoDelete) delete thread;
    return exitCode;
}

DWORD CWinThread::SuspendThread() {
    return ::SuspendThread(m_hThread);
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int priority) {
    return ::SetThreadPriority(m_hThread, priority);
}

int CWinThread::GetThreadPriority() {
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::Run() {
    return ExitInstance();
}

int CWinThread::ExitInstance() {
    return 0;
}

CWinThread* AfxBeginThread(CWinThread* thread, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES attributes) {
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize, attributes)) {
        if (thread->m_bAutoDelete) delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(flags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

CWinThread* AfxBeginThread(AFX_THREADPROC procedure, LPVOID parameter, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES attributes) {
    return AfxBeginThread(new CWinThread(procedure, parameter), priority, stackSize, flags, attributes);
}

CWinThread* AfxGetThread() {
    return t_winThread;
}

bool StartHostThread(std::thread& thread, void (*procedure)(void*), void* parameter) {
    if (StartRefused(reinterpret_cast<const void*>(procedure))) {
        errno = EAGAIN;
        return false;
    }
    try {
        thread = std::thread(procedure, parameter);
    } catch (const std::system_error& error) {
        errno = error.code().value();
        return false;
    }
    return true;
}

void RefuseThreadStartsOf(const void* procedure) { g_refusedProcedure = procedure; }
