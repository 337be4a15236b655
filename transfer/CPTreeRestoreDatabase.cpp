#include "transfer/CPTreeRestoreDatabase.h"

#include "core/Folders.h"
#include "data/DatabaseCheck.h"
#include "main/RestartCommand.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "transfer/DatabaseCaches.h"
#include "transfer/DatabaseCopyPlace.h"
#include "transfer/DatabaseRestore.h"
#include "transfer/FileErrorCause.h"
#include "transfer/MaintenanceFiles.h"
#include "transfer/TransferLoop.h"

namespace {

constexpr TransferPageSpec kSpec{
    CCPTreeRestoreDatabase::IDD,
    u"CCPTreeRestoreDatabase",
    1164, CCPTreeRestoreDatabase::IDC_STORAGE, CCPTreeRestoreDatabase::IDC_RESTORE, 1165, 1282, 1162,
    {u"Restore0004", u""},
    {u"Restore0001", u""},
    {u"Restore0010", u"恢复进度"},
    {u"Restore0003", u""},
    {{u"Restore0005", u"U 盘"}, {u"Restore0006", u"机器FLASH"}, {u"Restore0011", u"SD"}},
    {235, 7, 83, 23},
};
const DialogTemplate kTemplate = MakeTransferPageTemplate(kSpec);
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr PageText kNoFile{u"Restore0007", u"没有此文件,请仔细检查当前目录是否有该文件!"};
constexpr PageText kNoDatabase{u"Restore0013", u"该文件不是本机的数据库备份!"};
constexpr PageText kNotRestored{u"Restore0014", u"数据库恢复失败，原数据库未改变！"};
constexpr PageText kJournalBeside{u"Restore0015", u"该备份文件旁有日志文件，备份可能不完整，数据库未改变！"};
constexpr PageText kInUse{u"Restore0016", u"数据库正被其他程序使用，恢复未进行，原数据库未改变！"};
constexpr PageText kFull{u"Restore0017", u"存储空间已满，恢复未进行，原数据库未改变！"};
constexpr PageText kIoError{u"Restore0018", u"读写存储器出错，恢复未进行，原数据库未改变！"};
constexpr PageText kOtherEncoding{u"Restore0019", u"该备份的文字编码与本机数据库不同，无法恢复，原数据库未改变！"};
constexpr PageText kRestored{u"Restore0012", u"数据库恢复完成，请重新启动本系统！"};
constexpr DWORD kRestartDelayMs = 500;

// Why a checked copy was not written in, each with the database unchanged.
const PageText& NotRestoredText(DatabaseCopyResult result) {
    switch (result) {
    case DatabaseCopyResult::InUse:
        return kInUse;
    case DatabaseCopyResult::Full:
        return kFull;
    case DatabaseCopyResult::IoError:
        return kIoError;
    case DatabaseCopyResult::OtherEncoding:
        return kOtherEncoding;
    default:
        return kNotRestored;
    }
}

}  // namespace

CCPTreeRestoreDatabase::CCPTreeRestoreDatabase() : CTransferPage(kSpec) {}

void CCPTreeRestoreDatabase::OnTransfer() {
    CString source;
    if (!ChooseDatabaseCopyPath(StorageChoice(), source)) return;
    if (!FileExists(source)) {
        Tell(kNoFile);
        return;
    }
    // Any file of that name is not a database: it is refused before the
    // copy takes its time.
    if (!HasSqliteHeader(source)) {
        Tell(kNoDatabase);
        return;
    }
    // A journal or log beside the file holds part of the database: the
    // file alone may be a transaction cut in two. An empty one holds none.
    if (HasJournalFiles(source)) {
        Tell(kJournalBeside);
        return;
    }
    CTransferLoop loop(&ProgressBar());
    const RestoreResult result = RestoreDatabaseFrom(source, loop);
    if (result.copy.failed) {
        ShowFileErrorCause(result.copy.cause);
        return;
    }
    if (result.foreign) {
        Tell(kNoDatabase);
        return;
    }
    if (result.content != DatabaseCopyResult::Done) {
        Tell(NotRestoredText(result.content));
        FocusButton();
        return;
    }
    ReloadDatabaseCaches();
    Tell(kRestored);
    Sleep(kRestartDelayMs);
    SendRestartCommand();
    FocusButton();
}
