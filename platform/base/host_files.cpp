#include "platform/base/host_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

HostEntry HostEntryAt(const std::string& hostPath) {
    struct stat st;
    if (lstat(hostPath.c_str(), &st) != 0) return HostEntry::Missing;
    return S_ISDIR(st.st_mode) ? HostEntry::Folder : HostEntry::Other;
}

bool LinkHostFile(const std::string& existing, const std::string& link) {
    return ::link(existing.c_str(), link.c_str()) == 0;
}

bool RenameHostFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

bool RemoveHostFile(const std::string& hostPath) { return unlink(hostPath.c_str()) == 0 || errno == ENOENT; }
