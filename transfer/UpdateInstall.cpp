#include "transfer/UpdateInstall.h"

#include <set>

#include "platform/base/CFile.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/handle.h"
#include "platform/base/lasterror.h"
#include "transfer/UpdateFolder.h"

namespace {

constexpr char16_t kKeptMark[] = u".~kept";

CString KeptName(const CString& target) { return target + kKeptMark; }

CString FolderOf(const CString& path) { return path.Left(path.ReverseFind(u'\\')); }

// Made once every new file is in place and removed once the kept old files
// are gone: while it is there a start-up finishes the install instead of
// undoing it.
CString CompletedMark() { return CString(kUpdateProgramFolder) + u"\\update.~done"; }

bool SyncFolderOf(const CString& path) { return SyncHostFolder(DeviceToHostPath(FolderOf(path).GetString())); }

void SyncFoldersOf(const std::vector<CString>& paths) {
    std::set<std::u16string> folders;
    for (const CString& path : paths) {
        if (folders.insert(FolderOf(path).GetString()).second) SyncFolderOf(path);
    }
}

// A rename between two names of one file changes nothing, hence the delete.
// A kept file that cannot go back stays for the next start-up.
void PutKeptBack(const CString& target) {
    const CString kept = KeptName(target);
    if (MoveFileExW(kept, target, MOVEFILE_REPLACE_EXISTING)) DeleteFileW(kept);
}

void RemoveKept(const std::vector<CString>& targets) {
    for (const CString& target : targets) DeleteFileW(KeptName(target));
    SyncFoldersOf(targets);
}

}  // namespace

CUpdateInstall::~CUpdateInstall() {
    if (!m_complete) PutBack();
}

bool CUpdateInstall::Fail() {
    m_error.failed = true;
    m_error.cause = CFileException::OsErrorToException(static_cast<LONG>(GetLastError()));
    return false;
}

bool CUpdateInstall::Replace(CBlockCopy& copy, const CString& target) {
    Replaced entry{target};
    const CString kept = KeptName(target);
    DeleteFileW(kept);
    // A folder in the file's place has nothing to keep; the rename fails on it.
    const DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if (!CreateHardLinkW(kept, target, nullptr) || !SyncFolderOf(kept)) return Fail();
        entry.kept = true;
    }
    m_replaced.push_back(entry);
    if (copy.Commit()) return true;
    m_error = copy.Error();
    return false;
}

void CUpdateInstall::PutBack() {
    std::vector<CString> targets;
    for (const Replaced& entry : m_replaced) {
        if (entry.kept)
            PutKeptBack(entry.target);
        else
            DeleteFileW(entry.target);
        targets.push_back(entry.target);
    }
    SyncFoldersOf(targets);
}

bool CUpdateInstall::Complete() {
    const CString mark = CompletedMark();
    // Only its name counts: an empty file made in place, so that a power cut
    // leaves no half-written temporary beside it.
    const HANDLE made = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) return Fail();
    CloseHandle(made);
    if (!SyncFolderOf(mark)) return Fail();
    m_complete = true;
    std::vector<CString> targets;
    for (const Replaced& entry : m_replaced) targets.push_back(entry.target);
    RemoveKept(targets);
    DeleteFileW(mark);
    SyncFolderOf(mark);
    return true;
}

void FinishInterruptedUpdate(const std::vector<CString>& targets) {
    const CString mark = CompletedMark();
    if (GetFileAttributesW(mark) != INVALID_FILE_ATTRIBUTES) {
        RemoveKept(targets);
        DeleteFileW(mark);
        SyncFolderOf(mark);
        return;
    }
    for (const CString& target : targets) PutKeptBack(target);
    SyncFoldersOf(targets);
}
