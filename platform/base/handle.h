// Kernel objects behind HANDLE: files, find searches, events, mutexes,
// threads, serial ports. Each kind derives from KernelObject; CloseHandle
// releases one reference and the object dies with the last.
#pragma once

#include <atomic>

#include "platform/base/lasterror.h"
#include "platform/base/types.h"

class KernelObject {
public:
    virtual ~KernelObject() = default;

    // Waitable objects (events, mutexes, threads) override this: wait up to
    // `timeoutMs` (INFINITE allowed) and return WAIT_OBJECT_0 or WAIT_TIMEOUT.
    virtual DWORD Wait(DWORD timeoutMs);

    void AddRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void Release();

private:
    std::atomic<int> m_refs{1};
};

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

// The object behind a handle, or nullptr (with ERROR_INVALID_HANDLE) for a
// null, invalid or closed handle.
KernelObject* ObjectFromHandle(HANDLE handle);
template <class T>
T* ObjectFromHandleAs(HANDLE handle) {
    return dynamic_cast<T*>(ObjectFromHandle(handle));
}

// The same, with a reference taken while the handle is still known to be
// live: for calls that use the object after the lookup (waits, reads,
// writes), so a CloseHandle on another thread meanwhile cannot free it.
// The caller releases the reference.
KernelObject* ReferenceObjectFromHandle(HANDLE handle);

// A reference taken at lookup and released at the end of the scope; empty
// (with ERROR_INVALID_HANDLE) for a bad handle or an object of another kind.
template <class T>
class HeldObject {
public:
    explicit HeldObject(HANDLE handle) {
        KernelObject* object = ReferenceObjectFromHandle(handle);
        if (!object) return;
        m_object = dynamic_cast<T*>(object);
        if (!m_object) {
            object->Release();
            SetLastError(ERROR_INVALID_HANDLE);
        }
    }
    ~HeldObject() {
        if (m_object) m_object->Release();
    }
    HeldObject(const HeldObject&) = delete;
    HeldObject& operator=(const HeldObject&) = delete;

    explicit operator bool() const { return m_object != nullptr; }
    T* operator->() const { return m_object; }
    T* get() const { return m_object; }

private:
    T* m_object = nullptr;
};

// Registers a new object and returns its handle.
HANDLE MakeHandle(KernelObject* object);

BOOL CloseHandle(HANDLE handle);
