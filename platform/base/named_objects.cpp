#include "platform/base/named_objects.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "platform/base/device_fs.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf.h"

namespace {

struct NamedEntry {
    KernelObject* object;
    int handles;
};

std::mutex g_namesLock;
std::map<std::u16string, NamedEntry>& Names() {
    static std::map<std::u16string, NamedEntry> names;
    return names;
}

// One handle on a named object.
class NamedHandle : public KernelObject {
public:
    NamedHandle(std::u16string name, KernelObject* object) : m_name(std::move(name)), m_object(object) {}
    ~NamedHandle() override {
        KernelObject* last = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_namesLock);
            auto it = Names().find(m_name);
            if (it != Names().end() && --it->second.handles == 0) {
                last = it->second.object;
                Names().erase(it);
            }
        }
        if (last) last->Release();
    }
    DWORD Wait(DWORD timeoutMs) override { return m_object->Wait(timeoutMs); }
    KernelObject* Object() const { return m_object; }

private:
    std::u16string m_name;
    KernelObject* m_object;
};

}  // namespace

KernelObject* ResolveNamedHandle(KernelObject* object) {
    if (auto* named = dynamic_cast<NamedHandle*>(object)) return named->Object();
    return object;
}

HANDLE OpenOrCreateNamedObject(LPCWSTR name, const std::function<bool(KernelObject*)>& isKind,
                               const std::function<NamedCreation()>& make) {
    std::u16string key(name);
    std::lock_guard<std::mutex> lock(g_namesLock);
    auto it = Names().find(key);
    if (it != Names().end()) {
        if (!isKind(it->second.object)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        ++it->second.handles;
        HANDLE handle = MakeHandle(new NamedHandle(key, it->second.object));
        SetLastError(ERROR_ALREADY_EXISTS);
        return handle;
    }
    NamedCreation created = make();
    Names().emplace(key, NamedEntry{created.object, 1});
    HANDLE handle = MakeHandle(new NamedHandle(key, created.object));
    SetLastError(created.existedElsewhere ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

// ---- names shared with other processes --------------------------------------

namespace {

uint64_t Fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Terminals run from different device roots keep their names apart.
std::string NameScope() {
    std::error_code error;
    auto root = std::filesystem::weakly_canonical(GetDeviceRoot(), error);
    return error ? GetDeviceRoot() : root.string();
}

bool SetFileLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    // Open-file-description locks: they belong to this descriptor, and a
    // change from exclusive to shared is atomic.
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

}  // namespace

std::string SystemNameLock::LockFilePath(LPCWSTR name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? runtime : "/tmp";
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(NameScope() + '\n' + Utf16ToUtf8(name))));
    return folder + "/quillon-mutex-" + hash + ".lock";
}

SystemNameLock SystemNameLock::Take(LPCWSTR name) {
    SystemNameLock taken;
    taken.m_fd = open(LockFilePath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (taken.m_fd < 0) return taken;  // no lock file: the name stays local to this process
    // Whoever gets the exclusive lock is the first holder; it then shares it.
    // Everyone else sees the shared locks of the holders. A failure of both
    // means a holder is between the two steps: try again.
    for (;;) {
        if (SetFileLock(taken.m_fd, F_WRLCK)) {
            SetFileLock(taken.m_fd, F_RDLCK);
            return taken;
        }
        if (SetFileLock(taken.m_fd, F_RDLCK)) {
            taken.m_heldElsewhere = true;
            return taken;
        }
        std::this_thread::yield();
    }
}

SystemNameLock::SystemNameLock(SystemNameLock&& other) noexcept
    : m_fd(other.m_fd), m_heldElsewhere(other.m_heldElsewhere) {
    other.m_fd = -1;
}

SystemNameLock& SystemNameLock::operator=(SystemNameLock&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) close(m_fd);
        m_fd = other.m_fd;
        m_heldElsewhere = other.m_heldElsewhere;
        other.m_fd = -1;
    }
    return *this;
}

SystemNameLock::~SystemNameLock() {
    if (m_fd >= 0) close(m_fd);
}
