// Kernel objects found by name. Every handle opened on a named object is a
// handle of its own (closing one leaves the others valid); the object lives
// until its last handle closes, and its name is free again from then on.
#pragma once

#include <functional>
#include <string>

#include "platform/base/handle.h"
#include "platform/base/types.h"

// The object a handle's object stands for: the named object behind a named
// handle, else the object itself (null stays null).
KernelObject* ResolveNamedHandle(KernelObject* object);

struct NamedCreation {
    KernelObject* object;
    // Another process already holds an object of this name.
    bool existedElsewhere;
};

// Opens the object called `name` when this process has one and `isKind`
// accepts it (ERROR_ALREADY_EXISTS), fails with ERROR_INVALID_HANDLE when it
// is of another kind, else creates it with `make` (ERROR_SUCCESS, or
// ERROR_ALREADY_EXISTS when it existed elsewhere).
HANDLE OpenOrCreateNamedObject(LPCWSTR name, const std::function<bool(KernelObject*)>& isKind,
                               const std::function<NamedCreation()>& make);

template <class T, class Make>
HANDLE OpenOrCreateNamed(LPCWSTR name, Make make) {
    return OpenOrCreateNamedObject(
        name, [](KernelObject* object) { return dynamic_cast<T*>(object) != nullptr; }, make);
}

// Holds a name against other processes for as long as it lives: a shared
// lock on a lock file whose path comes from the device root and the name
// (see platform/base/sync.h).
class SystemNameLock {
public:
    SystemNameLock() = default;
    static SystemNameLock Take(LPCWSTR name);
    SystemNameLock(SystemNameLock&& other) noexcept;
    SystemNameLock& operator=(SystemNameLock&& other) noexcept;
    ~SystemNameLock();

    bool HeldElsewhere() const { return m_heldElsewhere; }
    static std::string LockFilePath(LPCWSTR name);

private:
    int m_fd = -1;
    bool m_heldElsewhere = false;
};
