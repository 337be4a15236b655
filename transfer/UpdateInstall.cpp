#include "transfer/UpdateInstall.h"

#include <cerrno>
#include <set>

#include "core/Folders.h"
#include "platform/base/CFile.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/handle.h"
#include "platform/base/host_files.h"
#include "platform/base/lasterror.h"
#include "transfer/TransferLoop.h"

namespace {

// The update works on host paths found once per folder: a device path per
// file would be looked up in a folder of thousands of icons each time.
constexpr char kKeptMark[] = ".~kept";

std::string KeptName(const std::string& target) { return target + kKeptMark; }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Made once every new file is in place and removed once the kept old files
// are gone: while it is there a start-up finishes the install instead of
// undoing it.
CString CompletedMark() { return CString(kUpdateProgramFolder) + u"\\update.~done"; }

bool SyncMarkFolder() {
    const CString mark = CompletedMark();
    return SyncHostFolder(DeviceToHostPath(mark.Left(mark.ReverseFind(u'\\')).GetString()));
}

void SyncFoldersOf(const std::vector<std::string>& paths) {
    std::set<std::string> folders;
    for (const std::string& path : paths) {
        if (folders.insert(FolderOf(path)).second) SyncHostFolder(FolderOf(path));
    }
}

// A rename between two names of one file changes nothing, hence the remove.
// A kept file that cannot go back stays for the next start-up.
void PutKeptBack(const std::string& target) {
    const std::string kept = KeptName(target);
    if (RenameHostFile(kept, target)) RemoveHostFile(kept);
}

void RemoveKept(const std::vector<std::string>& targets) {
    for (const std::string& target : targets) RemoveHostFile(KeptName(target));
    SyncFoldersOf(targets);
}

}  // namespace

CUpdateInstall::~CUpdateInstall() {
    if (!m_complete) PutBack();
}

bool CUpdateInstall::Fail() {
    m_error.failed = true;
    m_error.cause = CFileException::ErrnoToException(errno);
    return false;
}

bool CUpdateInstall::Replace(CBlockCopy& copy, const std::string& hostTarget) {
    Replaced entry{hostTarget};
    const std::string kept = KeptName(hostTarget);
    RemoveHostFile(kept);
    // A folder in the file's place has nothing to keep; the rename fails on it.
    const HostEntry present = HostEntryAt(hostTarget);
    if (present == HostEntry::Other) {
        if (!LinkHostFile(hostTarget, kept) || !SyncHostFolder(FolderOf(kept))) return Fail();
        entry.kept = true;
    }
    m_replaced.push_back(entry);
    if (copy.Commit()) return true;
    m_error = copy.Error();
    return false;
}

void CUpdateInstall::PutBack() {
    std::vector<std::string> targets;
    for (const Replaced& entry : m_replaced) {
        if (entry.kept)
            PutKeptBack(entry.target);
        else
            RemoveHostFile(entry.target);
        targets.push_back(entry.target);
    }
    SyncFoldersOf(targets);
}

bool CUpdateInstall::Complete() {
    const CString mark = CompletedMark();
    // Only its name counts: an empty file made in place, so that a power cut
    // leaves no half-written temporary beside it.
    const HANDLE made = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) {
        m_error.failed = true;
        m_error.cause = CFileException::OsErrorToException(static_cast<LONG>(GetLastError()));
        return false;
    }
    CloseHandle(made);
    if (!SyncMarkFolder()) return Fail();
    m_complete = true;
    std::vector<std::string> targets;
    for (const Replaced& entry : m_replaced) targets.push_back(entry.target);
    RemoveKept(targets);
    DeleteFileW(mark);
    SyncMarkFolder();
    return true;
}

void FinishInterruptedUpdate(const std::vector<std::string>& hostTargets) {
    const CString mark = CompletedMark();
    if (GetFileAttributesW(mark) != INVALID_FILE_ATTRIBUTES) {
        RemoveKept(hostTargets);
        DeleteFileW(mark);
        SyncMarkFolder();
        return;
    }
    for (const std::string& target : hostTargets) PutKeptBack(target);
    SyncFoldersOf(hostTargets);
}

FileCopyError InstallUpdateFiles(const std::vector<UpdateFile>& files, CTransferLoop& loop) {
    if (!DirExists(kUpdateProgramFolder)) CreateDirectory(kUpdateProgramFolder, nullptr);
    const ULONGLONG total = UpdateSize(files);
    std::vector<CBlockCopy> copies(files.size());
    loop.Begin(false);
    ULONGLONG done = 0;
    for (size_t i = 0; i < files.size(); ++i)
        if (!copies[i].Copy(files[i].source, files[i].hostTarget, files[i].size, loop, done, total))
            return copies[i].Error();
    CUpdateInstall install;
    for (size_t i = 0; i < copies.size(); ++i)
        if (!install.Replace(copies[i], files[i].hostTarget)) return install.Error();
    if (!install.Complete()) return install.Error();
    loop.Finish();
    return FileCopyError{};
}
