// The application's own registry key.
#include "core/MachineConfig.h"
#include "core/RegistryKey.h"

namespace {

constexpr const char16_t* kAppKey = u"software\\VELTO\\Quillon";

// Opens the key, creating it when it is missing.
bool OpenOrCreateAppKey(CRegistryKey& key) {
    if (key.Open(HKEY_LOCAL_MACHINE, kAppKey))
        return true;
    return CRegistryKey::CreateKey(HKEY_LOCAL_MACHINE, kAppKey, nullptr) && key.Open(HKEY_LOCAL_MACHINE, kAppKey);
}

}  // namespace

CMachineConfig g_MachineConfig;

int CMachineConfig::WriteRegString(const CString& name, const CString& text) {
    CRegistryKey key;
    return OpenOrCreateAppKey(key) && key.SetStringValue(name, text) ? 1 : 0;
}

int CMachineConfig::ReadRegString(const CString& name, CString& text) {
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kAppKey))
        return 0;
    return key.QueryStringValue(name, text) ? 1 : 0;
}

int CMachineConfig::WriteRegDWORD(const CString& name, DWORD value) {
    CRegistryKey key;
    return OpenOrCreateAppKey(key) && key.SetDWORDValue(name, value) ? 1 : 0;
}

int CMachineConfig::ReadRegDWORD(const CString& name, DWORD& value) {
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kAppKey))
        return 0;
    return key.QueryDWORDValue(name, value) ? 1 : 0;
}
