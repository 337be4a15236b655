#include "platform/dev/drivers.h"

#include "platform/base/nocase.h"
#include "platform/base/registry.h"

namespace {

constexpr int kMaxEntries = 99;

// Numbers run 01 to 99, always two digits.
std::u16string EntryKey(int number) {
    return std::u16string(u"Drivers\\Active\\") + static_cast<char16_t>(u'0' + number / 10) +
           static_cast<char16_t>(u'0' + number % 10);
}

// The entry's device name, or nothing when the entry does not exist.
bool EntryName(int number, std::u16string* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, EntryKey(number).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char16_t text[100] = {};
    DWORD type = 0, size = sizeof text - sizeof(char16_t);
    if (RegQueryValueExW(key, u"Name", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS) {
        *name = text;
    }
    RegCloseKey(key);
    return true;
}

}  // namespace

bool PlugInDriver(const std::u16string& deviceName) {
    for (int number = 1; number <= kMaxEntries; ++number) {
        std::u16string existing;
        if (EntryName(number, &existing)) continue;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, EntryKey(number).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const LONG result = RegSetValueExW(key, u"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(deviceName.c_str()),
                                           static_cast<DWORD>((deviceName.size() + 1) * sizeof(char16_t)));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    return false;
}

void UnplugDriver(const std::u16string& deviceName) {
    for (int number = 1; number <= kMaxEntries; ++number) {
        std::u16string existing;
        if (EntryName(number, &existing) && EqualNoCase(existing, deviceName)) {
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, EntryKey(number).c_str());
        }
    }
}
