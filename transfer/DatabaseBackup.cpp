#include "transfer/DatabaseBackup.h"

#include "data/DataGlobals.h"
#include "data/DatabaseCheck.h"
#include "data/DbSqlite.h"
#include "platform/base/CFile.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/utf.h"
#include "transfer/MaintenanceFiles.h"
#include "transfer/JobProgress.h"
#include "transfer/TransferLoop.h"

namespace {

// A step's share of the bar, fine enough for every percentage.
constexpr ULONGLONG kStepShare = 10000;

int CauseOf(DatabaseCopyResult result) {
    switch (result) {
    case DatabaseCopyResult::Full:
        return CFileException::diskFull;
    case DatabaseCopyResult::IoError:
        return CFileException::hardIO;
    case DatabaseCopyResult::InUse:
        return CFileException::sharingViolation;
    default:
        return CFileException::genericException;
    }
}

}  // namespace

FileCopyError BackupDatabaseTo(const CString& target, CTransferLoop& loop) {
    FileCopyError error;
    const auto fail = [&](int cause) {
        loop.Fail();
        error.failed = true;
        error.cause = cause;
        return error;
    };
    // Both steps handle every page of the database: each fills half the bar.
    CJobProgress job(loop, 2 * kStepShare);
    // The temporary's name is one that start-up clears after a power cut.
    const std::string hostTarget = DeviceToHostPath(target.GetString());
    AtomicFileWriter writer(hostTarget);
    if (!writer.Finish()) return fail(CFileException::ErrnoToException(writer.Error()));
    const DatabaseCopyResult copied = GetDatabase()->CopyContentTo(writer.TemporaryPath(), job.Step(kStepShare));
    if (copied != DatabaseCopyResult::Done) return fail(CauseOf(copied));
    // Read back from the medium before it takes the backup's name: a copy
    // that is not the terminal's whole database there is one the medium did
    // not keep as it was written.
    const CString temporary = target + Utf8ToUtf16(writer.TemporaryPath().substr(hostTarget.size())).c_str();
    if (!IsTerminalDatabase(temporary, job.Step(kStepShare))) return fail(CFileException::hardIO);
    // A journal or log of the copy being replaced (a PC tool's transaction
    // cut short) would be rolled into the new copy by the next program that
    // opens it. It goes first: a cut before the rename leaves the old copy
    // without it, never the new one beside it.
    RemoveJournalFiles(target);
    if (!writer.Commit()) return fail(CFileException::ErrnoToException(writer.Error()));
    loop.Finish();
    return error;
}
