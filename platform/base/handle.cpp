#include "platform/base/handle.h"

#include <mutex>
#include <unordered_set>

#include "platform/base/lasterror.h"

namespace {

// Handles are the objects' addresses; the live set turns a stale or forged
// handle into ERROR_INVALID_HANDLE instead of a wild pointer.
std::mutex g_handlesLock;
std::unordered_set<KernelObject*>& LiveObjects() {
    static std::unordered_set<KernelObject*> live;
    return live;
}

}  // namespace

DWORD KernelObject::Wait(DWORD) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

void KernelObject::Release() {
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

HANDLE MakeHandle(KernelObject* object) {
    std::lock_guard<std::mutex> lock(g_handlesLock);
    LiveObjects().insert(object);
    return object;
}

namespace {

KernelObject* LookUp(HANDLE handle, bool takeReference) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto* object = static_cast<KernelObject*>(handle);
    std::lock_guard<std::mutex> lock(g_handlesLock);
    if (!LiveObjects().count(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (takeReference) object->AddRef();
    return object;
}

}  // namespace

KernelObject* ObjectFromHandle(HANDLE handle) { return LookUp(handle, false); }

KernelObject* ReferenceObjectFromHandle(HANDLE handle) { return LookUp(handle, true); }

BOOL CloseHandle(HANDLE handle) {
    KernelObject* object = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_handlesLock);
        object = static_cast<KernelObject*>(handle);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !LiveObjects().erase(object)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    object->Release();
    return TRUE;
}
