#include "transfer/DatabaseRestore.h"

#include "core/DatabaseOpen.h"
#include "data/DataGlobals.h"
#include "data/DatabaseCheck.h"
#include "data/DatabaseShape.h"
#include "data/DbSqlite.h"
#include "platform/base/CFile.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "transfer/MaintenanceFiles.h"
#include "transfer/JobProgress.h"
#include "transfer/TransferLoop.h"

namespace {

// The checked copy made fit and written in. Each of its steps handles the
// whole copy: `bytes` of the bar, the page-size fit only where it is needed.
RestoreResult PutInPlace(const CString& copy, ULONGLONG bytes, bool refit, CJobProgress& job) {
    RestoreResult result;
    // The copy beside the live file is the one checked, so a medium that
    // changed meanwhile cannot slip past the check.
    result.foreign = !IsTerminalDatabase(copy, job.Step(bytes));
    if (result.foreign) return result;
    // What a PC tool added (statistics, an index) goes before the copy is
    // used; the live database is not touched yet.
    if (!DropWhatOtherProgramsAdded(copy)) return result;
    // Pages of another size cannot be written into the live database's log.
    const DatabaseShape live = GetDatabase()->Shape();
    result.content = FitPageSize(copy, live.pageSize, refit ? job.Step(bytes) : nullptr);
    if (result.content != DatabaseCopyResult::Done) return result;
    // One transaction: a failure (a full flash, another program's lock)
    // leaves the live database as it was. No file of it is touched on its
    // own.
    result.content = GetDatabase()->ReplaceContentWith(copy, job.Step(bytes));
    return result;
}

}  // namespace

RestoreResult RestoreDatabaseFrom(const CString& source, CTransferLoop& loop) {
    RestoreResult result;
    // Its page size says whether the copy is rewritten.
    DatabaseShape shape;
    result.foreign = !ReadDatabaseShape(source, shape);
    if (result.foreign) return result;
    const bool refit = shape.pageSize != GetDatabase()->Shape().pageSize;
    CFileStatus status;
    const ULONGLONG size = CFile::GetStatus(source, status) ? status.m_size : 0;
    // Copied, checked, perhaps rewritten, written in: each step the whole.
    CJobProgress job(loop, size * (refit ? 4 : 3));
    const CString copy = GetDatabasePath() + u".bak";
    CBlockCopy blocks;
    if (!blocks.Copy(source, DeviceToHostPath(copy.GetString()), size, loop, job.Done(), job.Whole()) ||
        !blocks.Commit()) {
        loop.Fail();
        result.copy = blocks.Error();
        return result;
    }
    result = PutInPlace(copy, size, refit, job);
    // A drop or a rewrite cut short may leave the copy's journal beside it.
    RemoveJournalFiles(copy);
    DeleteFile(copy);
    if (result.content == DatabaseCopyResult::Done)
        loop.Finish();
    else
        loop.Fail();
    return result;
}
