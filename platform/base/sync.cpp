#include "platform/base/sync.h"

#include <chrono>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/named_objects.h"
#include "platform/base/threads.h"

// ---- critical sections ------------------------------------------------------

namespace {

std::recursive_timed_mutex& LockOf(LPCRITICAL_SECTION section) {
    std::recursive_timed_mutex* lock = section->lock.load(std::memory_order_acquire);
    if (lock) return *lock;
    auto* fresh = new std::recursive_timed_mutex;
    if (section->lock.compare_exchange_strong(lock, fresh, std::memory_order_acq_rel)) return *fresh;
    delete fresh;
    return *lock;
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    LockOf(section);
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    delete section->lock.exchange(nullptr);
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
    LockOf(section).lock();
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    return LockOf(section).try_lock() ? TRUE : FALSE;
}

BOOL TryEnterCriticalSectionFor(LPCRITICAL_SECTION section, DWORD ms) {
    return LockOf(section).try_lock_for(std::chrono::milliseconds(ms)) ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    LockOf(section).unlock();
}

// ---- waiting ----------------------------------------------------------------

namespace {

ClockCondition& KernelCondition() {
    static ClockCondition& condition = *new ClockCondition;  // outlives detached threads
    return condition;
}

// Holds a reference on each waited object for the length of the wait, so that
// a handle closed meanwhile does not pull the object away.
class WaitList {
public:
    ~WaitList() {
        for (KernelObject* held : m_held) held->Release();
    }
    bool Add(HANDLE handle) {
        KernelObject* object = ReferenceObjectFromHandle(handle);
        if (!object) return false;
        m_held.push_back(object);
        auto* waitable = dynamic_cast<WaitableObject*>(ResolveNamedHandle(object));
        if (!waitable) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        m_objects.push_back(waitable);
        return true;
    }
    bool HasDuplicates() const {
        for (size_t i = 0; i < m_objects.size(); ++i) {
            for (size_t j = i + 1; j < m_objects.size(); ++j) {
                if (m_objects[i] == m_objects[j]) return true;
            }
        }
        return false;
    }
    const std::vector<WaitableObject*>& Objects() const { return m_objects; }

private:
    std::vector<KernelObject*> m_held;
    std::vector<WaitableObject*> m_objects;
};

DWORD WaitForObjects(const std::vector<WaitableObject*>& objects, bool waitAll, DWORD timeoutMs) {
    ThreadSafePoint();
    const DWORD self = GetCurrentThreadId();
    DWORD result = WAIT_TIMEOUT;
    auto satisfied = [&] {
        if (waitAll) {
            for (const WaitableObject* object : objects) {
                if (!object->IsSignaledFor(self)) return false;
            }
            for (WaitableObject* object : objects) object->Acquire(self);
            result = WAIT_OBJECT_0;
            return true;
        }
        for (size_t i = 0; i < objects.size(); ++i) {
            if (objects[i]->IsSignaledFor(self)) {
                objects[i]->Acquire(self);
                result = WAIT_OBJECT_0 + static_cast<DWORD>(i);
                return true;
            }
        }
        return false;
    };
    ClockCondition& condition = KernelCondition();
    std::unique_lock<std::mutex> lock(condition.Mutex());
    condition.WaitFor(lock, timeoutMs, satisfied);
    return result;
}

}  // namespace

std::mutex& WaitableObject::KernelLock() {
    return KernelCondition().Mutex();
}

void WaitableObject::WakeWaiters() {
    KernelCondition().NotifyAll();
}

DWORD WaitableObject::Wait(DWORD timeoutMs) {
    return WaitForObjects({this}, false, timeoutMs);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
    WaitList list;
    if (!list.Add(handle)) return WAIT_FAILED;
    return WaitForObjects(list.Objects(), false, timeoutMs);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    WaitList list;
    for (DWORD i = 0; i < count; ++i) {
        if (!list.Add(handles[i])) return WAIT_FAILED;
    }
    if (waitAll && list.HasDuplicates()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    return WaitForObjects(list.Objects(), waitAll != FALSE, timeoutMs);
}

// ---- events -----------------------------------------------------------------

namespace {

class Event : public WaitableObject {
public:
    Event(bool manualReset, bool signaled) : m_manualReset(manualReset), m_signaled(signaled) {}

    bool IsSignaledFor(DWORD) const override { return m_signaled; }
    void Acquire(DWORD) override {
        if (!m_manualReset) m_signaled = false;
    }
    void Set(bool signaled) {
        ChangeState([&] { m_signaled = signaled; });
    }

private:
    const bool m_manualReset;
    bool m_signaled;
};

Event* EventFromHandle(HANDLE handle) {
    KernelObject* object = ObjectFromHandle(handle);
    if (!object) return nullptr;
    auto* event = dynamic_cast<Event*>(ResolveNamedHandle(object));
    if (!event) SetLastError(ERROR_INVALID_HANDLE);
    return event;
}

BOOL SetEventState(HANDLE handle, bool signaled) {
    Event* event = EventFromHandle(handle);
    if (!event) return FALSE;
    event->Set(signaled);
    return TRUE;
}

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    auto make = [&] { return new Event(manualReset != FALSE, initialState != FALSE); };
    if (!name || !*name) {
        SetLastError(ERROR_SUCCESS);
        return MakeHandle(make());
    }
    return OpenOrCreateNamed<Event>(name, [&] { return NamedCreation{make(), false}; });
}

BOOL SetEvent(HANDLE event) {
    return SetEventState(event, true);
}

BOOL ResetEvent(HANDLE event) {
    return SetEventState(event, false);
}

// ---- mutexes ----------------------------------------------------------------

namespace {

class Mutex : public WaitableObject {
public:
    explicit Mutex(SystemNameLock systemLock = {}) : m_systemLock(std::move(systemLock)) {}

    bool IsSignaledFor(DWORD threadId) const override { return m_owner == 0 || m_owner == threadId; }
    void Acquire(DWORD threadId) override {
        m_owner = threadId;
        ++m_count;
    }
    bool Release(DWORD threadId) {
        bool owned = false;
        ChangeState([&] {
            owned = m_owner == threadId && m_count > 0;
            if (owned && --m_count == 0) m_owner = 0;
        });
        return owned;
    }
    void TakeInitialOwnership(DWORD threadId) {
        ChangeState([&] { Acquire(threadId); });
    }

private:
    SystemNameLock m_systemLock;
    DWORD m_owner = 0;
    unsigned m_count = 0;
};

}  // namespace

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    HANDLE handle = nullptr;
    if (!name || !*name) {
        handle = MakeHandle(new Mutex);
        SetLastError(ERROR_SUCCESS);
    } else {
        handle = OpenOrCreateNamed<Mutex>(name, [&] {
            SystemNameLock systemLock = SystemNameLock::Take(name);
            bool elsewhere = systemLock.HeldElsewhere();
            return NamedCreation{new Mutex(std::move(systemLock)), elsewhere};
        });
    }
    if (!handle) return nullptr;
    DWORD error = GetLastError();
    // Win32 gives no initial ownership of a mutex that already existed.
    if (initialOwner && error != ERROR_ALREADY_EXISTS) {
        dynamic_cast<Mutex*>(ResolveNamedHandle(ObjectFromHandle(handle)))->TakeInitialOwnership(GetCurrentThreadId());
    }
    SetLastError(error);
    return handle;
}

BOOL ReleaseMutex(HANDLE handle) {
    KernelObject* object = ObjectFromHandle(handle);
    if (!object) return FALSE;
    auto* mutex = dynamic_cast<Mutex*>(ResolveNamedHandle(object));
    if (!mutex) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!mutex->Release(GetCurrentThreadId())) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}

// ---- interlocked ------------------------------------------------------------

LONG InterlockedIncrement(LONG volatile* value) {
    return __atomic_add_fetch(value, 1, __ATOMIC_SEQ_CST);
}

LONG InterlockedDecrement(LONG volatile* value) {
    return __atomic_sub_fetch(value, 1, __ATOMIC_SEQ_CST);
}

LONG InterlockedExchange(LONG volatile* target, LONG value) {
    return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand) {
    __atomic_compare_exchange_n(target, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
    return comparand;
}
