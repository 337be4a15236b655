#include "core/Folders.h"

#include <mutex>

#include "core/AppDir.h"
#include "core/MachineConfig.h"
#include "core/RegistryKey.h"
#include "platform/base/files.h"

CString g_weatherIcon;

namespace {

CString ReadProfileFolder(const char16_t* profile) {
    CString key = CString(u"System\\StorageManager\\Profiles\\") + profile;
    WCHAR folder[100] = {};
    CRegistryKey(HKEY_LOCAL_MACHINE, key).QueryStringValue(u"Folder", folder, sizeof folder);
    return CString(u"\\") + folder;
}

CString CreatedFolder(const CString& path) {
    if (!DirExists(path)) CreateDirectoryW(path, nullptr);
    return path;
}

}  // namespace

int FileExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0; }

int DirExists(const CString& path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

CString GetSDCardFolder() {
    static std::once_flag once;
    static CString folder;
    std::call_once(once, [] { folder = ReadProfileFolder(u"SDMemory"); });
    return folder;
}

CString GetUSBDiskFolder() {
    static std::once_flag once;
    static CString folder;
    std::call_once(once, [] { folder = ReadProfileFolder(u"USBHDProfile"); });
    return folder;
}

int GetSnapFolder(CString& folder) {
    CString path;
    if (g_MachineConfig.PHOTOSAVEDIR) {
        path = CreatedFolder(GetSDCardFolder() + u"\\Snap");
    } else {
        GetAppDir(path);
        path += u"Snap";
    }
    if (!DirExists(path)) return 0;
    folder = path;
    return 1;
}

CString GetIconFolder() {
    if (g_MachineConfig.PHOTOSAVEDIR) return CreatedFolder(GetSDCardFolder() + u"\\ICON");
    return u"\\ICON";
}

int LoadWeatherIcon() {
    CRegistryKey key(HKEY_LOCAL_MACHINE, u"SOFTWARE\\VELTO\\Weather");
    DWORD value = 0;
    if (key.IsOpen() && key.QueryDWORDValue(u"png", value)) g_weatherIcon.Format(u"%d.png", value);
    return 0;
}
