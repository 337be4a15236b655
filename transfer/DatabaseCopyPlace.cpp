#include "transfer/DatabaseCopyPlace.h"

#include "core/Folders.h"
#include "core/LangText.h"
#include "core/ShowMessage.h"

namespace {

constexpr const char16_t* kFlashCopy = u"\\NandFlash\\KD4700.DB";

CString MediumRoot(int place) { return place == DatabaseCopyOnSdCard ? GetSDCardFolder() : GetUSBDiskFolder(); }

}  // namespace

std::vector<CString> DatabaseCopyPaths() {
    std::vector<CString> paths{kFlashCopy};
    for (int place : {DatabaseCopyOnUsbDisk, DatabaseCopyOnSdCard})
        if (DirExists(MediumRoot(place))) paths.push_back(MediumRoot(place) + u"\\KD4700.DB");
    return paths;
}

bool ChooseDatabaseCopyPath(int place, CString& path) {
    if (place == DatabaseCopyOnFlash) {
        path = kFlashCopy;
        return true;
    }
    const CString root = MediumRoot(place);
    if (!DirExists(root)) {
        CString text;
        GetLangText(u"CCPTreeRestoreDatabase", u"Restore0009", u"文件夹路径不存在,请检查目录是否正确?", text);
        ShowMessage(text, 0);
        return false;
    }
    path = root + u"\\KD4700.DB";
    return true;
}
