#include "platform/dev/storage.h"

#include <filesystem>

#include "platform/base/device_fs.h"
#include "platform/base/registry.h"

namespace {

struct Profile {
    const char16_t* key;
    const char16_t* defaultFolder;
};

Profile ProfileOf(StorageMedium medium) {
    return medium == StorageMedium::SdCard
               ? Profile{u"System\\StorageManager\\Profiles\\SDMemory", u"Storage Card"}
               : Profile{u"System\\StorageManager\\Profiles\\USBHDProfile", u"USB Disk"};
}

std::string HostFolder(StorageMedium medium) {
    return DeviceToHostPath(StorageMediumFolder(medium));
}

}  // namespace

std::u16string StorageMediumFolder(StorageMedium medium) {
    const Profile profile = ProfileOf(medium);
    std::u16string folder = profile.defaultFolder;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, profile.key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char16_t text[100] = {};
        DWORD type = 0, size = sizeof text - sizeof(char16_t);
        if (RegQueryValueExW(key, u"Folder", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
            type == REG_SZ && text[0]) {
            folder = text;
        }
        RegCloseKey(key);
    }
    return u"\\" + folder;
}

bool StorageMediumPresent(StorageMedium medium) {
    std::error_code error;
    return std::filesystem::is_directory(HostFolder(medium), error);
}

bool InsertStorageMedium(StorageMedium medium) {
    std::error_code error;
    std::filesystem::create_directories(HostFolder(medium), error);
    return StorageMediumPresent(medium);
}

bool RemoveStorageMedium(StorageMedium medium) {
    std::error_code error;
    std::filesystem::remove_all(HostFolder(medium), error);
    return !StorageMediumPresent(medium);
}
