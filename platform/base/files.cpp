#include "platform/base/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"
#include "platform/base/lasterror.h"
#include "platform/base/localtime.h"
#include "platform/base/nocase.h"
#include "platform/base/utf.h"
#include "platform/base/wstr.h"

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL Succeed() {
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

bool Exists(const std::string& hostPath, struct stat& st) { return stat(hostPath.c_str(), &st) == 0; }

// A regular file, made blocking again (it was opened without waiting, in
// case it was a pipe).
bool IsRegularDescriptor(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
}

bool IsReadOnly(const struct stat& st) { return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR); }

std::string ParentOf(const std::string& hostPath) { return hostPath.substr(0, hostPath.rfind('/')); }

// A missing file and a missing folder on the way to it are different errors.
DWORD PathError(int error, const std::string& hostPath) {
    struct stat st;
    if (error == ENOENT && !Exists(ParentOf(hostPath), st)) return ERROR_PATH_NOT_FOUND;
    return ErrorFromErrno(error);
}

BOOL FailWithErrno(const std::string& hostPath) { return Fail(PathError(errno, hostPath)); }

FILETIME FileTimeOf(const timespec& time) {
    return UnixMsToFileTime(static_cast<int64_t>(time.tv_sec) * 1000 + time.tv_nsec / 1000000);
}

DWORD AttributesOf(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return IsReadOnly(st) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

std::atomic<ReadFaultHook> g_readFaultHook{nullptr};

// The test's hook asked about a read of `fd` from where it stands.
bool ReadFaultInjected(int fd) {
    const ReadFaultHook hook = g_readFaultHook.load();
    if (!hook) return false;
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    const off_t offset = lseek(fd, 0, SEEK_CUR);
    return length > 0 && offset >= 0 &&
           hook(std::string(target, static_cast<size_t>(length)), static_cast<ULONGLONG>(offset));
}

class FileObject : public StreamObject {
public:
    FileObject(int fd, DWORD access) : m_fd(fd), m_access(access) {}
    ~FileObject() override { close(m_fd); }

    BOOL Read(void* buffer, DWORD count, DWORD* done) override {
        if (!(m_access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
        if (ReadFaultInjected(m_fd)) return Fail(ErrorFromErrno(EIO));
        char* bytes = static_cast<char*>(buffer);
        while (*done < count) {
            const ssize_t n = read(m_fd, bytes + *done, count - *done);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail(ErrorFromErrno(errno));
            }
            *done += static_cast<DWORD>(n);
        }
        return Succeed();
    }

    BOOL Write(const void* data, DWORD count, DWORD* done) override {
        if (!(m_access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
        const char* bytes = static_cast<const char*>(data);
        while (*done < count) {
            const ssize_t n = write(m_fd, bytes + *done, count - *done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail(ErrorFromErrno(errno));
            }
            *done += static_cast<DWORD>(n);
        }
        return Succeed();
    }

    BOOL Flush() override { return fsync(m_fd) == 0 ? Succeed() : Fail(ErrorFromErrno(errno)); }

    int Descriptor() const { return m_fd; }
    DWORD Access() const { return m_access; }

private:
    int m_fd;
    DWORD m_access;
};

class FindObject : public KernelObject {
public:
    std::vector<WIN32_FIND_DATAW> entries;
    size_t next = 0;
};

std::mutex g_devicesLock;
std::map<std::u16string, StreamDeviceOpener>& DeviceOpeners() {
    static std::map<std::u16string, StreamDeviceOpener> openers;
    return openers;
}

bool IsDeviceName(std::u16string_view name) {
    auto letter = [](char16_t ch) { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z'); };
    return name.size() == 5 && letter(name[0]) && letter(name[1]) && letter(name[2]) && name[3] >= u'0' &&
           name[3] <= u'9' && name[4] == u':';
}

HANDLE OpenDevice(std::u16string_view name, DWORD access) {
    StreamDeviceOpener opener;
    {
        std::lock_guard<std::mutex> lock(g_devicesLock);
        auto it = DeviceOpeners().find(UpperCase(name.substr(0, 3)));
        if (it != DeviceOpeners().end()) opener = it->second;
    }
    if (!opener) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    StreamObject* object = opener(name, access);
    return object ? MakeHandle(object) : INVALID_HANDLE_VALUE;
}

int OpenFlags(DWORD access, DWORD disposition) {
    int flags = O_CLOEXEC;
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE)) flags |= O_RDWR;
    else if (access & GENERIC_WRITE) flags |= O_WRONLY;
    else flags |= O_RDONLY;
    switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return flags | O_TRUNC;
    default: return flags;
    }
}

bool ValidDisposition(DWORD access, DWORD disposition) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return false;
    return disposition != TRUNCATE_EXISTING || (access & GENERIC_WRITE);
}

bool FillFindData(const std::string& folder, const std::string& name, WIN32_FIND_DATAW& data) {
    struct stat st;
    if (!Exists(folder + "/" + name, st)) return false;
    const std::u16string wide = Utf8ToUtf16(name);
    if (wide.size() >= MAX_PATH) return false;
    data = WIN32_FIND_DATAW{};
    data.dwFileAttributes = AttributesOf(st);
    data.ftCreationTime = FileTimeOf(st.st_ctim);
    data.ftLastAccessTime = FileTimeOf(st.st_atim);
    data.ftLastWriteTime = FileTimeOf(st.st_mtim);
    if (!S_ISDIR(st.st_mode)) {
        data.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
        data.nFileSizeLow = static_cast<DWORD>(st.st_size);
    }
    std::copy(wide.begin(), wide.end(), data.cFileName);
    return true;
}

}  // namespace

