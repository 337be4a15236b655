// Removable storage: the SD card and the USB disk are folders of the device
// named by the storage manager's profiles (value "Folder" of the keys
// SDMemory and USBHDProfile under HKLM\System\StorageManager\Profiles); a
// medium is in when its folder exists. Tests and the window back end put
// media in and take them out.
#pragma once

#include <string>

enum class StorageMedium { SdCard, UsbDisk };

// The medium's folder as a device path ("\Storage Card"); the profile's
// default name when the registry holds none.
std::u16string StorageMediumFolder(StorageMedium medium);
bool StorageMediumPresent(StorageMedium medium);
// Creates the folder (contents kept when it exists); false when it cannot.
bool InsertStorageMedium(StorageMedium medium);
// Removes the folder and all it holds.
bool RemoveStorageMedium(StorageMedium medium);
