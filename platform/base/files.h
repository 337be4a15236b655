// Files, folders and searches of the device file system (device_fs.h),
// through the platform's handle table. Share modes are accepted and not
// enforced: the terminal runs one program, and its pages open a file that
// another handle still holds only to copy it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/base/handle.h"
#include "platform/base/types.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100u
#define FILE_FLAG_WRITE_THROUGH 0x80000000u
// The platform's own flag, for files from a removable medium: the open fails
// (ERROR_ACCESS_DENIED) unless the path names a regular file itself, not a
// link, device, pipe or socket, and it never waits for a writer.
#define FILE_FLAG_REGULAR_FILE_ONLY 0x00200000u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#define ERROR_NEGATIVE_SEEK 131L

struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};
typedef WIN32_FIND_DATAW WIN32_FIND_DATA;
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATA;

// Anything ReadFile and WriteFile reach through a handle: files, and the
// stream devices ("COM1:") that other parts of the platform register.
// Each call reports failures through SetLastError.
class StreamObject : public KernelObject {
public:
    virtual BOOL Read(void* buffer, DWORD count, DWORD* done) = 0;
    virtual BOOL Write(const void* data, DWORD count, DWORD* done) = 0;
    virtual BOOL Flush() { return TRUE; }
    virtual BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
};

// A device name is three letters, a digit and a colon ("COM1:"). CreateFile
// hands it to the opener registered for its three letters (any case), which
// returns a new object or nullptr with the last error set.
using StreamDeviceOpener = std::function<StreamObject*(std::u16string_view name, DWORD access)>;
void RegisterStreamDevice(std::u16string_view prefix, StreamDeviceOpener opener);

// Fault injection for tests: asked before each read of a file (not of a
// stream device) with the file's host path and the offset the read starts
// at; true makes that read fail as one from a damaged medium does
// (ERROR_IO_DEVICE). Null: no read fails on purpose.
using ReadFaultHook = bool (*)(const std::string& hostPath, ULONGLONG offset);
void SetReadFaultHook(ReadFaultHook hook);

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD done, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID data, DWORD count, LPDWORD done, LPOVERLAPPED overlapped);
BOOL FlushFileBuffers(HANDLE file);
BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                     LPDWORD returned, LPOVERLAPPED overlapped);
// `high` (may be null) carries the upper 32 bits of a 64-bit distance in and
// of the new position out; without it the distance is a signed 32-bit value.
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method);
BOOL SetEndOfFile(HANDLE file);
DWORD GetFileSize(HANDLE file, LPDWORD high);

DWORD GetFileAttributesW(LPCWSTR path);
// The bytes free for the program on the volume that holds `path` (a folder
// or file that exists), and the volume's size. Either pointer may be null.
BOOL GetDiskFreeSpaceExW(LPCWSTR path, ULONGLONG* freeToCaller, ULONGLONG* totalBytes, ULONGLONG* totalFree);
// What a path names, a link taken as itself and not followed.
enum class FileEntryKind { Missing, RegularFile, Folder, Link, Other };
FileEntryKind GetFileEntryKind(LPCWSTR path);
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryW(LPCWSTR path);
BOOL DeleteFileW(LPCWSTR path);
// A second name for an existing file (the same content, not a copy).
BOOL CreateHardLinkW(LPCWSTR newName, LPCWSTR existing, LPSECURITY_ATTRIBUTES security);
// The copy replaces the target atomically: a crash leaves the old target or
// the complete copy, never a part of it.
BOOL CopyFileW(LPCWSTR source, LPCWSTR target, BOOL failIfExists);
BOOL MoveFileW(LPCWSTR source, LPCWSTR target);
// MOVEFILE_REPLACE_EXISTING: an existing target file is replaced in one
// step (never missing in between); MOVEFILE_WRITE_THROUGH: the folders'
// entries are on disk before it returns.
#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_WRITE_THROUGH 0x00000008u
BOOL MoveFileExW(LPCWSTR source, LPCWSTR target, DWORD flags);

// Matches the last component of `pattern` with '*' and '?', ignoring case;
// "." and ".." are never reported. Entries come in name order.
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
BOOL FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data);
BOOL FindClose(HANDLE search);

inline HANDLE CreateFile(LPCWSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                         DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    return CreateFileW(path, access, shareMode, security, disposition, flagsAndAttributes, templateFile);
}
inline DWORD GetFileAttributes(LPCWSTR path) { return GetFileAttributesW(path); }
inline BOOL SetFileAttributes(LPCWSTR path, DWORD attributes) { return SetFileAttributesW(path, attributes); }
inline BOOL CreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) { return CreateDirectoryW(path, security); }
inline BOOL RemoveDirectory(LPCWSTR path) { return RemoveDirectoryW(path); }
inline BOOL DeleteFile(LPCWSTR path) { return DeleteFileW(path); }
inline BOOL CopyFile(LPCWSTR source, LPCWSTR target, BOOL failIfExists) { return CopyFileW(source, target, failIfExists); }
inline BOOL MoveFile(LPCWSTR source, LPCWSTR target) { return MoveFileW(source, target); }
inline BOOL MoveFileEx(LPCWSTR source, LPCWSTR target, DWORD flags) { return MoveFileExW(source, target, flags); }
inline HANDLE FindFirstFile(LPCWSTR pattern, LPWIN32_FIND_DATAW data) { return FindFirstFileW(pattern, data); }
inline BOOL FindNextFile(HANDLE search, LPWIN32_FIND_DATAW data) { return FindNextFileW(search, data); }

// Matches a name against a pattern of '*' and '?', ignoring case.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name);
