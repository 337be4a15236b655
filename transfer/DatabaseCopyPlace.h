// Where the backup page writes its copy of the database file and the
// restore page looks for one: the root of the USB disk, the fixed root of
// the device's flash, or the root of the SD card.
#pragma once

#include <vector>

#include "platform/base/CString.h"

enum DatabaseCopyPlace : int { DatabaseCopyOnUsbDisk = 0, DatabaseCopyOnFlash = 1, DatabaseCopyOnSdCard = 2 };

// The copy's path on each place whose folder is there.
std::vector<CString> DatabaseCopyPaths();
// The copy's path for the place; false, after the missing-folder message
// was shown, when the chosen medium's folder is not there.
bool ChooseDatabaseCopyPath(int place, CString& path);
