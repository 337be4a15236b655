// The device registry: keys and values kept in memory and stored in
// <device root>/registry.reg in the regedit text format, rewritten
// atomically after every change. Key and value names ignore letter case.
// All calls may be made from any thread.
#pragma once

#include <string>

#include "platform/base/types.h"

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003u)))

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

typedef DWORD REGSAM;
#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu

#define REG_OPTION_NON_VOLATILE 0u
#define REG_CREATED_NEW_KEY 1u
#define REG_OPENED_EXISTING_KEY 2u
#define ERROR_KEY_DELETED 1018L

// Reads <device root>/registry.reg again (an absent file is an empty
// registry). Keys opened before are no longer valid afterwards.
// SetDeviceRoot calls it; the first registry call does it when nobody has.
void RegistryLoad();
// The host path of the registry file.
std::string RegistryFilePath();
// False when the registry file is there but could not be read at the last
// load (a folder, a pipe, a file without read permission, more than 16 MB,
// a key nested or named beyond the registry's limits): the registry is then
// empty, and no change is written over the file.
bool RegistryFileReadable();

// While one lives, changes stay in memory; when the last one ends they
// reach the file in one save, so that a power cut keeps all of them or
// none.
class RegistryBatch {
public:
    RegistryBatch();
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;
};

// Access rights are accepted and not checked: the terminal has one user.
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LONG RegCloseKey(HKEY key);
// Deletes the subkey with everything below it.
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// Writes any change not yet on disk (a change is written at once; this
// retries one whose write failed).
LONG RegFlushKey(HKEY key);

// `size` is in bytes; data null with size given asks for the size; a buffer
// too small gives ERROR_MORE_DATA and the size needed.
LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG RegDeleteValueW(HKEY key, LPCWSTR name);

// Name lengths are in characters: in, the room including the terminating
// zero; out, the length without it.
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                   LPBYTE data, LPDWORD size);
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
                   LPDWORD classLength, LPFILETIME lastWrite);
LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                      LPDWORD maxValueLength, LPDWORD securityDescriptor, LPFILETIME lastWrite);

inline LONG RegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    return RegOpenKeyExW(key, subKey, options, access, result);
}
inline LONG RegCreateKeyEx(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                           LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition) {
    return RegCreateKeyExW(key, subKey, reserved, keyClass, options, access, security, result, disposition);
}
inline LONG RegDeleteKey(HKEY key, LPCWSTR subKey) { return RegDeleteKeyW(key, subKey); }
inline LONG RegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    return RegQueryValueExW(key, name, reserved, type, data, size);
}
inline LONG RegSetValueEx(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    return RegSetValueExW(key, name, reserved, type, data, size);
}
inline LONG RegDeleteValue(HKEY key, LPCWSTR name) { return RegDeleteValueW(key, name); }
inline LONG RegEnumValue(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                         LPBYTE data, LPDWORD size) {
    return RegEnumValueW(key, index, name, nameLength, reserved, type, data, size);
}
inline LONG RegEnumKeyEx(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
                         LPDWORD classLength, LPFILETIME lastWrite) {
    return RegEnumKeyExW(key, index, name, nameLength, reserved, keyClass, classLength, lastWrite);
}
inline LONG RegQueryInfoKey(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                            LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                            LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptor,
                            LPFILETIME lastWrite) {
    return RegQueryInfoKeyW(key, keyClass, classLength, reserved, subKeys, maxSubKeyLength, maxClassLength, values,
                            maxValueNameLength, maxValueLength, securityDescriptor, lastWrite);
}
