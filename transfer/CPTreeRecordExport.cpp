#include "transfer/CPTreeRecordExport.h"

#include "data/DataGlobals.h"
#include "transfer/RecordExport.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"

namespace {

constexpr TransferPageSpec kSpec{
    CCPTreeRecordExport::IDD,
    u"CCPTreeRecordExport",
    1211, 1207, 1208, 1213, 1214, 1185,
    {u"RE0005", u"导出目录"},
    {u"RE0006", u"导出"},
    {u"RE0007", u"导出进度"},
    {u"RE0008", u"项目说明导出员工考勤资料"},
    {{u"RE0009", u"机器FLASH"}, {u"RE0010", u"SD卡"}, {u"RE0012", u"U盘"}},
};
const DialogTemplate kTemplate = MakeTransferPageTemplate(kSpec);
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr ExportFolderTexts kFolderTexts{
    {u"RE0011", u"文件夹路径不存在,请检查目录是否正确?"},
    {u"RE0019", u"机器号%s不能作为文件夹名，未导出任何数据！"},
    {u"RE0020", u"导出目录%s不是普通文件夹，未导出任何数据！"},
};
constexpr PageText kAskAll{u"RE0018", u"是否下载全部记录?"};
constexpr PageText kExported{u"RE0013", u"导出考勤信息完毕！"};
constexpr PageText kNotWritten{u"RE0014", u"导出考勤信息失败！"};
constexpr PageText kSomeMissing{u"RE0021", u"只导出了%d条记录（共%d条），其余记录在数据库中缺失！"};

}  // namespace

CCPTreeRecordExport::CCPTreeRecordExport() : CTransferPage(kSpec) {}

void CCPTreeRecordExport::OnTransfer() {
    CString folder;
    bool folderMade = false;
    if (!ChooseExportFolder(kFolderTexts, folder, folderMade)) return;
    // The file is begun before the question, with its bar empty: the
    // question never stands over the finished bar of an export before.
    CTransferLoop loop(&ProgressBar());
    loop.Begin(true);
    const bool all = Ask(kAskAll);
    RecordExportCount count;
    const bool written = folderMade && ExportAttendanceRecords(TransferFilePath(folder, kAttendanceFile), all, loop,
                                                               *g_pRecordStore, &count);
    if (!written) {
        loop.Fail();
        Tell(kNotWritten);
    } else if (count.exported < count.counted) {
        CString message;
        message.Format(Format(kSomeMissing), count.exported, count.counted);
        Tell(message);
    } else {
        Tell(kExported);
    }
    FocusButton();
}
