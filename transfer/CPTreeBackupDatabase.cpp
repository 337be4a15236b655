#include "transfer/CPTreeBackupDatabase.h"

#include "transfer/DatabaseBackup.h"
#include "transfer/DatabaseCopyPlace.h"
#include "transfer/TransferLoop.h"
#include "widgets/WidgetRules.h"

namespace {

constexpr TransferPageSpec kSpec{
    CCPTreeBackupDatabase::IDD,
    u"CCPTreeBackupDatabase",
    1164, CCPTreeBackupDatabase::IDC_STORAGE, CCPTreeBackupDatabase::IDC_BACKUP, 1165, 1282, 1172,
    {u"BK0005", u"源目录"},
    {u"BK0001", u"备份数据库"},
    {u"BK0009", u"备份进度"},
    {u"BK0002", u""},
    {{u"BK0003", u"U 盘"}, {u"BK0004", u"机器FLASH"}, {u"BK0008", u"SD卡"}},
    {235, 7, 83, 23},
};
const DialogTemplate kTemplate = MakeTransferPageTemplate(kSpec);
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr PageText kDone{u"BK0006", u"备份数据库完成!"};

}  // namespace

CCPTreeBackupDatabase::CCPTreeBackupDatabase() : CTransferPage(kSpec) {}

void CCPTreeBackupDatabase::OnTransfer() {
    CString target;
    if (!ChooseDatabaseCopyPath(StorageChoice(), target)) {
        FocusButton();
        return;
    }
    // The database stays open: the copy is read from it.
    CTransferLoop loop(&ProgressBar());
    const FileCopyError error = BackupDatabaseTo(target, loop);
    if (error.failed)
        ShowFileCopyError(error);
    else
        Tell(kDone);
    FocusButton();
}

LRESULT CCPTreeBackupDatabase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != EditEnterMessage() || static_cast<int>(wParam) != IDC_BACKUP)
        return CTransferPage::WindowProc(message, wParam, lParam);
    CTransferPage::WindowProc(message, wParam, lParam);
    NextDlgCtrl();
    return 1;
}
