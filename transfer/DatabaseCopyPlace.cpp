#include "transfer/DatabaseCopyPlace.h"

#include "core/Folders.h"
#include "core/LangText.h"
#include "core/ShowMessage.h"

bool ChooseDatabaseCopyPath(int place, CString& path) {
    if (place == DatabaseCopyOnFlash) {
        path = u"\\NandFlash\\KD4700.DB";
        return true;
    }
    const CString root = place == DatabaseCopyOnSdCard ? GetSDCardFolder() : GetUSBDiskFolder();
    if (!DirExists(root)) {
        CString text;
        GetLangText(u"CCPTreeRestoreDatabase", u"Restore0009", u"文件夹路径不存在,请检查目录是否正确?", text);
        ShowMessage(text, 0);
        return false;
    }
    path = root + u"\\KD4700.DB";
    return true;
}
