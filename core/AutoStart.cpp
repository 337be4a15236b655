#include "core/AutoStart.h"

#include "core/RegistryKey.h"
#include "platform/base/modules.h"

namespace {

// Both sides are compared and stored in upper case.
CString OwnPathUpper() {
    constexpr int kRoom = 256;
    char16_t path[kRoom + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, kRoom);
    CString text(path, static_cast<int>(length));
    text.MakeUpper();
    return text;
}

HKEY CreateInitKey() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"init", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

}  // namespace

int IsAutoStartSelf() {
    const HKEY key = CreateInitKey();
    if (!key)
        return 0;
    CString program;
    const bool read = RegQueryString(key, u"velto", program) == ERROR_SUCCESS;
    RegCloseKey(key);
    program.MakeUpper();
    return read && program == OwnPathUpper() ? 1 : 0;
}

int SetAutoStart(int self) {
    const HKEY key = CreateInitKey();
    if (!key)
        return 0;
    RegDeleteValueW(key, u"Launch70");
    const CString program = self == 1 ? OwnPathUpper() : CString(u"explorer.exe");
    RegSetValueExW(key, u"velto", 0, REG_SZ, reinterpret_cast<const BYTE*>(program.GetString()),
                   static_cast<DWORD>((program.GetLength() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
    RegFlushKey(HKEY_LOCAL_MACHINE);
    return 1;
}
