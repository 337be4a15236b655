#include "platform/base/host_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

template <class Bytes>
HostRead ReadInto(const std::string& hostPath, Bytes& content, size_t maxBytes) {
    content.clear();
    // Without waiting: opening a pipe for reading waits for a writer.
    const int fd = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? HostRead::Missing : HostRead::Unreadable;
    struct stat st;
    HostRead result = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= maxBytes
                          ? HostRead::Read
                          : HostRead::Unreadable;
    if (result == HostRead::Read) content.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (result == HostRead::Read && done < content.size()) {
        const ssize_t got = read(fd, content.data() + done, content.size() - done);
        if (got > 0)
            done += static_cast<size_t>(got);
        else if (got == 0)
            content.resize(done);  // cut short while read
        else if (errno != EINTR)
            result = HostRead::Unreadable;
    }
    close(fd);
    if (result != HostRead::Read) content.clear();
    return result;
}

}  // namespace

HostRead ReadPlainHostFile(const std::string& hostPath, std::string& content, size_t maxBytes) {
    return ReadInto(hostPath, content, maxBytes);
}

HostRead ReadPlainHostFile(const std::string& hostPath, std::vector<uint8_t>& content, size_t maxBytes) {
    return ReadInto(hostPath, content, maxBytes);
}
