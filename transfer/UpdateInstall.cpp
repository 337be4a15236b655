#include "transfer/UpdateInstall.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>

#include "platform/base/CFile.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "transfer/UpdateFolder.h"

namespace {

constexpr char kKeptMark[] = ".~kept";

std::string KeptName(const std::string& target) { return target + kKeptMark; }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Made once every new file is in place and removed once the kept old files
// are gone: while it is there a start-up finishes the install instead of
// undoing it.
std::string CompletedMark() {
    return DeviceToHostPath((CString(kUpdateProgramFolder) + u"\\update.~done").GetString());
}

void SyncFoldersOf(const std::vector<std::string>& paths) {
    std::set<std::string> folders;
    for (const std::string& path : paths) folders.insert(FolderOf(path));
    for (const std::string& folder : folders) SyncHostFolder(folder);
}

// A rename between two names of one file changes nothing, hence the unlink.
// A kept file that cannot go back stays for the next start-up.
void PutKeptBack(const std::string& target) {
    const std::string kept = KeptName(target);
    if (rename(kept.c_str(), target.c_str()) == 0) unlink(kept.c_str());
}

void RemoveKept(const std::vector<std::string>& targets) {
    for (const std::string& target : targets) unlink(KeptName(target).c_str());
    SyncFoldersOf(targets);
}

}  // namespace

CUpdateInstall::~CUpdateInstall() {
    if (!m_complete) PutBack();
}

bool CUpdateInstall::Fail(int error) {
    m_error.failed = true;
    m_error.cause = CFileException::ErrnoToException(error);
    return false;
}

bool CUpdateInstall::Replace(CBlockCopy& copy, const CString& target) {
    Replaced entry{DeviceToHostPath(target.GetString())};
    const std::string kept = KeptName(entry.target);
    unlink(kept.c_str());
    struct stat status;
    // A folder in the file's place has nothing to keep; the rename fails on it.
    if (lstat(entry.target.c_str(), &status) == 0 && !S_ISDIR(status.st_mode)) {
        if (link(entry.target.c_str(), kept.c_str()) != 0 || !SyncHostFolder(FolderOf(kept))) return Fail(errno);
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
            unlink(entry.target.c_str());
        targets.push_back(entry.target);
    }
    SyncFoldersOf(targets);
}

bool CUpdateInstall::Complete() {
    const std::string mark = CompletedMark();
    // Only its name counts: an empty file made in place, so that a power cut
    // leaves no half-written temporary beside it.
    const int made = open(mark.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (made < 0) return Fail(errno);
    close(made);
    if (!SyncHostFolder(FolderOf(mark))) return Fail(errno);
    m_complete = true;
    std::vector<std::string> targets;
    for (const Replaced& entry : m_replaced) targets.push_back(entry.target);
    RemoveKept(targets);
    unlink(mark.c_str());
    SyncHostFolder(FolderOf(mark));
    return true;
}

void FinishInterruptedUpdate(const std::vector<CString>& targets) {
    std::vector<std::string> hostTargets;
    for (const CString& target : targets) hostTargets.push_back(DeviceToHostPath(target.GetString()));
    const std::string mark = CompletedMark();
    if (access(mark.c_str(), F_OK) == 0) {
        RemoveKept(hostTargets);
        unlink(mark.c_str());
        SyncHostFolder(FolderOf(mark));
        return;
    }
    for (const std::string& target : hostTargets) PutKeptBack(target);
    SyncFoldersOf(hostTargets);
}
