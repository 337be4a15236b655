#include "platform/base/registry.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unordered_map>

#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"
#include "platform/base/lasterror.h"
#include "platform/base/nocase.h"
#include "platform/base/registry_format.h"

namespace {

constexpr char kRegistryFile[] = "registry.reg";
constexpr uintptr_t kFirstRootKey = 0x80000000u;
constexpr uintptr_t kFirstOpenKey = 0x1000;

using KeyPtr = std::shared_ptr<RegKey>;

struct Registry {
    std::mutex lock;
    bool loaded = false;
    // A change is in memory and not in the file: its write failed, or a
    // batch holds it back.
    bool dirty = false;
    int batches = 0;
    // The file is there and could not be read: it is never written over.
    bool unreadable = false;
    RegistryTree tree;
    std::unordered_map<uintptr_t, KeyPtr> open;
    uintptr_t nextHandle = kFirstOpenKey;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

void LoadLocked(Registry& r) {
    const std::string path = RegistryFilePath();
    RemoveStaleTemporaries(path);
    std::string text;
    const HostRead read = ReadPlainHostFile(path, text, kMaxTextFileBytes);
    bool beyondLimits = false;
    r.tree = ParseRegistry(text, &beyondLimits);
    r.unreadable = (read != HostRead::Read && read != HostRead::Missing) || beyondLimits;
    r.open.clear();
    r.loaded = true;
    r.dirty = false;
}

// The registry, loaded, locked for the guard's lifetime.
class LockedRegistry {
public:
    LockedRegistry() : m_guard(TheRegistry().lock) {
        if (!TheRegistry().loaded) LoadLocked(TheRegistry());
    }
    Registry& registry = TheRegistry();

private:
    std::lock_guard<std::mutex> m_guard;
};

// Every call reports its result as the thread's last error too, which is
// where the application's registry wrapper picks it up.
LONG Done(LONG code) {
    SetLastError(static_cast<DWORD>(code));
    return code;
}

LONG Persist(Registry& r) {
    if (r.unreadable) {
        r.dirty = true;
        return ERROR_CANTWRITE;
    }
    if (r.batches > 0) {
        r.dirty = true;
        return ERROR_SUCCESS;
    }
    const std::string text = SerializeRegistry(r.tree);
    std::error_code ignored;
    std::filesystem::create_directories(GetDeviceRoot(), ignored);
    r.dirty = !ReplaceOwnHostFile(RegistryFilePath(), text.data(), text.size());
    return r.dirty ? ERROR_CANTWRITE : ERROR_SUCCESS;
}

LONG KeyOf(Registry& r, HKEY handle, KeyPtr& key) {
    const auto id = reinterpret_cast<uintptr_t>(handle);
    if (id >= kFirstRootKey && id < kFirstRootKey + kRegistryRootCount) {
        key = r.tree.roots[id - kFirstRootKey];
        return ERROR_SUCCESS;
    }
    auto it = r.open.find(id);
    if (it == r.open.end()) return ERROR_INVALID_HANDLE;
    key = it->second;
    return key->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

bool IsValidName(std::u16string_view name) { return name.find_first_of(u"\r\n") == std::u16string_view::npos; }

// The non-empty parts of a '\'-separated key path.
std::vector<std::u16string_view> KeyPathParts(LPCWSTR path) {
    std::vector<std::u16string_view> parts;
    std::u16string_view rest = path ? path : u"";
    while (!rest.empty()) {
        const size_t end = rest.find(u'\\');
        if (end != 0) parts.push_back(rest.substr(0, end));
        if (end == std::u16string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return parts;
}

// Follows `count` parts from `key`; with `created` given, missing keys are
// made and *created tells whether any was. Null when a key is missing.
KeyPtr Walk(KeyPtr key, const std::vector<std::u16string_view>& parts, size_t count, bool* created = nullptr) {
    for (size_t i = 0; i < count && key; ++i) {
        KeyPtr next = key->FindSubkey(parts[i]);
        if (!next && created) {
            next = key->AddSubkey(parts[i]);
            *created = true;
        }
        key = next;
    }
    return key;
}

HKEY NewHandle(Registry& r, KeyPtr key) {
    const uintptr_t id = r.nextHandle++;
    r.open[id] = std::move(key);
    return reinterpret_cast<HKEY>(id);
}

// Copies `data` into the caller's buffer by the registry's size rules.
LONG CopyOut(const std::vector<BYTE>& data, LPBYTE buffer, LPDWORD size) {
    const auto needed = static_cast<DWORD>(data.size());
    if (!size) return buffer ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    if (!buffer) {
        *size = needed;
        return ERROR_SUCCESS;
    }
    const DWORD room = *size;
    *size = needed;
    if (room < needed) return ERROR_MORE_DATA;
    if (needed) std::memcpy(buffer, data.data(), needed);
    return ERROR_SUCCESS;
}

// Copies a name by the enumeration rules: lengths in characters, the room
// counting the terminating zero, the result not.
LONG CopyName(const std::u16string& name, LPWSTR buffer, LPDWORD length) {
    if (!buffer || !length) return ERROR_INVALID_PARAMETER;
    if (*length <= name.size()) return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), (name.size() + 1) * sizeof(char16_t));
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

}  // namespace

RegistryBatch::RegistryBatch() { ++LockedRegistry().registry.batches; }

RegistryBatch::~RegistryBatch() {
    LockedRegistry locked;
    Registry& r = locked.registry;
    if (--r.batches == 0 && r.dirty) Persist(r);
}

std::string RegistryFilePath() { return GetDeviceRoot() + "/" + kRegistryFile; }

void RegistryLoad() {
    std::lock_guard<std::mutex> guard(TheRegistry().lock);
    LoadLocked(TheRegistry());
}

bool RegistryFileReadable() { return !LockedRegistry().registry.unreadable; }

LONG RegOpenKeyExW(HKEY handle, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (!result) return Done(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    LockedRegistry locked;
    Registry& r = locked.registry;
    KeyPtr key;
    if (LONG error = KeyOf(r, handle, key)) return Done(error);
    const auto parts = KeyPathParts(subKey);
    key = Walk(key, parts, parts.size());
    if (!key) return Done(ERROR_FILE_NOT_FOUND);
    *result = NewHandle(r, key);
    return Done(ERROR_SUCCESS);
}

LONG RegCreateKeyExW(HKEY handle, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY result,
                     LPDWORD disposition) {
    if (!result) return Done(ERROR_INVALID_PARAMETER);
    *result = nullptr;
    if (subKey && !IsValidName(subKey)) return Done(ERROR_INVALID_PARAMETER);
    LockedRegistry locked;
    Registry& r = locked.registry;
    KeyPtr key;
    if (LONG error = KeyOf(r, handle, key)) return Done(error);
    bool created = false;
    const auto parts = KeyPathParts(subKey);
    // What the file could not hold again is not made.
    if (!RegistryKeyFits(key->depth, parts)) return Done(ERROR_INVALID_PARAMETER);
    key = Walk(key, parts, parts.size(), &created);
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(r, key);
    return Done(created ? Persist(r) : ERROR_SUCCESS);
}

LONG RegCloseKey(HKEY handle) {
    LockedRegistry locked;
    Registry& r = locked.registry;
    const auto id = reinterpret_cast<uintptr_t>(handle);
    if (id >= kFirstRootKey && id < kFirstRootKey + kRegistryRootCount) return Done(ERROR_SUCCESS);
    return Done(r.open.erase(id) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

LONG RegDeleteKeyW(HKEY handle, LPCWSTR subKey) {
    LockedRegistry locked;
    Registry& r = locked.registry;
    KeyPtr parent;
    if (LONG error = KeyOf(r, handle, parent)) return Done(error);
    const auto parts = KeyPathParts(subKey);
    if (parts.empty()) return Done(ERROR_INVALID_PARAMETER);
    parent = Walk(parent, parts, parts.size() - 1);
    KeyPtr key = parent ? parent->FindSubkey(parts.back()) : nullptr;
    if (!key) return Done(ERROR_FILE_NOT_FOUND);
    key->MarkDeleted();
    parent->subkeys.erase(UpperCase(parts.back()));
    return Done(Persist(r));
}

LONG RegFlushKey(HKEY handle) {
    LockedRegistry locked;
    Registry& r = locked.registry;
    KeyPtr key;
    if (LONG error = KeyOf(r, handle, key)) return Done(error);
    return Done(r.dirty ? Persist(r) : ERROR_SUCCESS);
}

LONG RegQueryValueExW(HKEY handle, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    LockedRegistry locked;
    KeyPtr key;
    if (LONG error = KeyOf(locked.registry, handle, key)) return Done(error);
    const RegValue* value = key->FindValue(name ? name : u"");
    if (!value) return Done(ERROR_FILE_NOT_FOUND);
    if (type) *type = value->type;
    return Done(CopyOut(value->data, data, size));
}

LONG RegSetValueExW(HKEY handle, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    if ((!data && size) || (name && !IsValidName(name))) return Done(ERROR_INVALID_PARAMETER);
    LockedRegistry locked;
    Registry& r = locked.registry;
    KeyPtr key;
    if (LONG error = KeyOf(r, handle, key)) return Done(error);
    RegValue* value = key->FindValue(name ? name : u"");
    if (!value) {
        key->values.push_back(RegValue{name ? name : u"", type, {}});
        value = &key->values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
    return Done(Persist(r));
}

LONG RegDeleteValueW(HKEY handle, LPCWSTR name) {
    LockedRegistry locked;
    Registry& r = locked.registry;
    KeyPtr key;
    if (LONG error = KeyOf(r, handle, key)) return Done(error);
    const std::u16string_view wanted = name ? name : u"";
    if (!std::erase_if(key->values, [&](const RegValue& v) { return EqualNoCase(v.name, wanted); }))
        return Done(ERROR_FILE_NOT_FOUND);
    return Done(Persist(r));
}

LONG RegEnumValueW(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPDWORD type, LPBYTE data,
                   LPDWORD size) {
    LockedRegistry locked;
    KeyPtr key;
    if (LONG error = KeyOf(locked.registry, handle, key)) return Done(error);
    if (index >= key->values.size()) return Done(ERROR_NO_MORE_ITEMS);
    const RegValue& value = key->values[index];
    if (LONG error = CopyName(value.name, name, nameLength)) return Done(error);
    if (type) *type = value.type;
    return Done(CopyOut(value.data, data, size));
}

LONG RegEnumKeyExW(HKEY handle, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPWSTR keyClass,
                   LPDWORD classLength, LPFILETIME lastWrite) {
    LockedRegistry locked;
    KeyPtr key;
    if (LONG error = KeyOf(locked.registry, handle, key)) return Done(error);
    if (index >= key->subkeys.size()) return Done(ERROR_NO_MORE_ITEMS);
    const RegKey& subkey = *std::next(key->subkeys.begin(), index)->second;
    if (LONG error = CopyName(subkey.name, name, nameLength)) return Done(error);
    if (keyClass && classLength && *classLength) *keyClass = u'\0';
    if (classLength) *classLength = 0;
    if (lastWrite) *lastWrite = FILETIME{};
    return Done(ERROR_SUCCESS);
}

LONG RegQueryInfoKeyW(HKEY handle, LPWSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                      LPDWORD maxValueLength, LPDWORD securityDescriptor, LPFILETIME lastWrite) {
    LockedRegistry locked;
    KeyPtr key;
    if (LONG error = KeyOf(locked.registry, handle, key)) return Done(error);
    size_t longestKey = 0, longestName = 0, longestData = 0;
    for (const auto& [folded, subkey] : key->subkeys) longestKey = std::max(longestKey, subkey->name.size());
    for (const RegValue& value : key->values) {
        longestName = std::max(longestName, value.name.size());
        longestData = std::max(longestData, value.data.size());
    }
    if (keyClass && classLength && *classLength) *keyClass = u'\0';
    if (classLength) *classLength = 0;
    if (subKeys) *subKeys = static_cast<DWORD>(key->subkeys.size());
    if (maxSubKeyLength) *maxSubKeyLength = static_cast<DWORD>(longestKey);
    if (maxClassLength) *maxClassLength = 0;
    if (values) *values = static_cast<DWORD>(key->values.size());
    if (maxValueNameLength) *maxValueNameLength = static_cast<DWORD>(longestName);
    if (maxValueLength) *maxValueLength = static_cast<DWORD>(longestData);
    if (securityDescriptor) *securityDescriptor = 0;
    if (lastWrite) *lastWrite = FILETIME{};
    return Done(ERROR_SUCCESS);
}
