#include "platform/base/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "platform/base/device_fs.h"
#include "platform/base/lasterror.h"

namespace {

constexpr char kTemporaryMark[] = ".~tmp";
constexpr int kTemporarySuffixLength = 6;

std::atomic<void (*)(AtomicStage)> g_stageHook{nullptr};

// Held through the renames of files that go together, so that an end does
// not take the temporaries of the last ones away from between them; taken
// before g_unfinishedLock.
std::mutex g_togetherLock;
// The temporaries of the writers not yet committed or given up.
std::mutex g_unfinishedLock;
std::set<std::string>& Unfinished() {
    static std::set<std::string> temporaries;
    return temporaries;
}

void NoteUnfinished(const std::string& temporary, bool unfinished) {
    std::lock_guard<std::mutex> guard(g_unfinishedLock);
    if (unfinished)
        Unfinished().insert(temporary);
    else
        Unfinished().erase(temporary);
}

void ReachStage(AtomicStage stage) {
    if (auto hook = g_stageHook.load()) hook(stage);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return ok;
}

// Six characters that differ between processes and between calls.
std::string TemporarySuffix() {
    static std::atomic<unsigned> counter{0};
    uint64_t seed = (static_cast<uint64_t>(getpid()) << 24) ^ (counter.fetch_add(1) * 2654435761u) ^
                    reinterpret_cast<uintptr_t>(&counter);
    std::string suffix;
    for (int i = 0; i < kTemporarySuffixLength; ++i, seed /= 36) suffix += "0123456789abcdefghijklmnopqrstuvwxyz"[seed % 36];
    return suffix;
}

// Removes the temporaries in `folder` of the files that `replaced` accepts
// by name.
template <class Accept>
void RemoveTemporariesIn(const std::string& folder, Accept replaced) {
    const std::string mark = kTemporaryMark;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < mark.size() + kTemporarySuffixLength) continue;
        const size_t at = name.size() - kTemporarySuffixLength - mark.size();
        if (name.compare(at, mark.size(), mark) == 0 && replaced(name.substr(0, at)))
            unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string hostPath) : m_target(std::move(hostPath)) {
    // The kernel applies the umask to a new file's mode, as for any new file.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = m_target + kTemporaryMark + TemporarySuffix();
        m_fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd < 0) {
        m_error = errno;
        m_temporary.clear();
        return;
    }
    NoteUnfinished(m_temporary, true);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_fd >= 0) close(m_fd);
    if (m_temporary.empty()) return;
    unlink(m_temporary.c_str());
    NoteUnfinished(m_temporary, false);
}

bool AtomicFileWriter::Fail() {
    if (!m_error) m_error = errno;
    return false;
}

bool AtomicFileWriter::Write(const void* data, size_t size) {
    if (m_fd < 0 || m_error) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(m_fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail();
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    ReachStage(AtomicStage::Wrote);
    return true;
}

bool AtomicFileWriter::Finish() {
    if (m_temporary.empty() || m_error) return false;
    if (m_fd < 0) return true;
    struct stat st;
    if (lstat(m_target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        m_error = EISDIR;
        return false;
    }
    if (!m_hasMode && stat(m_target.c_str(), &st) == 0) SetMode(st.st_mode & 07777);
    if (m_hasMode && fchmod(m_fd, m_mode) != 0) return Fail();
    if (fsync(m_fd) != 0) return Fail();
    ReachStage(AtomicStage::Flushed);
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0) return Fail();
    return true;
}

bool AtomicFileWriter::Commit() {
    if (!Finish()) return false;
    if (rename(m_temporary.c_str(), m_target.c_str()) != 0) return Fail();
    NoteUnfinished(m_temporary, false);
    m_temporary.clear();
    ReachStage(AtomicStage::Renamed);
    if (!SyncFolder(FolderOf(m_target))) return Fail();
    return true;
}

bool CommitInOrder(const std::vector<AtomicFileWriter*>& writers) {
    // The slow part, the flush of each new content, comes before any file
    // is replaced: the renames follow one another closely.
    for (AtomicFileWriter* writer : writers)
        if (!writer->Finish()) return false;
    std::lock_guard<std::mutex> guard(g_togetherLock);
    for (AtomicFileWriter* writer : writers)
        if (!writer->Commit()) return false;
    return true;
}

bool ReplaceHostFile(const std::string& hostPath, const void* data, size_t size) {
    AtomicFileWriter writer(hostPath);
    if (writer.Write(data, size) && writer.Commit()) return true;
    errno = writer.Error();
    return false;
}

bool ReplaceHostFileFrom(int source, const std::string& hostPath, mode_t mode) {
    AtomicFileWriter writer(hostPath);
    std::vector<char> buffer(64 * 1024);
    ssize_t n = 0;
    while (writer.IsOpen() && (n = read(source, buffer.data(), buffer.size())) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (!writer.Write(buffer.data(), static_cast<size_t>(n))) break;
    }
    writer.SetMode(mode);
    if (writer.Commit()) return true;
    errno = writer.Error();
    return false;
}

namespace {

// The file a link at `hostPath` leads to, when it leads somewhere; else the
// path itself.
std::string LinkTargetOrSelf(const std::string& hostPath) {
    struct stat st;
    if (lstat(hostPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return hostPath;
    char* resolved = realpath(hostPath.c_str(), nullptr);
    if (!resolved) return hostPath;
    std::string target(resolved);
    free(resolved);
    return target;
}

BOOL ReplaceDeviceFile(LPCWSTR devicePath, const void* data, size_t size, bool followLink) {
    if (!devicePath) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string hostPath = DeviceToHostPath(devicePath);
    if (!ReplaceHostFile(followLink ? LinkTargetOrSelf(hostPath) : hostPath, data, size)) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

}  // namespace

BOOL ReplaceFileContents(LPCWSTR devicePath, const void* data, size_t size) {
    return ReplaceDeviceFile(devicePath, data, size, false);
}

bool ReplaceOwnHostFile(const std::string& hostPath, const void* data, size_t size) {
    return ReplaceHostFile(LinkTargetOrSelf(hostPath), data, size);
}

BOOL ReplaceOwnFileContents(LPCWSTR devicePath, const void* data, size_t size) {
    return ReplaceDeviceFile(devicePath, data, size, true);
}

bool SyncHostFolder(const std::string& hostFolder) { return SyncFolder(hostFolder); }

void RemoveStaleTemporaries(const std::string& hostPath) { RemoveStaleTemporariesOf({hostPath}); }

void RemoveStaleTemporariesIn(const std::string& hostFolder) {
    RemoveTemporariesIn(hostFolder, [](const std::string& replaced) { return !replaced.empty(); });
}

void RemoveStaleTemporariesOf(const std::vector<std::string>& hostPaths) {
    std::map<std::string, std::set<std::string>> namesByFolder;
    for (const std::string& path : hostPaths) namesByFolder[FolderOf(path)].insert(path.substr(path.rfind('/') + 1));
    for (const auto& folderNames : namesByFolder) {
        const std::set<std::string>& names = folderNames.second;
        RemoveTemporariesIn(folderNames.first, [&names](const std::string& replaced) { return names.count(replaced) != 0; });
    }
}

void SetAtomicStageHook(void (*hook)(AtomicStage stage)) { g_stageHook = hook; }

void RemoveUnfinishedTemporaries() {
    std::lock_guard<std::mutex> together(g_togetherLock);
    std::lock_guard<std::mutex> guard(g_unfinishedLock);
    for (const std::string& temporary : Unfinished()) unlink(temporary.c_str());
    Unfinished().clear();
}
