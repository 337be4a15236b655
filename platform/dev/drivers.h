// The active-driver list (HKLM\Drivers\Active\NN, value "Name") through
// which the terminal learns whether a device is attached, such as the USB
// fingerprint sensor ("LDM1:"). Tests and the window back end plug devices
// in and out here.
#pragma once

#include <string>

// Adds an entry under the first free number (01 to 99); false when full.
bool PlugInDriver(const std::u16string& deviceName);
// Removes every entry of that name.
void UnplugDriver(const std::u16string& deviceName);
