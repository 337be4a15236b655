#include "transfer/CPTreeDataImport.h"

#include "core/Folders.h"
#include "core/LangText.h"
#include "data/DataGlobals.h"
#include "data/DatabaseFailure.h"
#include "data/FPTemplateStore.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferImport.h"
#include "transfer/TransferLoop.h"

namespace {

constexpr char16_t kSection[] = u"CCPTreeDataImport";

constexpr TransferPageSpec kSpec{
    CCPTreeDataImport::IDD,
    kSection,
    1215, 1216, 1217, 1221, 1220, 1219,
    {u"DI0003", u"源文件目录"},
    {u"DI0004", u"导入"},
    {u"DI0005", u"导入进度"},
    {u"DI0006", u"  如果是从机器FLASH当中导入,\t   请把文件拷贝到本项目的DB目录下。\t   如果选择是从SD卡导入则直接从SD上导入"},
    {{u"DI0007", u"机器FLASH"}, {u"DI0008", u"SD卡"}, {u"DI0016", u"U盘"}},
};
const DialogTemplate kTemplate = MakeTransferPageTemplate(kSpec);
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr PageText kFolderMissing{u"DI0011", u"文件夹不存在,请检查目录是否正确!"};
constexpr PageText kNoUserFile{u"DI0012", u"导入员工文件不存在，检查目录下文件是否存在！"};
constexpr PageText kNoFingerprintFile{u"DI0013", u"导入指纹文件不存在，检查目录下文件是否存在！"};
constexpr PageText kAskTemplates{u"DI0015", u"是否导入指纹？"};
constexpr PageText kImported{u"DI0017", u"导入成功"};
constexpr PageText kNotImported{u"DI0018", u"导入完成，%d条记录未能导入！"};
constexpr PageText kShortTail{u"DI0019", u"文件%s末尾的不完整记录已忽略！"};
constexpr PageText kNotRegularFile{u"DI0020", u"%s不是普通文件，未导入任何数据！"};
constexpr PageText kTooManyRecords{u"DI0022", u"%s的记录多于本机能容纳的数量，未导入任何数据！"};
constexpr PageText kCardsLeftOut{u"DI0023", u"%d个用户的卡号已被其他用户使用，这些用户已导入，但不带该卡号！"};
constexpr PageText kNamesUnread{u"DI0026", u"%d个姓名含有本机字符集无法识别的字符：已有用户保留原姓名，新用户的该字符显示为?！"};
// The file's name, then the count of its records stored; a failed write
// first says why the database refused it.
constexpr PageText kReadError{u"DI0024", u"读取%s出错，导入已停止，该文件已导入%d条记录！"};
constexpr PageText kWriteFailed{u"DI0025", u"%s，导入已停止，%s已导入%d条记录！"};

// The text that tells why a file is refused; null when it is not.
const PageText* RefusalText(TransferFileRefusal why) {
    switch (why) {
    case TransferFileRefusal::None: return nullptr;
    case TransferFileRefusal::NotRegularFile: return &kNotRegularFile;
    case TransferFileRefusal::TooManyRecords: return &kTooManyRecords;
    }
    return nullptr;
}

}  // namespace

CCPTreeDataImport::CCPTreeDataImport() : CTransferPage(kSpec) {}

BOOL CCPTreeDataImport::LeavePage() {
    ProgressBar().Invalidate();
    ProgressBar().UpdateWindow();
    return CTransferPage::LeavePage();
}

void CCPTreeDataImport::OnTransfer() {
    const CString folder = GetTransferFolder(StorageChoice());
    if (!DirExists(folder)) {
        Tell(kFolderMissing);
        return;
    }
    const bool withTemplates = Ask(kAskTemplates);
    CTransferLoop loop(&ProgressBar());
    CTransferImport import(loop, *GetDatabase(), *g_pUserStorage, *GetFPTemplateStore());
    // A file that is not to be read stops the import before anything is
    // stored, whatever the other files hold.
    RefusedTransferFile refused;
    if (!import.CheckFiles(folder, withTemplates, refused)) {
        if (const PageText* text = RefusalText(refused.why)) Tell(*text, refused.name);
        FocusButton();
        return;
    }
    const bool found = import.ImportUserFiles(folder);
    if (!found) Tell(kNoUserFile);
    // Nothing more is read after a file that stopped the import.
    if (withTemplates && !import.HasStopped()) {
        if (FileExists(TransferFilePath(folder, kFingerprintFile)))
            import.ImportFingerprintFile(folder);
        else
            Tell(kNoFingerprintFile);
    }
    Report(import, found);
    FocusButton();
}

void CCPTreeDataImport::Report(const CTransferImport& import, bool userFileFound) {
    for (const RefusedTransferFile& refused : import.Refused())
        if (const PageText* text = RefusalText(refused.why)) Tell(*text, refused.name);
    for (const CString& name : import.ShortTails()) Tell(kShortTail, name);
    if (import.Notes().cardsLeftOut > 0) Tell(kCardsLeftOut, import.Notes().cardsLeftOut);
    if (import.Notes().namesUnread > 0) Tell(kNamesUnread, import.Notes().namesUnread);
    if (import.HasStopped()) {
        const StoppedTransferFile& stopped = import.Stopped();
        CString message;
        if (stopped.why == TransferImportStop::ReadError)
            message.Format(Format(kReadError), stopped.name.GetString(), stopped.stored);
        else
            message.Format(Format(kWriteFailed), DatabaseFailureText(stopped.cause).GetString(),
                           stopped.name.GetString(), stopped.stored);
        Tell(message);
    } else if (import.NotImported() > 0)
        Tell(kNotImported, import.NotImported());
    else if (userFileFound)
        Tell(kImported);
}
