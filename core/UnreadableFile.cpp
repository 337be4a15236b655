#include "core/UnreadableFile.h"

#include <cstdio>

#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"
#include "platform/base/registry.h"

void ExplainUnreadableFile(const std::string& hostPath, const char* damage, const char* factoryContent) {
    const HostRead found = CheckPlainHostFile(hostPath, kMaxTextFileBytes);
    const char* why = found == HostRead::NotAFile || found == HostRead::TooLarge ? HostReadReason(found) : damage;
    const std::string name = hostPath.substr(hostPath.rfind('/') + 1);
    std::fprintf(stderr,
                 "quillon: %s exists but cannot be read (%s);\n"
                 "quillon --init-root %s --force keeps it as %s.damaged and writes %s\n",
                 hostPath.c_str(), why, GetDeviceRoot().c_str(), name.c_str(), factoryContent);
}

void ExplainUnreadableRegistryFile() {
    ExplainUnreadableFile(RegistryFilePath(),
                          "a key nested deeper than 512 levels or named longer than 255 characters, or not readable",
                          "the factory registry");
}

void ExplainUnreadableLanguageFile(const CString& devicePath) {
    const std::string hostPath = DeviceToHostPath(devicePath.str());
    const HostRead found = CheckPlainHostFile(hostPath, kMaxTextFileBytes);
    if (found == HostRead::Missing) return;
    std::fprintf(stderr, "quillon: the language file %s cannot be read (%s): every text shows its default\n",
                 hostPath.c_str(), found == HostRead::Read ? "not well formed" : HostReadReason(found));
}

CString StopForFileText(const CString& devicePath) {
    CString text;
    switch (CheckPlainHostFile(DeviceToHostPath(devicePath.str()), kMaxTextFileBytes)) {
    case HostRead::NotAFile: text.Format(u"'%s' is not a file!", devicePath.GetString()); break;
    case HostRead::TooLarge: text.Format(u"'%s' is too large!", devicePath.GetString()); break;
    default: text.Format(u"Can not find '%s' file!", devicePath.GetString()); break;
    }
    return text;
}
