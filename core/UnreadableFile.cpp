#include "core/UnreadableFile.h"

#include <cstdio>

#include "platform/base/device_fs.h"
#include "platform/base/registry.h"

void ExplainUnreadableFile(const std::string& hostPath, const char* why, const char* factoryContent) {
    const std::string name = hostPath.substr(hostPath.rfind('/') + 1);
    std::fprintf(stderr,
                 "quillon: %s exists but cannot be read (%s);\n"
                 "quillon --init-root %s --force keeps it as %s.damaged and writes %s\n",
                 hostPath.c_str(), why, GetDeviceRoot().c_str(), name.c_str(), factoryContent);
}

void ExplainUnreadableRegistryFile() {
    ExplainUnreadableFile(RegistryFilePath(), "a folder, a pipe or a device, or not readable", "the factory registry");
}