BOOL StreamObject::IoControl(DWORD, const void*, DWORD, void*, DWORD, DWORD*) { return Fail(ERROR_NOT_SUPPORTED); }

void RegisterStreamDevice(std::u16string_view prefix, StreamDeviceOpener opener) {
    std::lock_guard<std::mutex> lock(g_devicesLock);
    DeviceOpeners()[UpperCase(prefix)] = std::move(opener);
}

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD flagsAndAttributes, HANDLE) {
    if (!path || !ValidDisposition(access, disposition)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::u16string_view name(path);
    if (!name.empty() && (name[0] == u'\\' || name[0] == u'/') && IsDeviceName(name.substr(1))) name.remove_prefix(1);
    if (IsDeviceName(name)) return OpenDevice(name, access);

    const std::string hostPath = DeviceToHostPath(name);
    struct stat st;
    const bool existed = Exists(hostPath, st);
    if (existed && S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const bool writes = (access & GENERIC_WRITE) || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (existed && writes && IsReadOnly(st)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const bool regularOnly = (flagsAndAttributes & FILE_FLAG_REGULAR_FILE_ONLY) != 0;
    const int fd =
        open(hostPath.c_str(), OpenFlags(access, disposition) | (regularOnly ? O_NOFOLLOW | O_NONBLOCK : 0), 0666);
    if (fd < 0) {
        SetLastError(errno == EEXIST ? ERROR_FILE_EXISTS : regularOnly && errno == ELOOP ? ERROR_ACCESS_DENIED
                                                                                      : PathError(errno, hostPath));
        return INVALID_HANDLE_VALUE;
    }
    if (regularOnly && !IsRegularDescriptor(fd)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (!existed && (flagsAndAttributes & FILE_ATTRIBUTE_READONLY)) fchmod(fd, 0444);
    HANDLE handle = MakeHandle(new FileObject(fd, access));
    const bool reportsExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

void SetReadFaultHook(ReadFaultHook hook) { g_readFaultHook = hook; }

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD done, LPOVERLAPPED) {
    DWORD got = 0;
    if (done) *done = 0;
    HeldObject<StreamObject> stream(file);
    if (!stream) return FALSE;
    if (!buffer && count) return Fail(ERROR_INVALID_PARAMETER);
    const BOOL ok = stream->Read(buffer, count, &got);
    if (done) *done = got;
    return ok;
}

BOOL WriteFile(HANDLE file, LPCVOID data, DWORD count, LPDWORD done, LPOVERLAPPED) {
    DWORD put = 0;
    if (done) *done = 0;
    HeldObject<StreamObject> stream(file);
    if (!stream) return FALSE;
    if (!data && count) return Fail(ERROR_INVALID_PARAMETER);
    const BOOL ok = stream->Write(data, count, &put);
    if (done) *done = put;
    return ok;
}

BOOL FlushFileBuffers(HANDLE file) {
    HeldObject<StreamObject> stream(file);
    return stream ? stream->Flush() : FALSE;
}

BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED) {
    DWORD count = 0;
    HeldObject<StreamObject> stream(device);
    if (!stream) return FALSE;
    const BOOL ok = stream->IoControl(code, in, inSize, out, outSize, &count);
    if (returned) *returned = count;
    return ok;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method) {
    HeldObject<FileObject> object(file);
    if (!object) return INVALID_SET_FILE_POINTER;
    const int64_t offset = high ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<DWORD>(*high)) << 32) |
                                                       static_cast<DWORD>(distance))
                                : distance;
    const int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    const off_t base = whence == SEEK_SET ? 0 : lseek(object->Descriptor(), 0, whence);
    if (base < 0 || (offset < 0 && base + offset < 0)) {
        SetLastError(base < 0 ? ErrorFromErrno(errno) : ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    const off_t position = lseek(object->Descriptor(), base + offset, SEEK_SET);
    if (position < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (high) *high = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(position);
}

BOOL SetEndOfFile(HANDLE file) {
    HeldObject<FileObject> object(file);
    if (!object) return FALSE;
    if (!(object->Access() & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
    const off_t position = lseek(object->Descriptor(), 0, SEEK_CUR);
    if (position < 0 || ftruncate(object->Descriptor(), position) != 0) return Fail(ErrorFromErrno(errno));
    return Succeed();
}

DWORD GetFileSize(HANDLE file, LPDWORD high) {
    HeldObject<FileObject> object(file);
    struct stat st;
    if (!object) return INVALID_FILE_SIZE;
    if (fstat(object->Descriptor(), &st) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    if (high) *high = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(st.st_size);
}

DWORD GetFileAttributesW(LPCWSTR path) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string hostPath = DeviceToHostPath(path);
    struct stat st;
    if (!Exists(hostPath, st)) {
        FailWithErrno(hostPath);
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(st);
}

BOOL GetDiskFreeSpaceExW(LPCWSTR path, ULONGLONG* freeToCaller, ULONGLONG* totalBytes, ULONGLONG* totalFree) {
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    const std::string hostPath = DeviceToHostPath(path);
    struct statvfs volume;
    if (statvfs(hostPath.c_str(), &volume) != 0) return FailWithErrno(hostPath);
    const ULONGLONG unit = volume.f_frsize;
    if (freeToCaller) *freeToCaller = volume.f_bavail * unit;
    if (totalBytes) *totalBytes = volume.f_blocks * unit;
    if (totalFree) *totalFree = volume.f_bfree * unit;
    return TRUE;
}

FileEntryKind GetFileEntryKind(LPCWSTR path) {
    struct stat st;
    if (!path || lstat(DeviceToHostPath(path).c_str(), &st) != 0) return FileEntryKind::Missing;
    if (S_ISLNK(st.st_mode)) return FileEntryKind::Link;
    if (S_ISREG(st.st_mode)) return FileEntryKind::RegularFile;
    return S_ISDIR(st.st_mode) ? FileEntryKind::Folder : FileEntryKind::Other;
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    const std::string hostPath = DeviceToHostPath(path);
    struct stat st;
    if (!Exists(hostPath, st)) return FailWithErrno(hostPath);
    if (S_ISDIR(st.st_mode)) return Succeed();
    const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (st.st_mode & ~writeBits) : (st.st_mode | S_IWUSR);
    if (chmod(hostPath.c_str(), mode & 07777) != 0) return FailWithErrno(hostPath);
    return Succeed();
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    const std::string hostPath = DeviceToHostPath(path);
    if (mkdir(hostPath.c_str(), 0777) != 0) return FailWithErrno(hostPath);
    return Succeed();
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    const std::string hostPath = DeviceToHostPath(path);
    struct stat st;
    if (!Exists(hostPath, st)) return FailWithErrno(hostPath);
    if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
    if (DevicePathComponents(path).empty()) return Fail(ERROR_ACCESS_DENIED);
    if (rmdir(hostPath.c_str()) != 0) return FailWithErrno(hostPath);
    return Succeed();
}

BOOL DeleteFileW(LPCWSTR path) {
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    const std::string hostPath = DeviceToHostPath(path);
    struct stat st;
    if (!Exists(hostPath, st)) return FailWithErrno(hostPath);
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
    if (unlink(hostPath.c_str()) != 0) return FailWithErrno(hostPath);
    return Succeed();
}

BOOL CreateHardLinkW(LPCWSTR newName, LPCWSTR existing, LPSECURITY_ATTRIBUTES) {
    if (!newName || !existing) return Fail(ERROR_INVALID_PARAMETER);
    const std::string to = DeviceToHostPath(newName);
    if (link(DeviceToHostPath(existing).c_str(), to.c_str()) != 0) return FailWithErrno(to);
    return Succeed();
}

BOOL CopyFileW(LPCWSTR source, LPCWSTR target, BOOL failIfExists) {
    if (!source || !target) return Fail(ERROR_INVALID_PARAMETER);
    const std::string from = DeviceToHostPath(source);
    const std::string to = DeviceToHostPath(target);
    struct stat sourceStat, targetStat;
    if (!Exists(from, sourceStat)) return FailWithErrno(from);
    // Only a file's content is copied: a pipe would keep the copy waiting.
    if (!S_ISREG(sourceStat.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (Exists(to, targetStat)) {
        if (failIfExists) return Fail(ERROR_FILE_EXISTS);
        if (S_ISDIR(targetStat.st_mode) || IsReadOnly(targetStat)) return Fail(ERROR_ACCESS_DENIED);
    }
    HostRead opened;
    const int fd = OpenPlainHostFile(from, SIZE_MAX, opened);
    if (fd < 0) return opened == HostRead::NotAFile ? Fail(ERROR_ACCESS_DENIED) : FailWithErrno(from);
    const bool copied = ReplaceHostFileFrom(fd, to, sourceStat.st_mode & 07777);
    const int error = errno;
    close(fd);
    errno = error;
    return copied ? Succeed() : FailWithErrno(to);
}

BOOL MoveFileW(LPCWSTR source, LPCWSTR target) { return MoveFileExW(source, target, 0); }

BOOL MoveFileExW(LPCWSTR source, LPCWSTR target, DWORD flags) {
    if (!source || !target) return Fail(ERROR_INVALID_PARAMETER);
    const std::string from = DeviceToHostPath(source);
    const std::vector<std::u16string> parts = DevicePathComponents(target);
    if (parts.empty()) return Fail(ERROR_ACCESS_DENIED);
    const std::string existing = HostPathOfComponents(parts);
    // A rename that changes only the letter case finds the source itself.
    const std::string folder = HostPathOfComponents(parts, parts.size() - 1);
    std::string to = folder + "/" + Utf16ToUtf8(parts.back());
    struct stat st;
    if (!Exists(from, st)) return FailWithErrno(from);
    if (existing != from && Exists(existing, st)) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
        if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
        // The file keeps the name it has on the device.
        to = existing;
    }
    if (rename(from.c_str(), to.c_str()) != 0) return FailWithErrno(to);
    if (flags & MOVEFILE_WRITE_THROUGH) {
        const std::string fromFolder = from.substr(0, from.rfind('/'));
        if (!SyncHostFolder(folder) || (fromFolder != folder && !SyncHostFolder(fromFolder))) return FailWithErrno(folder);
    }
    return Succeed();
}

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name) {
    if (pattern == u"*.*") pattern = u"*";
    size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || towupper(pattern[p]) == towupper(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    if (!pattern || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::vector<std::u16string> parts = DevicePathComponents(pattern);
    if (parts.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const std::string folder = HostPathOfComponents(parts, parts.size() - 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && MatchesWildcard(parts.back(), Utf8ToUtf16(name))) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());

    auto* search = new FindObject;
    for (const std::string& name : names) {
        WIN32_FIND_DATAW entry;
        if (FillFindData(folder, name, entry)) search->entries.push_back(entry);
    }
    if (search->entries.empty()) {
        delete search;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *data = search->entries[search->next++];
    SetLastError(ERROR_SUCCESS);
    return MakeHandle(search);
}

BOOL FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data) {
    HeldObject<FindObject> object(search);
    if (!object) return FALSE;
    if (!data) return Fail(ERROR_INVALID_PARAMETER);
    if (object->next >= object->entries.size()) return Fail(ERROR_NO_MORE_FILES);
    *data = object->entries[object->next++];
    return Succeed();
}

BOOL FindClose(HANDLE search) {
    if (!HeldObject<FindObject>(search)) return FALSE;
    return CloseHandle(search);
}
