#include "transfer/CPTreeUserExport.h"

#include "data/DataGlobals.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferLoop.h"
#include "transfer/UserExport.h"

namespace {

constexpr TransferPageSpec kSpec{
    CCPTreeUserExport::IDD,
    u"CCPTreeUserExport",
    1211, 1207, 1208, 1213, 1214, 1183,
    {u"UE0003", u"导出目录"},
    {u"UE0006", u"导出"},
    {u"UE0004", u"导出进度"},
    {u"UE0005", u"项目说明导出员工信息"},
    {{u"UE0007", u"机器FLASH"}, {u"UE0008", u"SD卡"}, {u"UE0011", u"U盘"}},
};
const DialogTemplate kTemplate = MakeTransferPageTemplate(kSpec);
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr ExportFolderTexts kFolderTexts{
    {u"UE0009", u"文件夹路径不存在,请检查目录是否正确?"},
    {u"UE0014", u"机器号%s不能作为文件夹名，未导出任何数据！"},
    {u"UE0015", u"导出目录%s不是普通文件夹，未导出任何数据！"},
};
constexpr PageText kAskTemplates{u"UE0010", u"是否导出指纹？"};
constexpr PageText kExported{u"UE0012", u"导出成功"};
constexpr PageText kNotWritten{u"UE0013", u"导出失败，文件未能写入！"};

}  // namespace

CCPTreeUserExport::CCPTreeUserExport() : CTransferPage(kSpec) {}

void CCPTreeUserExport::OnTransfer() {
    CString folder;
    bool folderMade = false;
    if (!ChooseExportFolder(kFolderTexts, folder, folderMade)) return;
    const bool withTemplates = Ask(kAskTemplates);
    CTransferLoop loop(&ProgressBar());
    const bool written = folderMade && ExportUserFiles(folder, withTemplates, loop, *GetDatabase());
    // A user export alone ends quietly, as the bar shows; a failure never does.
    if (!written) {
        loop.Fail();
        Tell(kNotWritten);
    }
    else if (withTemplates)
        Tell(kExported);
    FocusButton();
}
