#include "transfer/StorageLocation.h"

#include "core/AppDir.h"
#include "core/Folders.h"
#include "core/MachineConfig.h"
#include "platform/base/files.h"

CString GetStorageRoot(int location) {
    switch (location) {
    case StorageSDCard:
        return GetSDCardFolder();
    case StorageUSBDisk:
        return GetUSBDiskFolder();
    default: {
        CString appDir;
        GetAppDir(appDir);
        return appDir;
    }
    }
}

bool StorageRootExists(int location) {
    if (location == StorageSDCard || location == StorageUSBDisk) return DirExists(GetStorageRoot(location)) != 0;
    return true;
}

CString GetTransferFolder(int location) {
    const CString machineId = g_MachineConfig.MachineID.Get();
    if (location == StorageSDCard || location == StorageUSBDisk) return GetStorageRoot(location) + u"\\" + machineId;
    // The application folder ends with its separator already.
    return GetStorageRoot(location) + machineId;
}

bool EnsureTransferFolder(const CString& folder) {
    if (DirExists(folder)) return true;
    CreateDirectory(folder, nullptr);
    return DirExists(folder) != 0;
}

CString TransferFilePath(const CString& folder, const char16_t* name) { return folder + u"\\" + name; }
