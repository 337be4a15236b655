#include "platform/base/CFile.h"

#include <algorithm>

#include "platform/base/files.h"
#include "platform/base/lasterror.h"
#include "platform/base/localtime.h"

namespace {

// The description of each cause; %s is the file's name.
const char16_t* const kCauseTexts[] = {
    u"No error occurred.",
    u"An unexpected error occurred while accessing %s.",
    u"%s was not found.",
    u"%s contains an invalid path.",
    u"%s could not be opened because there are too many open files.",
    u"Access to %s was denied.",
    u"An invalid file handle was associated with %s.",
    u"%s could not be removed because it is the current folder.",
    u"%s could not be created because the folder is full.",
    u"Seek failed on %s.",
    u"A hardware I/O error was reported while accessing %s.",
    u"A sharing violation occurred while accessing %s.",
    u"A locking violation occurred while accessing %s.",
    u"The disk is full while accessing %s.",
    u"An attempt was made to access %s past its end.",
};

// Platform errors with a cause of their own that the files layer never sets.
constexpr LONG kErrorCurrentDirectory = 16;
constexpr LONG kErrorSeek = 25;
constexpr LONG kErrorWriteFault = 29;
constexpr LONG kErrorReadFault = 30;
constexpr LONG kErrorCannotMake = 82;

CTime TimeOf(const FILETIME& time) { return CTime(static_cast<time_t>(FileTimeToUnixMs(time) / 1000)); }

DWORD CreationOf(UINT flags) {
    if (!(flags & CFile::modeCreate)) return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

DWORD AccessOf(UINT flags) {
    switch (flags & 3) {
    case CFile::modeWrite: return GENERIC_WRITE;
    case CFile::modeReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
    }
}

DWORD ShareOf(UINT flags) {
    switch (flags & 0x70) {
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    default: return 0;
    }
}

}  // namespace

// ---- CException, CFileException ----

CFileException::CFileException(int cause, LONG osError, LPCTSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName ? fileName : u"") {}

BOOL CFileException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const {
    if (helpContext) *helpContext = 0;
    if (!error || maxError == 0) return FALSE;
    const int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : genericException;
    const std::u16string_view text = kCauseTexts[cause];
    const std::u16string name = m_strFileName.IsEmpty() ? u"an unnamed file" : m_strFileName.str();
    std::u16string message;
    const size_t mark = text.find(u"%s");
    if (mark == std::u16string_view::npos) {
        message = text;
    } else {
        message.append(text.substr(0, mark)).append(name).append(text.substr(mark + 2));
    }
    const size_t copied = std::min<size_t>(message.size(), maxError - 1);
    std::copy_n(message.begin(), copied, error);
    error[copied] = u'\0';
    return TRUE;
}

int CFileException::OsErrorToException(LONG osError) {
    switch (osError) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case kErrorCurrentDirectory: return removeCurrentDir;
    case kErrorCannotMake: return directoryFull;
    case kErrorSeek:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_IO_DEVICE:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case kErrorReadFault:
    case kErrorWriteFault:
    case ERROR_CANTREAD:
    case ERROR_CANTWRITE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

int CFileException::ErrnoToException(int error) { return OsErrorToException(static_cast<LONG>(ErrorFromErrno(error))); }

void CFileException::ThrowOsError(LONG osError, LPCTSTR fileName) {
    throw new CFileException(OsErrorToException(osError), osError, fileName);
}

void CFileException::ThrowErrno(int error, LPCTSTR fileName) {
    throw new CFileException(ErrnoToException(error), static_cast<LONG>(ErrorFromErrno(error)), fileName);
}

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
    throw new CFileException(cause, osError, fileName);
}

// ---- CFile ----

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(HANDLE file) : m_hFile(file) {}

CFile::CFile(LPCTSTR fileName, UINT openFlags) : m_hFile(hFileNull) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) throw new CFileException(error);
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    Abort();
    HANDLE file = CreateFileW(fileName, AccessOf(openFlags), ShareOf(openFlags), nullptr, CreationOf(openFlags),
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) {
            const auto osError = static_cast<LONG>(GetLastError());
            *error = CFileException(CFileException::OsErrorToException(osError), osError, fileName);
        }
        return FALSE;
    }
    m_hFile = file;
    m_strFileName = fileName;
    return TRUE;
}

void CFile::ThrowLastError() const {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count) {
    DWORD done = 0;
    if (!ReadFile(m_hFile, buffer, count, &done, nullptr)) ThrowLastError();
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    DWORD done = 0;
    if (!WriteFile(m_hFile, buffer, count, &done, nullptr)) ThrowLastError();
    if (done < count) AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    LONG high = static_cast<LONG>(static_cast<ULONGLONG>(offset) >> 32);
    const DWORD low = SetFilePointer(m_hFile, static_cast<LONG>(offset), &high, from);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS) ThrowLastError();
    return (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
}

ULONGLONG CFile::GetPosition() const {
    LONG high = 0;
    const DWORD low = SetFilePointer(m_hFile, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS) ThrowLastError();
    return (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
}

ULONGLONG CFile::GetLength() const {
    DWORD high = 0;
    const DWORD low = GetFileSize(m_hFile, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) ThrowLastError();
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

void CFile::SetLength(ULONGLONG newLength) {
    Seek(static_cast<LONGLONG>(newLength), begin);
    if (!SetEndOfFile(m_hFile)) ThrowLastError();
}

void CFile::Flush() {
    if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
    const HANDLE file = m_hFile;
    m_hFile = hFileNull;
    const CString name = m_strFileName;
    m_strFileName.Empty();
    if (file != hFileNull && !CloseHandle(file))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), name);
}

void CFile::Abort() {
    if (m_hFile != hFileNull) CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const {
    const int slash = std::max(m_strFileName.ReverseFind(u'\\'), m_strFileName.ReverseFind(u'/'));
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(u'.');
    return dot < 0 ? name : name.Left(dot);
}

BOOL CFile::GetStatus(CFileStatus& status) const { return GetStatus(m_strFileName, status); }

BOOL CFile::GetStatus(LPCTSTR fileName, CFileStatus& status) {
    const std::u16string_view name = fileName ? fileName : u"";
    if (name.empty() || name.size() >= MAX_PATH || name.find_first_of(u"*?") != std::u16string_view::npos) return FALSE;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(fileName, &data);
    if (search == INVALID_HANDLE_VALUE) return FALSE;
    FindClose(search);
    status.m_ctime = TimeOf(data.ftCreationTime);
    status.m_mtime = TimeOf(data.ftLastWriteTime);
    status.m_atime = TimeOf(data.ftLastAccessTime);
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes);
    std::copy(name.begin(), name.end(), status.m_szFullName);
    status.m_szFullName[name.size()] = u'\0';
    return TRUE;
}

void CFile::Remove(LPCTSTR fileName) {
    if (!DeleteFileW(fileName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), fileName);
}

void CFile::Rename(LPCTSTR oldName, LPCTSTR newName) {
    if (!MoveFileW(oldName, newName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), oldName);
}
