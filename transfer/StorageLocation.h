// Where the transfer, backup and restore pages read and write: the device's
// own flash (the application folder), an SD card or a USB disk. A removable
// medium is present when its folder exists.
#pragma once

#include "platform/base/CString.h"

// The values of the storage choice; the import and export pages list them
// in this order.
enum StorageLocation : int { StorageDeviceFlash = 0, StorageSDCard = 1, StorageUSBDisk = 2 };

// The location's root: the application folder (ending with "\"), or "\"
// followed by the medium's folder name. An unknown value reads as flash.
CString GetStorageRoot(int location);
// Flash is always there; a medium when its folder exists.
bool StorageRootExists(int location);
// The folder of the transfer files: the root followed by the MachineID text,
// with a "\" between them for the removable media.
CString GetTransferFolder(int location);
// The transfer folder made when missing (one level: the root must exist).
// True when it exists afterwards.
bool EnsureTransferFolder(const CString& folder);
// folder + "\" + name.
CString TransferFilePath(const CString& folder, const char16_t* name);
