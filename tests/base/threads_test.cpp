#include "platform/base/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "platform/base/lasterror.h"
#include "platform/base/sync.h"

namespace {

DWORD WaitThenReturn(LPVOID parameter) {
    WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE);
    return 17;
}

TEST(Thread, HandleIsSignalledWithTheExitCodeWhenTheThreadEnds) {
    HANDLE go = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, go, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 17u);
    CloseHandle(thread);
    CloseHandle(go);
}

struct SelfSuspending {
    std::atomic<bool> resumed{false};
    static DWORD Run(LPVOID parameter) {
        auto* self = static_cast<SelfSuspending*>(parameter);
        SuspendThread(GetCurrentThread());
        self->resumed = true;
        return 0;
    }
};

TEST(Thread, ThreadThatSuspendsItselfStopsUntilResumed) {
    SelfSuspending state;
    HANDLE thread = CreateThread(nullptr, 0, SelfSuspending::Run, &state, 0, nullptr);
    // ResumeThread reports the count it found: 0 until the thread has
    // suspended itself.
    DWORD previous;
    do {
        EXPECT_FALSE(state.resumed);
        previous = ResumeThread(thread);
        std::this_thread::yield();
    } while (previous == 0);
    EXPECT_EQ(previous, 1u);
    WaitForSingleObject(thread, INFINITE);
    EXPECT_TRUE(state.resumed);
    CloseHandle(thread);
}

DWORD ReturnPriority(LPVOID) {
    return static_cast<DWORD>(GetThreadPriority(GetCurrentThread()));
}

TEST(Thread, CreatedSuspendedRunsOnlyAfterResume) {
    HANDLE thread = CreateThread(nullptr, 0, ReturnPriority, nullptr, CREATE_SUSPENDED, nullptr);
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_LOWEST));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    EXPECT_EQ(ResumeThread(thread), 1u);
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, static_cast<DWORD>(THREAD_PRIORITY_LOWEST)) << "the priority was set before it ran";
    CloseHandle(thread);
}

TEST(Thread, PrioritiesAreKeptInBothScales) {
    HANDLE self = GetCurrentThread();
    int saved = CeGetThreadPriority(self);
    EXPECT_TRUE(SetThreadPriority(self, THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(CeGetThreadPriority(self), CE_THREAD_PRIORITY_BASE + 1);
    EXPECT_TRUE(CeSetThreadPriority(self, CE_THREAD_PRIORITY_BASE + 6));
    EXPECT_EQ(GetThreadPriority(self), THREAD_PRIORITY_ABOVE_IDLE);
    EXPECT_TRUE(CeSetThreadPriority(self, 100));
    EXPECT_EQ(GetThreadPriority(self), THREAD_PRIORITY_TIME_CRITICAL);
    EXPECT_FALSE(SetThreadPriority(self, 8));
    EXPECT_FALSE(CeSetThreadPriority(self, 256));
    EXPECT_EQ(CeGetThreadPriority(self), 100);
    CeSetThreadPriority(self, saved);
}

TEST(Thread, TerminatedThreadIsEndedForItsWaiters) {
    HANDLE never = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, never, 0, nullptr);
    EXPECT_TRUE(TerminateThread(thread, 42));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 42u);
    SetEvent(never);  // it returns 17 on its way out: the first end counts
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 42u);
    CloseHandle(thread);
    CloseHandle(never);  // the worker holds its own reference while it waits
}

TEST(Tls, SlotsArePerThreadAndStartNullAfterReuse) {
    DWORD slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    int value = 0;
    EXPECT_TRUE(TlsSetValue(slot, &value));
    EXPECT_EQ(TlsGetValue(slot), &value);
    std::thread([&] {
        EXPECT_EQ(TlsGetValue(slot), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    }).join();
    EXPECT_TRUE(TlsFree(slot));
    EXPECT_FALSE(TlsSetValue(slot, &value));
    DWORD again = TlsAlloc();
    EXPECT_EQ(again, slot);
    EXPECT_EQ(TlsGetValue(again), nullptr);
    TlsFree(again);
}

class CountingThread : public CWinThread {
public:
    BOOL InitInstance() override {
        m_sawItself = AfxGetThread() == this;
        return TRUE;
    }
    int Run() override { return 7; }
    bool m_sawItself = false;
};

TEST(WinThread, RunsInitInstanceThenRunAndReportsTheExitCode) {
    auto* thread = new CountingThread;
    thread->m_bAutoDelete = FALSE;
    ASSERT_EQ(AfxBeginThread(thread, THREAD_PRIORITY_ABOVE_NORMAL, 0, CREATE_SUSPENDED), thread);
    EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_ABOVE_NORMAL);
    EXPECT_NE(thread->m_nThreadID, 0u);
    thread->ResumeThread();
    WaitForSingleObject(thread->m_hThread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(code, 7u);
    EXPECT_TRUE(thread->m_sawItself);
    delete thread;
}

UINT CountRun(LPVOID parameter) {
    ++*static_cast<std::atomic<int>*>(parameter);
    return 3;
}

class DestructionCounting : public CWinThread {
public:
    DestructionCounting(std::atomic<int>& runs, std::atomic<int>& deaths)
        : CWinThread(CountRun, &runs), m_deaths(deaths) {}
    ~DestructionCounting() override { ++m_deaths; }
    std::atomic<int>& m_deaths;
};

TEST(WinThread, WorkerDeletesItselfWhenDone) {
    std::atomic<int> runs{0}, deaths{0};
    auto* thread = new DestructionCounting(runs, deaths);
    ASSERT_EQ(AfxBeginThread(thread, THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED), thread);
    // Our own reference on the thread object: the handle closes with the
    // CWinThread, and the wait must outlast both.
    KernelObject* object = ObjectFromHandle(thread->m_hThread);
    object->AddRef();
    thread->ResumeThread();
    EXPECT_EQ(object->Wait(INFINITE), WAIT_OBJECT_0);
    object->Release();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(deaths, 1);
}

void CountHostRun(void* parameter) { ++*static_cast<std::atomic<int>*>(parameter); }

// A thread the system cannot start fails as the caller can see: no thread
// object is left behind and nothing runs; once starts are allowed again
// they work as ever.
TEST(ThreadStart, ARefusedStartFailsWithoutRunningAnything) {
    std::atomic<int> runs{0}, deaths{0};
    RefuseThreadStartsOf(reinterpret_cast<const void*>(&CountRun));
    EXPECT_EQ(AfxBeginThread(new DestructionCounting(runs, deaths)), nullptr);
    EXPECT_EQ(deaths, 1) << "the auto-deleting object goes with the failed start";
    RefuseThreadStartsOf(reinterpret_cast<const void*>(&CountHostRun));
    std::thread host;
    errno = 0;
    EXPECT_FALSE(StartHostThread(host, CountHostRun, &runs));
    EXPECT_EQ(errno, EAGAIN);
    EXPECT_FALSE(host.joinable());
    RefuseThreadStartsOf(nullptr);
    ASSERT_TRUE(StartHostThread(host, CountHostRun, &runs));
    host.join();
    EXPECT_EQ(runs, 1);
}

}  // namespace
