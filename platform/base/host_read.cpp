#include "platform/base/host_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

template <class Bytes>
HostRead ReadInto(const std::string& hostPath, Bytes& content, size_t maxBytes) {
    content.clear();
    HostRead result;
    const int fd = OpenPlainHostFile(hostPath, maxBytes, result);
    if (fd < 0) return result;
    struct stat st;
    if (fstat(fd, &st) == 0)
        content.resize(static_cast<size_t>(st.st_size));
    else
        result = HostRead::Unreadable;
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
    const int error = errno;
    close(fd);
    errno = error;
    if (result != HostRead::Read) content.clear();
    return result;
}

}  // namespace

int OpenPlainHostFile(const std::string& hostPath, size_t maxBytes, HostRead& outcome) {
    // Without waiting: opening a pipe for reading waits for a writer.
    const int fd = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        outcome = errno == ENOENT || errno == ENOTDIR ? HostRead::Missing : HostRead::Unreadable;
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0)
        outcome = HostRead::Unreadable;
    else if (!S_ISREG(st.st_mode))
        outcome = HostRead::NotAFile;
    else if (static_cast<uint64_t>(st.st_size) > maxBytes)
        outcome = HostRead::TooLarge;
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        outcome = HostRead::Unreadable;
    else
        outcome = HostRead::Read;
    if (outcome == HostRead::Read) return fd;
    const int error = errno;
    close(fd);
    errno = error;
    return -1;
}

HostRead CheckPlainHostFile(const std::string& hostPath, size_t maxBytes) {
    HostRead outcome;
    const int fd = OpenPlainHostFile(hostPath, maxBytes, outcome);
    if (fd >= 0) close(fd);
    return outcome;
}

HostRead ReadPlainHostFile(const std::string& hostPath, std::string& content, size_t maxBytes) {
    return ReadInto(hostPath, content, maxBytes);
}

HostRead ReadPlainHostFile(const std::string& hostPath, std::vector<uint8_t>& content, size_t maxBytes) {
    return ReadInto(hostPath, content, maxBytes);
}

const char* HostReadReason(HostRead outcome) {
    switch (outcome) {
    case HostRead::Read: return "read";
    case HostRead::Missing: return "missing";
    case HostRead::NotAFile: return "not a file but a folder, a pipe or a device";
    case HostRead::TooLarge: return "too large";
    default: return "not readable";
    }
}
