#include "platform/base/host_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

HostRead ReadPlainHostFile(const std::string& hostPath, std::string& content) {
    content.clear();
    // Without waiting: opening a pipe for reading waits for a writer.
    const int fd = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? HostRead::Missing : HostRead::Unreadable;
    struct stat st;
    HostRead result = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? HostRead::Read : HostRead::Unreadable;
    char chunk[65536];
    while (result == HostRead::Read) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0) break;
        if (got > 0)
            content.append(chunk, static_cast<size_t>(got));
        else if (errno != EINTR)
            result = HostRead::Unreadable;
    }
    close(fd);
    if (result != HostRead::Read) content.clear();
    return result;
}
