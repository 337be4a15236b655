#include "platform/ui/hostpath.h"

#include "platform/base/device_fs.h"

std::string HostPathOf(LPCWSTR devicePath) {
    return devicePath != nullptr ? DeviceToHostPath(devicePath) : std::string();
}
