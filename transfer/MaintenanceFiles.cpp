#include "transfer/MaintenanceFiles.h"

#include "core/DatabaseOpen.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "transfer/DatabaseCopyPlace.h"
#include "transfer/UpdateDlg.h"
#include "transfer/UpdateInstall.h"

namespace {

// The files that may hold part of a database's content; "-shm" holds none.
constexpr const char16_t* kJournalSuffixes[] = {u"-wal", u"-journal"};

// A plain file (not a link, pipe or folder) of no bytes.
bool IsEmptyRegularFile(const CString& path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_REGULAR_FILE_ONLY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    CloseHandle(file);
    return low == 0 && high == 0;
}

}  // namespace

void RemoveJournalFiles(const CString& databasePath) {
    for (const char16_t* suffix : kJournalSuffixes) DeleteFile(databasePath + suffix);
    DeleteFile(databasePath + u"-shm");
}

bool HasJournalFiles(const CString& databasePath) {
    for (const char16_t* suffix : kJournalSuffixes) {
        const CString journal = databasePath + suffix;
        if (GetFileEntryKind(journal) != FileEntryKind::Missing && !IsEmptyRegularFile(journal)) return true;
    }
    return false;
}

void RemoveMaintenanceLeftovers() {
    const CString live = GetDatabasePath();
    std::vector<CString> databaseFiles = {live, live + u".bak", live + u".old"};
    for (const CString& copy : DatabaseCopyPaths()) databaseFiles.push_back(copy);
    std::vector<std::string> replaced = CUpdateDlg::UpdatedFiles();
    FinishInterruptedUpdate(replaced);
    for (const CString& file : databaseFiles) replaced.push_back(DeviceToHostPath(file.GetString()));
    RemoveStaleTemporariesOf(replaced);
    for (const CString& copy : {live + u".bak", live + u".old"}) {
        RemoveJournalFiles(copy);
        DeleteFile(copy);
    }
}
